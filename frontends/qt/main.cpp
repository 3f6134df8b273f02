// The window front end of the client: the phone's screen in a desktop window, or, with
// --screenshots, a script played without a window and the screen written after each command.
#include <QApplication>
#include <QTimer>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <memory>

#include "Platform/RunLoop/DrivableRunLoop.h"
#include "Platform/UI/TextMeasure.h"
#include "Platform/UI/TextMetricsQt.h"
#include "frontends/commands/CliSession.h"
#include "frontends/commands/ProgramSetup.h"
#include "frontends/qt/PhoneWidget.h"
#include "frontends/qt/ScriptPlayer.h"
#include "frontends/qt/WindowOptions.h"

namespace {

int playScreenshots(lk::cli::CliSession& session, const lk::qt::WindowOptions& options,
                    std::istream& script) {
  lk::qt::ScriptPlayer player(session, options.screenshots, options.scale);
  if (!player.play(script)) {
    std::cerr << "lokavo-qt: cannot write the pictures into " << options.screenshots << "\n";
    return 2;
  }
  int status = 0;
  if (session.failedCommands() > 0 && !options.client.keepGoing) status = 1;
  for (const auto& name : player.missingPictures()) {
    std::cerr << "lokavo-qt: missing picture \"" << name << "\"\n";
    if (options.strictPictures) status = 3;
  }
  for (const auto& path : player.blankScreens()) {
    std::cerr << "lokavo-qt: blank screen " << path.string() << "\n";
    if (options.strictPictures) status = 3;
  }
  std::cout << "\nwrote " << player.written().size() << " pictures into " << options.screenshots
            << "\n";
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  using lk::qt::WindowOptions;
  std::string error;
  auto options = WindowOptions::parse(std::vector<std::string>(argv + 1, argv + argc), &error);
  if (!options) {
    std::cerr << "lokavo-qt: " << error << "\n" << WindowOptions::usage();
    return 2;
  }
  if (options->client.help) {
    std::cout << WindowOptions::usage();
    return 0;
  }
  if (auto status = lk::cli::applyProgramOptions(options->client, "lokavo-qt")) return *status;

  std::ifstream scriptFile;
  std::istream* script = nullptr;
  if (options->client.script == "-") {
    script = &std::cin;
  } else if (!options->client.script.empty()) {
    scriptFile.open(options->client.script);
    if (!scriptFile) {
      std::cerr << "lokavo-qt: cannot read the script " << options->client.script << "\n";
      return 2;
    }
    script = &scriptFile;
  }
  // Pictures need no display.
  if (!options->screenshots.empty() && std::getenv("QT_QPA_PLATFORM") == nullptr)
    qputenv("QT_QPA_PLATFORM", "offscreen");

  // Static, in this order: the client's singletons made during the session are torn down
  // before the loop, and the loop's Qt objects before the application object.
  static int qtArgc = 1;
  static std::unique_ptr<QApplication> app = std::make_unique<QApplication>(qtArgc, argv);
  static const auto loop = lk::makeQtRunLoop();
  lk::DrivableRunLoop::setMain(loop.get());
  static lk::ui::TextMetricsQt metrics;
  lk::ui::TextMeasure::setMetrics(&metrics);

  lk::cli::CliSession session(std::cout, options->client);
  int status = 0;
  if (!options->screenshots.empty()) {
    session.start();
    status = playScreenshots(session, *options, *script);
  } else {
    lk::qt::PhoneWidget window(options->scale);
    if (options->quitAfterFirstFrame) {
      window.setFirstFrameHandler([] {
        std::cout << "first frame" << std::endl;
        QTimer::singleShot(0, [] { QApplication::quit(); });
      });
    }
    // The first frame shows the first tab: the client launches before the window appears.
    session.start();
    window.show();
    if (script != nullptr) {
      session.run(*script, /*echo=*/true);
      if (session.failedCommands() > 0 && !options->client.keepGoing) status = 1;
    }
    QApplication::exec();
  }
  session.finish();
  lk::ui::TextMeasure::setMetrics(nullptr);
  std::cout << std::flush;
  return status;
}

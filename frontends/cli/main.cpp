// The command-line front end of the client.
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <iostream>

#include "Classes/ServiceClient/ServiceEndpoints.h"
#include "Platform/Log/Log.h"
#include "Platform/RunLoop/DrivableRunLoop.h"
#include "Platform/Storage/AppDirectories.h"
#include "frontends/cli/InteractivePrompt.h"
#include "frontends/commands/CliOptions.h"
#include "frontends/commands/CliSession.h"

namespace {

constexpr const char* kLogFileName = "lokavo.log";

// Debug lines go where the options say, else beside the settings; with no usable data directory
// and no --log they are dropped, so that the terminal stays quiet.
bool routeLog(const std::string& option, bool dataUsable) {
  if (option == "-") {
    lk::setLogToStderr();
    return true;
  }
  if (!option.empty()) return lk::setLogFile(option);
  if (!dataUsable || !lk::setLogFile(lk::AppDirectories::dataDirectory() / kLogFileName)) {
    lk::setLogSink([](std::string_view) {});
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  using lk::cli::CliOptions;
  std::string error;
  auto options = CliOptions::parse(std::vector<std::string>(argv + 1, argv + argc), &error);
  if (!options) {
    std::cerr << "lokavo: " << error << "\n" << CliOptions::usage();
    return 2;
  }
  if (options->help) {
    std::cout << CliOptions::usage();
    return 0;
  }
  // A bad service URL would only show up as failed requests screen after screen.
  const char* environmentURL = std::getenv("LOKAVO_SERVICE_URL");
  if (!options->serviceURL.empty()) {
    if (auto problem = CliOptions::serviceURLProblem(options->serviceURL)) {
      std::cerr << "lokavo: --service-url \"" << options->serviceURL << "\" " << *problem
                << " (e.g. http://127.0.0.1:8080/client)\n";
      return 2;
    }
    lk::ServiceEndpoints::setServiceURL(options->serviceURL);
  } else if (environmentURL != nullptr && *environmentURL != '\0') {
    if (auto problem = CliOptions::serviceURLProblem(environmentURL)) {
      std::cerr << "lokavo: LOKAVO_SERVICE_URL \"" << environmentURL << "\" " << *problem
                << " (e.g. http://127.0.0.1:8080/client)\n";
      return 2;
    }
  }
  if (!options->dataDir.empty()) lk::AppDirectories::setDataDirectory(options->dataDir);
  if (!options->cacheDir.empty()) lk::AppDirectories::setCacheDirectory(options->cacheDir);

  // Said once here rather than at every change the client tries to store.
  std::string problem;
  const auto dataDir = lk::AppDirectories::dataDirectory();
  const bool dataUsable = lk::AppDirectories::checkWritable(dataDir, &problem);
  if (!routeLog(options->logFile, dataUsable)) {
    std::cerr << "lokavo: cannot open the log file " << options->logFile << "\n";
    return 2;
  }
  if (!dataUsable) {
    std::cerr << "lokavo: settings will not be saved: " << dataDir.string() << ": " << problem
              << (options->logFile.empty() ? " (debug lines are not kept; --log FILE keeps them)"
                                           : "")
              << "\n";
  }

  std::ifstream scriptFile;
  std::istream* script = nullptr;
  if (options->script == "-" || (options->script.empty() && ::isatty(STDIN_FILENO) == 0)) {
    script = &std::cin;
  } else if (!options->script.empty()) {
    scriptFile.open(options->script);
    if (!scriptFile) {
      std::cerr << "lokavo: cannot read the script " << options->script << "\n";
      return 2;
    }
    script = &scriptFile;
  }

  // Static: singletons made during the session are torn down before it.
  static const auto loop = lk::makePollRunLoop();
  lk::DrivableRunLoop::setMain(loop.get());
  lk::cli::CliSession session(std::cout, *options);
  session.start();
  std::cout << session.startupState();
  session.printScreen();
  int status = 0;
  if (script != nullptr) {
    session.run(*script, /*echo=*/true);
    if (session.failedCommands() > 0 && !options->keepGoing) status = 1;
  } else {
    lk::cli::InteractivePrompt::run(session);
  }
  session.finish();
  std::cout << std::flush;
  return status;
}

// The command-line front end of the client.
#include <unistd.h>

#include <fstream>
#include <iostream>

#include "Platform/RunLoop/DrivableRunLoop.h"
#include "frontends/cli/InteractivePrompt.h"
#include "frontends/commands/CliOptions.h"
#include "frontends/commands/CliSession.h"
#include "frontends/commands/ProgramSetup.h"

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
  if (auto status = lk::cli::applyProgramOptions(*options, "lokavo")) return *status;

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

// The command-line front end of the client.
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <iostream>

#include "Classes/ServiceClient/ServiceEndpoints.h"
#include "Platform/Log/Log.h"
#include "Platform/RunLoop/DrivableRunLoop.h"
#include "Platform/Storage/AppDirectories.h"
#include "frontends/cli/CliOptions.h"
#include "frontends/cli/CliSession.h"

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
  if (!options->logFile.empty() && !lk::setLogFile(options->logFile)) {
    std::cerr << "lokavo: cannot open the log file " << options->logFile << "\n";
    return 2;
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

  std::ifstream scriptFile;
  std::istream* script = nullptr;
  if (options->script == "-") {
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
  if (script != nullptr) {
    session.run(*script, /*echo=*/true);
  } else if (::isatty(STDIN_FILENO) != 0) {
    std::cout << "Type \"help\" for the commands, \"quit\" to end.\n";
    session.run(std::cin, /*echo=*/false, "lokavo> ");
  }
  session.finish();
  return 0;
}

#include "frontends/commands/ProgramSetup.h"

#include <cstdlib>
#include <iostream>

#include "Classes/ServiceClient/ServiceEndpoints.h"
#include "Platform/Log/Log.h"
#include "Platform/Storage/AppDirectories.h"

namespace lk::cli {

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

std::optional<int> applyProgramOptions(const CliOptions& options, const char* program) {
  // A bad service URL would only show up as failed requests screen after screen.
  const char* environmentURL = std::getenv("LOKAVO_SERVICE_URL");
  if (!options.serviceURL.empty()) {
    if (auto problem = CliOptions::serviceURLProblem(options.serviceURL)) {
      std::cerr << program << ": --service-url \"" << options.serviceURL << "\" " << *problem
                << " (e.g. http://127.0.0.1:8080/client)\n";
      return 2;
    }
    lk::ServiceEndpoints::setServiceURL(options.serviceURL);
  } else if (environmentURL != nullptr && *environmentURL != '\0') {
    if (auto problem = CliOptions::serviceURLProblem(environmentURL)) {
      std::cerr << program << ": LOKAVO_SERVICE_URL \"" << environmentURL << "\" " << *problem
                << " (e.g. http://127.0.0.1:8080/client)\n";
      return 2;
    }
  }
  if (!options.dataDir.empty()) lk::AppDirectories::setDataDirectory(options.dataDir);
  if (!options.cacheDir.empty()) lk::AppDirectories::setCacheDirectory(options.cacheDir);

  // Said once here rather than at every change the client tries to store.
  std::string problem;
  const auto dataDir = lk::AppDirectories::dataDirectory();
  const bool dataUsable = lk::AppDirectories::checkWritable(dataDir, &problem);
  if (!routeLog(options.logFile, dataUsable)) {
    std::cerr << program << ": cannot open the log file " << options.logFile << "\n";
    return 2;
  }
  if (!dataUsable) {
    std::cerr << program << ": settings will not be saved: " << dataDir.string() << ": " << problem
              << (options.logFile.empty() ? " (debug lines are not kept; --log FILE keeps them)"
                                          : "")
              << "\n";
  }
  return std::nullopt;
}

}  // namespace lk::cli

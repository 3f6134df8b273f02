#pragma once

#include <optional>
#include <string>
#include <vector>

namespace lk::cli {

// The command line of the "lokavo" program.
struct CliOptions {
  std::string serviceURL;   // --service-url URL
  std::string dataDir;      // --data-dir DIR
  std::string cacheDir;     // --cache-dir DIR
  std::string script;       // --script FILE ("-" reads standard input)
  std::string logFile;      // --log FILE ("-" is standard error; default: lokavo.log in DIR)
  std::string deviceModel;  // --device-model MODEL ("iPhone" by default)
  struct Position {
    double latitude = 0;
    double longitude = 0;
  };
  std::optional<Position> position;  // --position LAT,LON (for the location source)
  bool keepGoing = false;            // --keep-going: a script's refused commands do not fail it
  bool help = false;                 // --help

  // Parses the arguments after the program name. On a mistake returns nullopt with one line
  // saying what is wrong in `error`.
  [[nodiscard]] static std::optional<CliOptions> parse(const std::vector<std::string>& args,
                                                       std::string* error);
  [[nodiscard]] static std::optional<Position> parsePosition(const std::string& text);
  // What is wrong with a service base URL (it must be http or https with a host, and take
  // paths appended), or nothing when it is usable.
  [[nodiscard]] static std::optional<std::string> serviceURLProblem(const std::string& url);
  [[nodiscard]] static const char* usage();
};

}  // namespace lk::cli

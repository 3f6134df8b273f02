#pragma once

#include <chrono>
#include <filesystem>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace lk::service {

// Faults injected on chosen paths, for tests of the client's failure handling. A rule is one
// line "PATH-PREFIX KIND[=VALUE] [times=N]" with KIND one of:
//   delay=MS      answer MS milliseconds late
//   drop          send the head, then close the connection without the body
//   status=CODE   answer CODE with a small JSON error body instead of the real answer
//   truncate      send only the first half of the body
//   corrupt       damage the compressed body (the gzip or zlib header stays intact)
//   notjson       answer 200 with a body that is not JSON
// Rules come from the command line and from a rules file that is read again whenever it
// changes, so a running service can be steered. A rule with "times=N" fires N times.
class FaultInjector {
 public:
  enum class Kind { Delay, Drop, Status, Truncate, Corrupt, NotJson };
  struct Rule {
    std::string prefix;
    Kind kind = Kind::Delay;
    int value = 0;
    int remaining = -1;  // -1: always
  };
  struct Faults {
    int delayMs = 0;
    bool drop = false;
    std::optional<int> status;
    bool truncate = false;
    bool corrupt = false;
    bool notJson = false;
    [[nodiscard]] bool any() const {
      return delayMs > 0 || drop || status || truncate || corrupt || notJson;
    }
  };

  // Parses one rule; nullopt (with `error`) for a malformed line.
  static std::optional<Rule> parseRule(const std::string& line, std::string* error = nullptr);

  void addRule(Rule rule);
  void setRulesFile(std::filesystem::path file);
  // The faults for a request path (consumes counted rules).
  Faults match(const std::string& path);

 private:
  void reloadIfChanged();

  std::mutex mutex_;
  std::vector<Rule> fixed_;
  std::vector<Rule> fromFile_;
  std::filesystem::path file_;
  std::optional<std::filesystem::file_time_type> fileTime_;
  std::uintmax_t fileSize_ = 0;
};

}  // namespace lk::service

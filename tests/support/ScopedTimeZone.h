#pragma once

#include <optional>
#include <string>

namespace lk::test {

// Sets the process's time zone (TZ) for the scope of a test and restores the previous one.
class ScopedTimeZone {
 public:
  explicit ScopedTimeZone(const std::string& zone);
  ScopedTimeZone(const ScopedTimeZone&) = delete;
  ScopedTimeZone& operator=(const ScopedTimeZone&) = delete;
  ~ScopedTimeZone();

 private:
  std::optional<std::string> previous_;
};

}  // namespace lk::test

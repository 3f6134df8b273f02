#pragma once

#include <optional>
#include <string>

namespace lk::test {

// Sets (or, with nullopt, unsets) an environment variable for a scope and restores it after.
class ScopedEnv {
 public:
  ScopedEnv(std::string name, const std::optional<std::string>& value);
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;
  ~ScopedEnv();

 private:
  std::string name_;
  std::optional<std::string> previous_;
};

}  // namespace lk::test

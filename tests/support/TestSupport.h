#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "Platform/RunLoop/DrivableRunLoop.h"

namespace lk::test {

// A fresh directory under the system's temporary directory, removed with its content.
class TempDir {
 public:
  TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  ~TempDir();
  [[nodiscard]] const std::filesystem::path& path() const { return path_; }
  [[nodiscard]] std::filesystem::path operator/(std::string_view name) const {
    return path_ / name;
  }

 private:
  std::filesystem::path path_;
};

// Installs a run loop as the main loop for the scope of a test (virtual clock by default), and
// restores the previous one afterwards.
class ScopedMainLoop {
 public:
  explicit ScopedMainLoop(bool virtualClock = true);
  ScopedMainLoop(const ScopedMainLoop&) = delete;
  ScopedMainLoop& operator=(const ScopedMainLoop&) = delete;
  ~ScopedMainLoop();
  DrivableRunLoop& loop() { return *loop_; }
  DrivableRunLoop* operator->() { return loop_.get(); }

 private:
  std::unique_ptr<DrivableRunLoop> loop_;
  DrivableRunLoop* previous_ = nullptr;
};

// Collects the debug lines written while it lives.
class LogCapture {
 public:
  LogCapture();
  LogCapture(const LogCapture&) = delete;
  LogCapture& operator=(const LogCapture&) = delete;
  ~LogCapture();
  [[nodiscard]] std::vector<std::string> lines() const;
  [[nodiscard]] bool contains(std::string_view text) const;

 private:
  struct State;
  std::shared_ptr<State> state_;
};

std::string readFile(const std::filesystem::path& path);
void writeFile(const std::filesystem::path& path, std::string_view content);

}  // namespace lk::test

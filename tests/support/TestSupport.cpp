#include "tests/support/TestSupport.h"

#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <mutex>
#include <sstream>
#include <stdexcept>

#include "Platform/Log/Log.h"

namespace lk::test {

TempDir::TempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "lokavo-test-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  path_ = pattern;
}

TempDir::~TempDir() {
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
}

ScopedMainLoop::ScopedMainLoop(bool virtualClock)
    : loop_(makePollRunLoop(virtualClock)), previous_(DrivableRunLoop::setMain(loop_.get())) {}

ScopedMainLoop::~ScopedMainLoop() {
  DrivableRunLoop::setMain(previous_);
}

struct LogCapture::State {
  mutable std::mutex mutex;
  std::vector<std::string> lines;
};

LogCapture::LogCapture() : state_(std::make_shared<State>()) {
  setLogSink([state = state_](std::string_view line) {
    std::lock_guard lock(state->mutex);
    state->lines.emplace_back(line);
  });
}

LogCapture::~LogCapture() {
  setLogSink(nullptr);
}

std::vector<std::string> LogCapture::lines() const {
  std::lock_guard lock(state_->mutex);
  return state_->lines;
}

bool LogCapture::contains(std::string_view text) const {
  for (const auto& line : lines()) {
    if (line.find(text) != std::string::npos) return true;
  }
  return false;
}

std::string readFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

void writeFile(const std::filesystem::path& path, std::string_view content) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(content.data(), static_cast<std::streamsize>(content.size()));
}

}  // namespace lk::test

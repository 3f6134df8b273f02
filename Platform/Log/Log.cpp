#include "Platform/Log/Log.h"

#include <cstdio>
#include <mutex>

namespace lk {
namespace {

struct LogState {
  std::mutex mutex;
  std::FILE* file = nullptr;  // owned when not stderr
  std::function<void(std::string_view)> sink;
};

LogState& state() {
  static LogState s;
  return s;
}

void closeFileLocked(LogState& s) {
  if (s.file != nullptr) std::fclose(s.file);
  s.file = nullptr;
}

}  // namespace

void logLine(std::string_view line) {
  auto& s = state();
  std::lock_guard lock(s.mutex);
  if (s.sink) {
    s.sink(line);
    return;
  }
  std::FILE* out = s.file != nullptr ? s.file : stderr;
  std::fwrite(line.data(), 1, line.size(), out);
  std::fputc('\n', out);
  std::fflush(out);
}

void logf(const char* format, ...) {
  va_list args;
  va_start(args, format);
  const std::string line = vstrprintf(format, args);
  va_end(args);
  logLine(line);
}

bool setLogFile(const std::string& path) {
  std::FILE* f = std::fopen(path.c_str(), "a");
  if (f == nullptr) return false;
  auto& s = state();
  std::lock_guard lock(s.mutex);
  closeFileLocked(s);
  s.file = f;
  s.sink = nullptr;
  return true;
}

void setLogToStderr() {
  auto& s = state();
  std::lock_guard lock(s.mutex);
  closeFileLocked(s);
  s.sink = nullptr;
}

void setLogSink(std::function<void(std::string_view)> sink) {
  auto& s = state();
  std::lock_guard lock(s.mutex);
  s.sink = std::move(sink);
}

std::string vstrprintf(const char* format, va_list args) {
  va_list copy;
  va_copy(copy, args);
  const int n = std::vsnprintf(nullptr, 0, format, copy);
  va_end(copy);
  if (n <= 0) return {};
  std::string out(static_cast<std::size_t>(n) + 1, '\0');
  std::vsnprintf(out.data(), out.size(), format, args);
  out.resize(static_cast<std::size_t>(n));
  return out;
}

std::string strprintf(const char* format, ...) {
  va_list args;
  va_start(args, format);
  std::string out = vstrprintf(format, args);
  va_end(args);
  return out;
}

}  // namespace lk

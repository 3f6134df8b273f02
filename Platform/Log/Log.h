#pragma once

#include <cstdarg>
#include <functional>
#include <string>
#include <string_view>

namespace lk {

// Debug lines: to stderr by default, or to a file, or to a sink a test installs. No levels.
void logLine(std::string_view line);
// printf-style formatting into a log line.
void logf(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Sends the lines to `path` (appended). Returns false when the file cannot be opened; the log
// then stays where it was.
[[nodiscard]] bool setLogFile(const std::string& path);
void setLogToStderr();
// Replaces the destination with a function; an empty function restores stderr.
void setLogSink(std::function<void(std::string_view)> sink);

// printf-style formatting into a std::string.
std::string strprintf(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string vstrprintf(const char* format, va_list args) __attribute__((format(printf, 1, 0)));

}  // namespace lk

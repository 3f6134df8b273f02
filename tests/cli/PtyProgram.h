#pragma once

#include <sys/types.h>

#include <chrono>
#include <string>
#include <vector>

namespace lk::test {

// A program run on a pseudo-terminal, as a person at a terminal runs it: the test types keys
// and reads what the terminal shows.
class PtyProgram {
 public:
  // Starts `program` with `arguments` on a new pseudo-terminal (80 columns, UTF-8 locale).
  PtyProgram(const std::string& program, const std::vector<std::string>& arguments);
  PtyProgram(const PtyProgram&) = delete;
  PtyProgram& operator=(const PtyProgram&) = delete;
  ~PtyProgram();

  [[nodiscard]] bool started() const { return pid_ > 0; }
  // Sends bytes as typed keys.
  void type(const std::string& keys);
  // Reads until the output since the last mark holds `text`, or the time is up. Returns whether
  // it came.
  bool waitFor(const std::string& text,
               std::chrono::milliseconds timeout = std::chrono::milliseconds(20000));
  // Everything the terminal showed since the last mark.
  [[nodiscard]] std::string sinceMark() const { return output_.substr(mark_); }
  // Later waits look only at output after this point.
  void mark() { mark_ = output_.size(); }
  [[nodiscard]] const std::string& output() const { return output_; }
  // Waits for the program to end; its exit status, or -1 when it did not end in time or was
  // killed by a signal.
  int wait(std::chrono::milliseconds timeout = std::chrono::milliseconds(20000));

 private:
  void readAvailable(int timeoutMs);

  pid_t pid_ = -1;
  int master_ = -1;
  std::string output_;
  std::size_t mark_ = 0;
};

// Keys as a terminal sends them.
namespace keys {
inline constexpr const char* kEnter = "\r";
inline constexpr const char* kBackspace = "\x7f";
inline constexpr const char* kCtrlC = "\x03";
inline constexpr const char* kCtrlD = "\x04";
inline constexpr const char* kUp = "\x1b[A";
inline constexpr const char* kLeft = "\x1b[D";
}  // namespace keys

}  // namespace lk::test

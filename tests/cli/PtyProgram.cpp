#include "tests/cli/PtyProgram.h"

#include <poll.h>
#include <pty.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <thread>

namespace lk::test {

PtyProgram::PtyProgram(const std::string& program, const std::vector<std::string>& arguments) {
  winsize size{};
  size.ws_row = 40;
  size.ws_col = 80;
  const pid_t pid = ::forkpty(&master_, nullptr, nullptr, &size);
  if (pid < 0) return;
  if (pid == 0) {
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const auto& a : arguments)
      argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    ::setenv("LC_ALL", "C.UTF-8", 1);
    ::setenv("TERM", "xterm", 1);
    ::execv(program.c_str(), argv.data());
    ::_exit(127);
  }
  pid_ = pid;
}

PtyProgram::~PtyProgram() {
  if (pid_ > 0) (void)wait(std::chrono::milliseconds(0));
  // Still running: only this child is killed, by its own id.
  if (pid_ > 0) {
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, nullptr, 0);
    pid_ = -1;
  }
  if (master_ >= 0) ::close(master_);
}

void PtyProgram::type(const std::string& keys) {
  std::size_t done = 0;
  while (done < keys.size()) {
    const ssize_t n = ::write(master_, keys.data() + done, keys.size() - done);
    if (n <= 0) return;
    done += static_cast<std::size_t>(n);
  }
}

void PtyProgram::readAvailable(int timeoutMs) {
  pollfd ready{master_, POLLIN, 0};
  if (::poll(&ready, 1, timeoutMs) <= 0) return;
  char buf[4096];
  const ssize_t n = ::read(master_, buf, sizeof buf);
  if (n > 0) output_.append(buf, static_cast<std::size_t>(n));
}

bool PtyProgram::waitFor(const std::string& text, std::chrono::milliseconds timeout) {
  const auto end = std::chrono::steady_clock::now() + timeout;
  while (output_.find(text, mark_) == std::string::npos) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        end - std::chrono::steady_clock::now());
    if (left.count() <= 0) return false;
    readAvailable(static_cast<int>(std::min<long long>(left.count(), 100)));
  }
  return true;
}

int PtyProgram::wait(std::chrono::milliseconds timeout) {
  if (pid_ <= 0) return -1;
  const auto end = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    int status = 0;
    const pid_t r = ::waitpid(pid_, &status, WNOHANG);
    if (r == pid_) {
      pid_ = -1;
      return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    if (std::chrono::steady_clock::now() >= end) return -1;
    readAvailable(20);  // keep the terminal drained so the program never blocks on output
  }
}

}  // namespace lk::test

#include "tests/support/ServiceLauncher.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include "Platform/Net/UrlTransfer.h"

extern char** environ;

namespace lk::test {

ServiceLauncher::ServiceLauncher() : ServiceLauncher(Options{}) {}

ServiceLauncher::ServiceLauncher(Options options) {
  start(std::move(options));
}

ServiceLauncher::~ServiceLauncher() {
  stop();
}

std::filesystem::path ServiceLauncher::defaultBinary() {
  if (const char* bin = std::getenv("LOKAVO_SERVICE_BIN"); bin != nullptr && *bin != '\0') {
    return bin;
  }
  return std::filesystem::path(LOKAVO_BINARY_DIR) / "service" / "lokavo-service";
}

std::filesystem::path ServiceLauncher::sharedTemplate() {
  namespace fs = std::filesystem;
  std::error_code ec;
  const fs::path binary = defaultBinary();
  const auto size = fs::file_size(binary, ec);
  if (ec) return {};
  const auto stamp = fs::last_write_time(binary, ec).time_since_epoch().count();
  if (ec) return {};
  const fs::path target = fs::path(LOKAVO_BINARY_DIR) /
                          ("service-template-" + std::to_string(size) + "-" +
                           std::to_string(static_cast<unsigned long long>(stamp)) + ".sqlite");
  if (fs::exists(target, ec)) return target;
  // Made under a name of this process, then renamed: a reader never sees a half-made file.
  const fs::path partial = target.string() + ".partial-" + std::to_string(getpid());
  {
    Options options;
    options.database = partial;
    ServiceLauncher maker(options);
    if (!maker.running() || maker.stop() != 0) return {};
  }
  for (const char* suffix : {"-wal", "-shm"})
    fs::remove(partial.string() + suffix, ec);
  fs::rename(partial, target, ec);
  if (ec) {
    fs::remove(partial, ec);
    return fs::exists(target) ? target : fs::path();
  }
  return target;
}

std::string ServiceLauncher::origin() const {
  return "http://127.0.0.1:" + std::to_string(port_);
}

std::string ServiceLauncher::errorOutput() const {
  return readFile(dir_ / "service.err");
}

void ServiceLauncher::start(Options options) {
  database_ = options.database.empty() ? dir_ / "service.sqlite" : options.database;
  if (!options.templateDatabase.empty() && !std::filesystem::exists(database_)) {
    std::error_code ec;
    std::filesystem::copy_file(options.templateDatabase, database_, ec);
  }
  const std::filesystem::path binary = options.binary.empty() ? defaultBinary() : options.binary;
  std::vector<std::string> args = {binary.string(), "--port", "0", "--db", database_.string()};
  args.insert(args.end(), options.arguments.begin(), options.arguments.end());
  std::vector<char*> argv;
  for (auto& arg : args)
    argv.push_back(arg.data());
  argv.push_back(nullptr);

  int pipeFds[2];
  if (pipe2(pipeFds, O_CLOEXEC) != 0) return;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, pipeFds[1], 1);
  const std::string errPath = (dir_ / "service.err").string();
  posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                   0644);
  const int rc = posix_spawn(&pid_, binary.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  close(pipeFds[1]);
  if (rc != 0) {
    pid_ = -1;
    close(pipeFds[0]);
    return;
  }
  // The first line of the output is the port.
  std::string line;
  const auto deadline =
      std::chrono::steady_clock::now() +
      std::chrono::milliseconds(static_cast<int>(options.startTimeoutSeconds * 1000));
  while (line.find('\n') == std::string::npos && std::chrono::steady_clock::now() < deadline) {
    pollfd pfd{pipeFds[0], POLLIN, 0};
    if (poll(&pfd, 1, 100) <= 0) continue;
    char buffer[64];
    const ssize_t n = read(pipeFds[0], buffer, sizeof buffer);
    if (n <= 0) break;
    line.append(buffer, static_cast<std::size_t>(n));
  }
  close(pipeFds[0]);
  const auto end = line.find('\n');
  if (end != std::string::npos) {
    const int port = std::atoi(line.substr(0, end).c_str());
    if (port > 0 && port < 65536) port_ = port;
  }
  if (port_ < 0) stop();
}

int ServiceLauncher::stop() {
  if (pid_ <= 0) return -1;
  // Connections the client keeps for reuse would make the program wait out their keep-alive.
  UrlTransfer::closeIdleConnections();
  kill(pid_, SIGTERM);
  int status = 0;
  for (int i = 0; i < 200; ++i) {
    if (waitpid(pid_, &status, WNOHANG) == pid_) {
      pid_ = -1;
      port_ = -1;
      return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  kill(pid_, SIGKILL);
  waitpid(pid_, &status, 0);
  pid_ = -1;
  port_ = -1;
  return 128 + SIGKILL;
}

}  // namespace lk::test

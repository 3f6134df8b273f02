// Start-up of the real program: process start of `lokavo` until the first tab is shown and the
// run loop is idle (the front end prints the tab set only then), against the stand-in service on
// loopback. The reference is the same program until its usage text appears: process creation,
// loading and static set-up, the floor under any start-up. Medians of alternating runs.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "bench/BenchFixtures.h"
#include "tests/support/ServiceLauncher.h"
#include "tests/support/TestSupport.h"

extern char** environ;

namespace lk {
namespace {

using Clock = std::chrono::steady_clock;

// Runs the program with `args`, its input a pipe that stays open until `marker` has appeared on
// its output (the front end prints its first screen before it waits for a command); then sends
// "quit". Returns the seconds until `marker` appeared, or a negative number on failure.
double timeUntil(const std::vector<std::string>& args, const std::string& marker) {
  int fds[2];
  int input[2];
  if (::pipe(fds) != 0) return -1;
  if (::pipe(input) != 0) {
    ::close(fds[0]);
    ::close(fds[1]);
    return -1;
  }
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
  posix_spawn_file_actions_adddup2(&actions, input[0], STDIN_FILENO);
  posix_spawn_file_actions_addclose(&actions, fds[0]);
  posix_spawn_file_actions_addclose(&actions, input[1]);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  std::vector<char*> argv;
  for (const auto& a : args)
    argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  const auto start = Clock::now();
  pid_t pid = -1;
  const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  ::close(fds[1]);
  ::close(input[0]);
  if (spawned != 0) {
    ::close(fds[0]);
    ::close(input[1]);
    return -1;
  }
  std::string seen;
  double at = -1;
  char buffer[4096];
  for (;;) {
    const ssize_t n = ::read(fds[0], buffer, sizeof buffer);
    if (n <= 0) break;
    seen.append(buffer, static_cast<std::size_t>(n));
    if (at < 0 && seen.find(marker) != std::string::npos) {
      at = std::chrono::duration<double>(Clock::now() - start).count();
      static constexpr char kQuit[] = "quit\n";
      (void)!::write(input[1], kQuit, sizeof kQuit - 1);
      ::close(input[1]);
      input[1] = -1;
    }
  }
  if (input[1] >= 0) ::close(input[1]);
  ::close(fds[0]);
  int status = 0;
  ::waitpid(pid, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? at : -1;
}

double median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0 : v[v.size() / 2];
}

void BM_StartupToFirstTab(benchmark::State& state) {
  // The usage run may be gone before it is told to quit.
  ::signal(SIGPIPE, SIG_IGN);
  const auto service = bench::seededService();
  if (!service->running()) {
    state.SkipWithError("the service did not start");
    return;
  }
  test::TempDir dir;
  const std::vector<std::string> client = {LOKAVO_CLI_PATH,
                                           "--service-url",
                                           service->baseURL(),
                                           "--data-dir",
                                           (dir / "data").string(),
                                           "--cache-dir",
                                           (dir / "cache").string(),
                                           "--script",
                                           "-"};
  const std::vector<std::string> usage = {LOKAVO_CLI_PATH, "--help"};
  // The first start writes the stored state; the measured ones find it, as on every later day.
  if (timeUntil(client, "selected: ") < 0) {
    state.SkipWithError("the program did not show its first tab");
    return;
  }
  const int runs = static_cast<int>(state.range(0));
  std::vector<double> starts;
  std::vector<double> floors;
  for (auto _ : state) {
    for (int i = 0; i < runs; ++i) {
      const double s = timeUntil(client, "selected: ");
      const double f = timeUntil(usage, "usage: ");
      if (s < 0 || f < 0) {
        state.SkipWithError("a run failed");
        return;
      }
      starts.push_back(s);
      floors.push_back(f);
    }
  }
  const double s = median(starts);
  const double f = median(floors);
  state.counters["startup_ms"] = s * 1e3;
  state.counters["process_floor_ms"] = f * 1e3;
  state.counters["ratio"] = s / f;
  state.counters["runs"] = static_cast<double>(starts.size());
  state.counters["cores"] = static_cast<double>(std::thread::hardware_concurrency());
}
BENCHMARK(BM_StartupToFirstTab)->Arg(15)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace lk

#pragma once

#include <benchmark/benchmark.h>

#include <ctime>

namespace lk::bench {

// This thread's CPU time: a busy neighbour on a shared machine counts against no side.
inline double threadSeconds() {
  timespec ts{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
  return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

// Runs ours and two references in turn within every iteration, on the same input, and reports
// the time of each (`ours_us`, `limit_us`, `peer_us`) and ours over each reference
// (`ratio_limit`, `ratio_peer`; below 1 means ours is faster).
template <typename Ours, typename Limit, typename Peer>
void sideBySide(benchmark::State& state, Ours ours, Limit limit, Peer peer) {
  double oursTime = 0;
  double limitTime = 0;
  double peerTime = 0;
  for (auto _ : state) {
    const double t0 = threadSeconds();
    ours();
    const double t1 = threadSeconds();
    limit();
    const double t2 = threadSeconds();
    peer();
    const double t3 = threadSeconds();
    oursTime += t1 - t0;
    limitTime += t2 - t1;
    peerTime += t3 - t2;
  }
  const double n = static_cast<double>(state.iterations());
  state.counters["ours_us"] = oursTime / n * 1e6;
  state.counters["limit_us"] = limitTime / n * 1e6;
  state.counters["peer_us"] = peerTime / n * 1e6;
  state.counters["ratio_limit"] = oursTime / limitTime;
  state.counters["ratio_peer"] = oursTime / peerTime;
}

}  // namespace lk::bench

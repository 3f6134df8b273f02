// A soak: the same front-end session of searching, paging, sorting, filtering and navigating,
// repeated against the stand-in service for a bounded time ($LOKAVO_SOAK_SECONDS, 30 by
// default). Every round must show its shops; the heap must stay flat once warmed up. Under the
// sanitizer build, leaks and memory errors end the run as well.
#include <gtest/gtest.h>
#include <malloc.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/robustness/ClientSession.h"

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define LOKAVO_ASAN 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define LOKAVO_ASAN 1
#endif
#ifdef LOKAVO_ASAN
#include <sanitizer/allocator_interface.h>
#endif

namespace lk::test {
namespace {

double heapInUse() {
#ifdef LOKAVO_ASAN
  return static_cast<double>(__sanitizer_get_current_allocated_bytes());
#else
  return static_cast<double>(mallinfo2().uordblks);
#endif
}

double soakSeconds() {
  const char* text = std::getenv("LOKAVO_SOAK_SECONDS");
  const double seconds = text != nullptr ? std::atof(text) : 30;
  return seconds > 0 ? seconds : 30;
}

double median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

TEST(Soak, RepeatedSearchPagingAndNavigationKeepsMemoryFlat) {
  ClientSession client;
  ASSERT_TRUE(client.serviceRunning()) << client.serviceErrors();
  const std::vector<std::string> keywords = {"火锅", "店", "咖啡", "路"};
  const auto end = std::chrono::steady_clock::now() +
                   std::chrono::milliseconds(static_cast<long>(soakSeconds() * 1000));
  std::vector<double> samples;
  for (int round = 0; std::chrono::steady_clock::now() < end || round < 8; ++round) {
    const std::string& keyword = keywords[static_cast<std::size_t>(round) % keywords.size()];
    client.run("search " + keyword);
    ASSERT_GT(client.shownShops(), 0) << "round " << round << ": " << keyword;
    client.run("pull-up");
    client.run("pull-up");
    client.run("tap 总分");
    client.run("tap 全部区域");
    client.run("pick 0 1");
    const std::string filtered = client.run("done");
    ASSERT_EQ(filtered.find("alert:"), std::string::npos) << filtered;
    ASSERT_GE(client.shownShops(), 0) << "round " << round;
    // Back from the results is the search entry screen the search went through.
    ASSERT_NE(client.run("back").find("navbar:   left: [搜索]  right: [取消]\n"),
              std::string::npos);
    client.run("tab 1");
    client.run("tab 0");
    // The stored answers go, as when the user leaves the application for a while; every sample
    // is taken at the same point of a round.
    client.run("background");
    client.run("foreground");
    samples.push_back(heapInUse());
  }
  // The first rounds fill the lazily made parts (directory trees, the picker, the fonts, ...).
  constexpr std::size_t kWarmUp = 4;
  ASSERT_GE(samples.size(), kWarmUp + 4);
  const std::size_t window = std::max<std::size_t>(2, (samples.size() - kWarmUp) / 3);
  const double early =
      median({samples.begin() + kWarmUp, samples.begin() + static_cast<long>(kWarmUp + window)});
  const double late = median({samples.end() - static_cast<long>(window), samples.end()});
  RecordProperty("rounds", static_cast<int>(samples.size()));
  RecordProperty("heap_growth_bytes", static_cast<int>(late - early));
  EXPECT_LT(late - early, 256.0 * 1024)
      << "after " << samples.size() << " rounds the heap grew from " << early << " to " << late
      << " bytes";
  EXPECT_EQ(client.storedStateDifference(), "");
}

}  // namespace
}  // namespace lk::test

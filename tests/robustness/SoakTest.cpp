// A soak: the same front-end session over every tab, repeated against the stand-in service for
// a bounded time ($LOKAVO_SOAK_SECONDS, 30 by default, at least 8 rounds): searching, paging,
// sorting, filtering; a shop with its reviews, review pager, broadcasts and album; the coupon
// lists; the broadcast list with its photos; the user centre's own broadcasts; feedback; a stay
// in the background and the automatic login after it. After the search, each round injects one
// fault (dropped, cut, damaged, not JSON, error status) on one path in turn. Every search must show
// its shops; the heap must stay flat once warmed up; the stored settings and pictures stay
// intact. Under the sanitizer build, leaks and memory errors end the run as well.
#include <gtest/gtest.h>
#include <malloc.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <iterator>
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

// Each round after the search puts one fault on one path, in turn: every path meets every kind
// of fault over the rounds.
constexpr const char* kFaultPaths[] = {
    "/client/shop/1000001/info",
    "/client/shop/1000001/cmt",
    "/client/shop/1000001/minicmt",
    "/client/shop/1000001/album",
    "/client/coupon/",
    "/client/index/131/minicmt",
    "/client/user/0/minicmt",
    "/client/user/0/utrail",
    "/passport/",
    "/client/submit/",
    "/pic/",
    "/abpic/",
    "/client/search/0/q",
};
constexpr const char* kFaultKinds[] = {"drop",    "truncate",   "corrupt",
                                       "notjson", "status=500", "status=404"};

std::string roundFault(int round) {
  constexpr int kPaths = std::size(kFaultPaths);
  constexpr int kKinds = std::size(kFaultKinds);
  return std::string(kFaultPaths[round % kPaths]) + " " +
         kFaultKinds[(round + round / kPaths) % kKinds];
}

TEST(Soak, EveryTabRepeatedUnderFaultsKeepsMemoryFlat) {
  ClientSession client;
  ASSERT_TRUE(client.serviceRunning()) << client.serviceErrors();
  ASSERT_TRUE(client.login("lokavo", "lokavo123"));
  client.keepStoredState();
  client.run("tab 搜索");
  // A command, then the message box it may have brought up goes.
  const auto step = [&client](const std::string& line) {
    std::string shown = client.run(line);
    client.dismissAlert();
    return shown;
  };
  const std::vector<std::string> keywords = {"火锅", "店", "咖啡", "路"};
  const auto end = std::chrono::steady_clock::now() +
                   std::chrono::milliseconds(static_cast<long>(soakSeconds() * 1000));
  std::vector<double> samples;
  for (int round = 0; std::chrono::steady_clock::now() < end || round < 8; ++round) {
    // The search on a well-behaved service.
    const std::string& keyword = keywords[static_cast<std::size_t>(round) % keywords.size()];
    step("tab 搜索");
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

    // Every other tab, with this round's fault.
    client.setFaults(roundFault(round));
    step("shop 1000001");
    step("tap 点评");
    step("tap 深夜吃货181");
    step("back");
    step("pull-up");
    step("back");
    step("tap 现场播报");
    step("back");
    step("tap 图片");
    step("tap 返回");
    step("back");
    step("tab 优惠");
    step("tap 最新");
    step("tap 最热");
    step("tap 附近优惠");
    step("back");
    step("tab 现场播报");
    step("pull-up");
    step("pull-down");
    step("tap 照片");
    step("tap 返回");
    step("tab 个人中心");
    step("tap 我的现场播报");
    step("back");
    // Feedback from the more screen (it closes itself once sent).
    step("tap 更多");
    step("tap 意见反馈");
    step("tap 您的意见");
    step("type 很好用");
    step("scroll down");
    step("tap 您的邮箱");
    step("type me@example.com");
    step("tap 提交");
    step("back");
    step("back");
    step("tab 1");
    step("tab 0");
    // The stored answers go, as when the user leaves the application for a while, and the
    // account logs in again.
    step("background");
    step("foreground");
    client.setFaults("");
    step("dump");
    // Every sample is taken at the same point of a round.
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

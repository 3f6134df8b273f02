#include "Platform/Notifications/NotificationCenter.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "tests/support/TestSupport.h"

namespace lk {
namespace {

TEST(NotificationCenter, DeliversInRegistrationOrderToMatchingNamesOnly) {
  test::ScopedMainLoop main;
  NotificationCenter center;
  std::vector<std::string> heard;
  auto a = center.addObserver("kCityChanged", [&](const Notification&) { heard.push_back("a"); });
  auto b = center.addObserver("kOther", [&](const Notification&) { heard.push_back("b"); });
  auto c = center.addObserver("kCityChanged", [&](const Notification&) { heard.push_back("c"); });
  center.post("kCityChanged");
  EXPECT_EQ(heard, (std::vector<std::string>{"a", "c"}));
}

TEST(NotificationCenter, TokenUnregistersOnDestructionAndReset) {
  test::ScopedMainLoop main;
  NotificationCenter center;
  int count = 0;
  {
    auto token = center.addObserver("k", [&](const Notification&) { ++count; });
    center.post("k");
    EXPECT_EQ(center.observerCount("k"), 1u);
  }
  center.post("k");
  EXPECT_EQ(count, 1);
  auto token = center.addObserver("k", [&](const Notification&) { ++count; });
  token.reset();
  center.post("k");
  EXPECT_EQ(count, 1);
  EXPECT_EQ(center.observerCount("k"), 0u);
}

TEST(NotificationCenter, ObserverRemovedDuringDeliveryIsNotCalled) {
  test::ScopedMainLoop main;
  NotificationCenter center;
  std::optional<ObserverToken> second;
  bool secondCalled = false;
  auto first = center.addObserver("k", [&](const Notification&) { second.reset(); });
  second = center.addObserver("k", [&](const Notification&) { secondCalled = true; });
  center.post("k");
  EXPECT_FALSE(secondCalled);
}

TEST(NotificationCenter, CarriesObjectAndUserInfo) {
  test::ScopedMainLoop main;
  NotificationCenter center;
  int sort = -1;
  auto token = center.addObserver("kSearchSortTermChanged", [&](const Notification& n) {
    if (const int* s = n.info<int>("sort")) sort = *s;
    EXPECT_EQ(n.info<std::string>("sort"), nullptr);  // wrong type reads as absent
  });
  center.post(Notification{"kSearchSortTermChanged", {}, {{"sort", 3}}});
  EXPECT_EQ(sort, 3);
}

TEST(NotificationCenter, TokenOutlivingItsCenterIsHarmless) {
  test::ScopedMainLoop main;
  ObserverToken token;
  {
    NotificationCenter center;
    token = center.addObserver("k", [](const Notification&) {});
  }
  token.reset();
  EXPECT_FALSE(token.isRegistered());
}

}  // namespace
}  // namespace lk

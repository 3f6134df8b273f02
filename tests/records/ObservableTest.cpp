#include "Classes/Records/Observable.h"

#include <gtest/gtest.h>

#include <optional>

namespace lk {
namespace {

TEST(Observable, TellsEachSubscriberOnceForEachChange) {
  Observable<int> count;
  std::vector<int> a;
  std::vector<int> b;
  auto first = count.subscribe([&](const int& v) { a.push_back(v); });
  auto second = count.subscribe([&](const int& v) { b.push_back(v); });
  count.set(3);
  count.set(3);
  count.set(4);
  EXPECT_EQ(a, (std::vector<int>{3, 4}));
  EXPECT_EQ(b, (std::vector<int>{3, 4}));
  second.reset();
  count.set(5);
  EXPECT_EQ(b.size(), 2u);
  EXPECT_EQ(a.back(), 5);
  EXPECT_EQ(count.get(), 5);
}

TEST(Observable, SubscriptionMayOutliveTheProperty) {
  Subscription kept;
  {
    Observable<int> value;
    kept = value.subscribe([](const int&) {});
    EXPECT_EQ(value.subscriberCount(), 1u);
  }
  EXPECT_TRUE(kept.isActive());
  kept.reset();
  EXPECT_FALSE(kept.isActive());
}

TEST(Observable, HandlerMayUnsubscribeOthersOrDestroyTheOwner) {
  auto owner = std::make_optional<Observable<int>>();
  Subscription later;
  int laterCalls = 0;
  auto first = owner->subscribe([&](const int&) { later.reset(); });
  later = owner->subscribe([&](const int&) { ++laterCalls; });
  owner->set(1);
  EXPECT_EQ(laterCalls, 0) << "unsubscribed before its turn";

  int seen = 0;
  auto destroyer = owner->subscribe([&](const int& v) {
    seen = v;
    owner.reset();
  });
  owner->set(2);
  EXPECT_EQ(seen, 2);
  EXPECT_FALSE(owner.has_value());
}

}  // namespace
}  // namespace lk

// The pull-down header's "Last Updated" date: a 12-hour clock in local time.
#include <gtest/gtest.h>

#include <chrono>

#include "Classes/Toolkit/LKRefreshTableHeaderView.h"
#include "tests/support/ScopedTimeZone.h"

namespace lk::test {
namespace {

std::chrono::system_clock::time_point at(long long secondsSinceEpoch) {
  return std::chrono::system_clock::time_point(std::chrono::seconds(secondsSinceEpoch));
}

TEST(RefreshDate, TwelveHourClockWithTwelveAtNoonAndMidnight) {
  ScopedTimeZone zone("Asia/Shanghai");
  // 2011-03-13 00:05:09 in Shanghai (UTC+8).
  const long long midnight = 1299945909;
  EXPECT_EQ(LKRefreshTableHeaderView::formatDate(at(midnight)), "03/13/2011 12:05:AM");
  EXPECT_EQ(LKRefreshTableHeaderView::formatDate(at(midnight + 3600)), "03/13/2011 01:05:AM");
  EXPECT_EQ(LKRefreshTableHeaderView::formatDate(at(midnight + 12 * 3600)), "03/13/2011 12:05:PM");
  EXPECT_EQ(LKRefreshTableHeaderView::formatDate(at(midnight + 23 * 3600)), "03/13/2011 11:05:PM");
}

}  // namespace
}  // namespace lk::test

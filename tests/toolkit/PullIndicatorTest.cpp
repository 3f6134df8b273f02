#include <gtest/gtest.h>

#include <memory>

#include "Classes/Toolkit/LKPullIndicator.h"
#include "Classes/Toolkit/LKPullState.h"
#include "Classes/Toolkit/LKRefreshTableHeaderView.h"
#include "tests/support/TestSupport.h"

namespace lk {
namespace {

TEST(LKPullIndicator, DragChangesStateOnlyAcrossTheTriggerAndNeverWhileLoading) {
  constexpr double kTrigger = 65;
  EXPECT_EQ(LKPullIndicator::draggedState(kLKPullNormal, 66, kTrigger, false), kLKPullPulling);
  EXPECT_EQ(LKPullIndicator::draggedState(kLKPullNormal, 65, kTrigger, false), kLKPullNormal)
      << "exactly at the trigger is not past it";
  EXPECT_EQ(LKPullIndicator::draggedState(kLKPullPulling, 64, kTrigger, false), kLKPullNormal);
  EXPECT_EQ(LKPullIndicator::draggedState(kLKPullPulling, 65, kTrigger, false), kLKPullPulling);
  EXPECT_EQ(LKPullIndicator::draggedState(kLKPullPulling, 0, kTrigger, false), kLKPullPulling)
      << "back at the edge the arrow stays turned";
  EXPECT_EQ(LKPullIndicator::draggedState(kLKPullNormal, 90, kTrigger, true), kLKPullNormal);
  EXPECT_EQ(LKPullIndicator::draggedState(kLKPullPulling, 10, kTrigger, true), kLKPullPulling);
  EXPECT_EQ(LKPullIndicator::draggedState(kLKPullLoading, 90, kTrigger, false), kLKPullLoading);
}

TEST(LKPullIndicator, AValueThatIsNoStateChangesNothing) {
  test::ScopedMainLoop loop;
  ui::View host(ui::Rect{0, 0, 320, 65});
  LKPullIndicator indicator(host, ui::Rect{0, 20, 320, 20}, ui::Image::named("grayArrow"),
                            ui::Rect{25, 10, 30, 55}, ui::Rect{25, 18, 20, 20});
  ASSERT_EQ(host.subviews().size(), 3u);
  ASSERT_TRUE(indicator.show(kLKPullLoading, kLKPullNormal, "down", "release", "loading"));
  EXPECT_EQ(indicator.statusLabel()->text(), "loading");
  EXPECT_TRUE(indicator.arrowImage()->isHidden());
  EXPECT_FALSE(indicator.show(7, kLKPullLoading, "down", "release", "loading"));
  EXPECT_EQ(indicator.statusLabel()->text(), "loading");
  EXPECT_TRUE(indicator.arrowImage()->isHidden());
}

TEST(LKPullIndicator, HeaderKeepsItsLastUpdatedLineBehindTheStatusLine) {
  test::ScopedMainLoop loop;
  auto header = std::make_shared<LKRefreshTableHeaderView>(ui::Rect{0, -65, 320, 65});
  const auto& views = header->subviews();
  ASSERT_EQ(views.size(), 4u);
  EXPECT_EQ(views[0], header->lastUpdatedLabel());
  EXPECT_EQ(views[1], header->statusLabel());
  EXPECT_EQ(views[2], header->arrowImage());
  EXPECT_EQ(views[3], header->activityView());
  EXPECT_EQ(header->statusLabel()->frame().origin.y, 65 - 48);
}

}  // namespace
}  // namespace lk

#include <gtest/gtest.h>

#include <memory>
#include <numbers>
#include <string>

#include "Platform/Storage/UserDefaults.h"
#include "Platform/UI/Application.h"
#include "Platform/UI/NavigationController.h"
#include "Platform/UI/ScreenInput.h"
#include "Platform/UI/Window.h"
#include "tests/support/TestSupport.h"
#include "tests/toolkit/SampleListScreen.h"

namespace lk {
namespace {

using test::SampleListScreen;

// 15 rows of 60 points in a grouped section (10 points above and below): 920 points of
// content in a 367-point table.
constexpr double kPageEnd = 15 * 60 + 20 - 367;

class ListPaging : public ::testing::Test {
 protected:
  void SetUp() override {
    ui::Application::resetSharedInstanceForTesting();
    store = makeJsonFileUserDefaults(dir / "defaults.json");
    UserDefaults::setStandardUserDefaults(store.get());
  }
  void TearDown() override {
    window.reset();
    nav.reset();
    screen.reset();
    UserDefaults::setStandardUserDefaults(nullptr);
    ui::Application::resetSharedInstanceForTesting();
  }
  void open(int total, bool refreshable = false, double latency = 0.2) {
    screen = std::make_shared<SampleListScreen>(total, refreshable);
    screen->latency = latency;
    nav = std::make_shared<ui::NavigationController>(screen);
    window = std::make_unique<ui::Window>();
    window->setRootViewController(nav);
    window->makeKeyAndVisible();
  }
  ui::TableView& table() { return *screen->tableView(); }
  std::string dump() { return input.dump(); }
  bool shows(const std::string& text) { return dump().find(text) != std::string::npos; }
  // Scrolls to the end of what is loaded, then pulls up `beyond` points and lets go.
  void pullUp(double beyond) {
    double toEnd = table().maxOffsetY() - table().contentOffset().y;
    if (toEnd > 0) input.dragList(-toEnd);
    input.dragList(-beyond);
  }
  void settle() { loop->runFor(seconds(1)); }

  test::ScopedMainLoop loop;
  test::TempDir dir;
  std::unique_ptr<UserDefaults> store;
  std::shared_ptr<SampleListScreen> screen;
  std::shared_ptr<ui::NavigationController> nav;
  std::unique_ptr<ui::Window> window;
  ui::ScreenInput input;
};

TEST_F(ListPaging, FirstPageShowsTheLoadingOverlayThenRows) {
  open(40);
  EXPECT_EQ(screen->requestedPages, std::vector<int>{0});
  EXPECT_TRUE(shows("label: 正在载入数据..."));
  settle();
  EXPECT_FALSE(shows("正在载入数据"));
  std::string d = dump();
  EXPECT_EQ(d.substr(0, d.find("row 0.1")), "row 0.0\n  drawn: 店0\n");
  EXPECT_TRUE(shows("navbar: 商户"));
  EXPECT_TRUE(shows("drawn: 店5"));
  EXPECT_FALSE(shows("drawn: 店6")) << "only what the 367 points show";
  ASSERT_NE(screen->refreshFooterView(), nullptr) << "a full page keeps paging on";
}

TEST_F(ListPaging, PagesThroughByPullingUpUntilAShortPageEndsIt) {
  open(40);
  settle();
  pullUp(70);
  EXPECT_EQ(screen->requestedPages, (std::vector<int>{0, 1}));
  EXPECT_TRUE(shows("label: 正在载入…"));
  EXPECT_TRUE(shows("spinner"));
  settle();
  EXPECT_EQ(screen->shops.size(), 30u);
  EXPECT_EQ(screen->refreshFooterView()->frame().y(), 30 * 60 + 20) << "moved below the new rows";
  EXPECT_EQ(table().contentInset(), ui::EdgeInsets{});
  EXPECT_EQ(screen->refreshFooterView()->state(), kLKPullNormal);
  pullUp(70);
  settle();
  EXPECT_EQ(screen->shops.size(), 40u);
  EXPECT_EQ(screen->refreshFooterView(), nullptr) << "a short page removes the footer";
  EXPECT_FALSE(screen->isPullLoadMore);
  pullUp(100);
  settle();
  EXPECT_EQ(screen->requestedPages, (std::vector<int>{0, 1, 2}));
  EXPECT_TRUE(shows("drawn: 店39"));
  EXPECT_FALSE(shows("上拉载入更多"));
}

TEST_F(ListPaging, SixtyFourPointsDoNothingSixtyFiveLoadExactlyOnce) {
  open(40);
  settle();
  pullUp(64);
  settle();
  EXPECT_EQ(screen->requestedPages, std::vector<int>{0});
  EXPECT_EQ(screen->refreshFooterView()->state(), kLKPullNormal);
  pullUp(65);
  EXPECT_EQ(screen->requestedPages, (std::vector<int>{0, 1}));
  EXPECT_EQ(screen->refreshFooterView()->state(), kLKPullLoading);
  EXPECT_TRUE(screen->isLoading);
}

TEST_F(ListPaging, PullingAgainWhileAPageLoadsTriggersNothing) {
  open(40, false, 2.0);
  loop->runFor(seconds(2.1));
  pullUp(80);
  ASSERT_EQ(screen->requestedPages, (std::vector<int>{0, 1}));
  loop->runFor(seconds(0.5));
  pullUp(120);
  EXPECT_EQ(screen->requestedPages, (std::vector<int>{0, 1}));
  EXPECT_EQ(screen->refreshFooterView()->state(), kLKPullLoading);
  EXPECT_TRUE(shows("label: 正在载入…"));
}

TEST_F(ListPaging, LoadingInsetFollowsThePullButNeverExceedsSixty) {
  open(40, false, 5.0);
  loop->runFor(seconds(5.1));
  pullUp(80);
  loop->runFor(seconds(0.5));
  EXPECT_EQ(table().contentInset().bottom, 60);
  EXPECT_DOUBLE_EQ(table().pullUpDistance(), 60) << "the footer stays in view while loading";
  auto& sv = table();
  sv.touchDown();
  sv.moveFinger(-40);
  EXPECT_EQ(sv.contentInset().bottom, 60);
  sv.moveFinger(70);
  EXPECT_DOUBLE_EQ(sv.pullUpDistance(), 30);
  EXPECT_EQ(sv.contentInset().bottom, 30);
  sv.moveFinger(60);
  EXPECT_EQ(sv.contentInset().bottom, 0);
  sv.lift();
}

TEST_F(ListPaging, PushingBackBeforeLettingGoReturnsToNormal) {
  open(40);
  settle();
  input.dragList(-kPageEnd);
  auto& sv = table();
  auto footer = screen->refreshFooterView();
  sv.touchDown();
  sv.moveFinger(-70);
  EXPECT_EQ(footer->state(), kLKPullPulling);
  EXPECT_TRUE(shows("label: 松开载入更多15家商户"));
  loop->runFor(seconds(0.2));
  EXPECT_DOUBLE_EQ(footer->arrowImage()->rotation(), std::numbers::pi) << "arrow turned";
  sv.moveFinger(20);
  EXPECT_EQ(footer->state(), kLKPullNormal);
  EXPECT_EQ(footer->arrowImage()->rotation(), 0);
  EXPECT_EQ(footer->statusLabel()->text(), "上拉载入更多15家商户");
  sv.lift();
  settle();
  EXPECT_EQ(screen->requestedPages, std::vector<int>{0});
}

TEST_F(ListPaging, AFlickBackPastTheEndLeavesPullingAndTheReleaseDoesNothing) {
  open(40);
  settle();
  input.dragList(-kPageEnd);
  auto& sv = table();
  auto footer = screen->refreshFooterView();
  sv.touchDown();
  sv.moveFinger(-70);
  sv.moveFinger(100, 100);  // one quick jump to d = -30
  EXPECT_EQ(footer->state(), kLKPullPulling);
  sv.lift();
  settle();
  EXPECT_EQ(screen->requestedPages, std::vector<int>{0});
  EXPECT_EQ(footer->state(), kLKPullPulling);
}

TEST_F(ListPaging, CustomFooterTextsReplaceTheDefaults) {
  open(40);
  screen->loadingUpText = "上拉载入更多优惠信息";
  screen->loadingReleaseText = "松开载入更多优惠信息";
  settle();
  auto footer = screen->refreshFooterView();
  EXPECT_EQ(footer->upText, "上拉载入更多优惠信息");
  EXPECT_EQ(footer->releaseText, "松开载入更多优惠信息");
  EXPECT_EQ(footer->loadingText, "正在载入…");
  input.dragList(-kPageEnd);
  EXPECT_FALSE(shows("上拉载入更多优惠信息")) << "the footer sits just below the last row";
  table().touchDown();
  table().moveFinger(-30);
  EXPECT_TRUE(shows("label: 上拉载入更多优惠信息"));
  table().lift();
}

TEST_F(ListPaging, EmptyFirstPageShowsTheNoDataPromptAndNoFooter) {
  open(0);
  settle();
  EXPECT_EQ(screen->refreshFooterView(), nullptr);
  EXPECT_TRUE(shows("image: nodata_bg\n  label: 没有找到商户\nnavbar: 商户\n"));
  EXPECT_FALSE(shows("正在载入数据"));
  EXPECT_FALSE(shows("row "));
}

TEST_F(ListPaging, AFullLastPageKeepsTheFooterUntilTheEmptyPageAfterIt) {
  open(30);
  settle();
  pullUp(70);
  settle();
  ASSERT_NE(screen->refreshFooterView(), nullptr);
  pullUp(70);
  settle();
  EXPECT_EQ(screen->refreshFooterView(), nullptr);
  EXPECT_EQ(screen->requestedPages, (std::vector<int>{0, 1, 2}));
  EXPECT_FALSE(shows("没有找到商户")) << "the list is not empty";
}

TEST_F(ListPaging, FooterRemovedBeforeFinishLoadingStillGivesBackTheInset) {
  open(20);
  settle();
  pullUp(70);  // the next page holds 5: noMoreData and finishLoadingData race
  EXPECT_EQ(table().contentInset().bottom, 0);
  loop->runFor(seconds(0.19));
  EXPECT_GT(table().contentInset().bottom, 0);
  settle();
  EXPECT_EQ(screen->refreshFooterView(), nullptr);
  EXPECT_EQ(table().contentInset(), ui::EdgeInsets{});
  EXPECT_FALSE(screen->isLoading);
  EXPECT_LE(table().contentOffset().y, table().maxOffsetY());
}

TEST_F(ListPaging, ARestartRightAfterTheLastPageKeepsItsFooter) {
  open(15, false, 0.005);
  settle();
  ASSERT_NE(screen->refreshFooterView(), nullptr);
  pullUp(70);  // page 1 is empty: noMoreData, the footer's removal is pending
  loop->runFor(seconds(0.006));
  ASSERT_FALSE(screen->isPullLoadMore);
  screen->total = 100;
  screen->restart();  // a new filter: page 0 comes back full within the 0.01 s
  settle();
  ASSERT_NE(screen->refreshFooterView(), nullptr) << "the pending removal must not win";
  EXPECT_TRUE(screen->isPullLoadMore);
  pullUp(70);
  settle();
  EXPECT_EQ(screen->shops.size(), 30u);
}

TEST_F(ListPaging, AFailedPageLeavesTheFooterAndTheNextPullAsksAgain) {
  open(40);
  settle();
  screen->failNext = true;
  pullUp(70);
  settle();
  ASSERT_NE(screen->refreshFooterView(), nullptr);
  EXPECT_EQ(screen->refreshFooterView()->state(), kLKPullNormal);
  EXPECT_FALSE(screen->isLoading);
  pullUp(70);
  settle();
  EXPECT_EQ(screen->requestedPages, (std::vector<int>{0, 1, 1}));
  EXPECT_EQ(screen->shops.size(), 30u);
}

TEST_F(ListPaging, PullDownRefreshReloadsFromTheFirstPage) {
  open(40, true);
  screen->lastUpdated = std::chrono::system_clock::now();
  settle();
  pullUp(70);
  settle();
  ASSERT_EQ(screen->shops.size(), 30u);
  input.dragList(table().contentOffset().y);  // back to the top
  EXPECT_EQ(table().contentOffset().y, 0);
  input.dragList(64);
  settle();
  EXPECT_EQ(screen->requestedPages.size(), 2u) << "64 points are not enough";
  auto& sv = table();
  sv.touchDown();
  sv.moveFinger(70);
  EXPECT_TRUE(shows("label: 松开刷新"));
  sv.lift();
  EXPECT_EQ(screen->requestedPages, (std::vector<int>{0, 1, 0}));
  EXPECT_TRUE(shows("label: 正在载入…"));
  EXPECT_FALSE(shows("正在载入数据")) << "the header, not the overlay, shows the refresh";
  input.dragList(80);  // pulling again while refreshing does nothing
  EXPECT_EQ(screen->requestedPages.size(), 3u);
  loop->runFor(seconds(0.1));
  EXPECT_EQ(sv.contentInset().top, 60);
  settle();
  EXPECT_EQ(screen->shops.size(), 15u);
  EXPECT_EQ(sv.contentInset(), ui::EdgeInsets{});
  EXPECT_EQ(screen->refreshHeader->state(), kLKPullNormal);
  auto stored = store->stringForKey(LKRefreshTableHeaderView::kLastRefreshKey);
  ASSERT_TRUE(stored);
  EXPECT_EQ(stored->rfind("Last Updated: ", 0), 0u);
  EXPECT_EQ(screen->refreshHeader->lastUpdatedLabel()->text(), *stored);
}

TEST_F(ListPaging, HeaderLineIsEmptyWithoutADate) {
  open(40, true);
  settle();
  EXPECT_EQ(screen->refreshHeader->lastUpdatedLabel()->text(), "");
  EXPECT_FALSE(store->stringForKey(LKRefreshTableHeaderView::kLastRefreshKey));
  input.dragList(30);
  EXPECT_TRUE(shows("label: 下拉刷新"));
}

TEST_F(ListPaging, RowsAreTappedThroughTheTable) {
  open(20);
  settle();
  EXPECT_TRUE(input.tapRow("店3"));
  EXPECT_EQ(table().indexPathForSelectedRow(), (ui::IndexPath{0, 3}));
  auto cell = std::static_pointer_cast<CustomCell>(table().cellForRowAtIndexPath({0, 3}));
  EXPECT_TRUE(cell->cellView()->isHighlighted()) << "highlight reaches the drawn view";
}

TEST_F(ListPaging, AClickOnARowSelectsIt) {
  open(20);
  settle();
  // Window point: 20 status bar + 44 navigation bar + 10 grouped top + row 2 at 120..180.
  EXPECT_TRUE(input.tapAt({160, 20 + 44 + 10 + 150}));
  EXPECT_EQ(table().indexPathForSelectedRow(), (ui::IndexPath{0, 2}));
}

TEST_F(ListPaging, TheNoDataPromptTakesTheTouchesOfTheListUnderIt) {
  open(20);
  settle();
  screen->addSubview(std::make_shared<LKNodataView>(ui::Rect{0, 0, 320, 367}, "没有找到商户"));
  EXPECT_FALSE(input.tapRow("店3"));
  EXPECT_FALSE(input.tapAt({160, 20 + 44 + 10 + 200}));
  EXPECT_FALSE(table().indexPathForSelectedRow());
}

}  // namespace
}  // namespace lk

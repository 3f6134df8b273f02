// What the nearby screen sends: the nearby query with its parameters in order, the distance
// picker, the sort tabs, the keyword and the shops around a given point.
#include <gtest/gtest.h>

#include "Classes/Search/SearchResultsHeader.h"
#include "Classes/Toolkit/VSPickerView.h"
#include "tests/search/NearbyScreenFixture.h"

namespace lk::test {
namespace {

using Answer = ScriptedSearchService::Answer;

class NearbyRequests : public NearbyScreenTest {
 protected:
  NearbyRequests() {
    LocationScript::deliverPosition(kWangfujing);
    service.onSearch([](const ScriptedSearchService::Request&) {
      return Answer{200, ScriptedSearchService::searchAnswer(20, 0, 15, {13101}, {20001})};
    });
  }
  void press(const std::string& item) {
    ASSERT_NE(nearby().picker(), nullptr);
    ASSERT_TRUE(nearby().picker()->toolbar()->tapItem(item));
    settle();
  }
  void tapAndSettle(const std::string& text) {
    ASSERT_TRUE(input.tap(text)) << dump();
    settle();
  }
  // The header's sort tab (the tab bar has a "优惠" of its own).
  void sortBy(int tab) {
    ASSERT_TRUE(nearby().header()->chooseSortItem(tab));
    settle();
  }
};

TEST_F(NearbyRequests, ThePositionIsLookedUpOnceAndSearchedAroundWithItsDistrict) {
  openNearby();
  EXPECT_EQ(lookups(), std::vector<std::string>{kLookup});
  EXPECT_EQ(searches(), std::vector<std::string>{around() + "&rn=" + kDongcheng + "&tn=gz"});
  EXPECT_TRUE(service.targetsWith("/citymore").empty()) << "no area filter here";
  EXPECT_EQ(service.targetsWith("/index/131/catmore?tn=gz").size(), 1u);
}

TEST_F(NearbyRequests, TheDistancePickerSendsTheRadiusWithSixDecimals) {
  openNearby();
  tapAndSettle("1000米");
  ASSERT_TRUE(nearby().picker() && nearby().picker()->isShown());
  EXPECT_EQ(nearby().picker()->numberOfComponents(), 1);
  EXPECT_EQ(nearby().picker()->selectedRowInComponent(0), 1) << "opens on the current row";
  EXPECT_EQ(nearby().picker()->numberOfRowsInComponent(0), 3);
  ASSERT_TRUE(input.turnPicker(0, 0));
  EXPECT_EQ(searches().size(), 1u) << "a turn of the wheel alone sends nothing";
  press("完成");
  EXPECT_EQ(lastSearch(), around("0.500000") + "&rn=" + kDongcheng + "&tn=gz");
  EXPECT_EQ(nearby().header()->leftTitle(), "500米");
  EXPECT_FLOAT_EQ(nearby().distance, 0.5F);

  tapAndSettle("500米");
  EXPECT_EQ(nearby().picker()->selectedRowInComponent(0), 0);
  ASSERT_TRUE(input.turnPicker(0, 2));
  press("取消");
  EXPECT_EQ(searches().size(), 2u);
  EXPECT_EQ(nearby().header()->leftTitle(), "500米");
  tapAndSettle("500米");
  EXPECT_EQ(nearby().picker()->selectedRowInComponent(0), 0) << "cancel turned the wheel back";
  ASSERT_TRUE(input.turnPicker(0, 2));
  press("完成");
  EXPECT_EQ(lastSearch(), around("3.000000") + "&rn=" + kDongcheng + "&tn=gz");
}

TEST_F(NearbyRequests, TheDistanceTabSortsNearestFirstAndTheCouponTabKeepsTheSort) {
  openNearby();
  EXPECT_EQ(nearby().header()->sortTitles(),
            (std::vector<std::string>{"默认", "总分", "点评数", "距离", "优惠"}));
  tapAndSettle("距离");
  EXPECT_EQ(lastSearch(), around("1.000000", 4) + "&sortm=0&rn=" + kDongcheng + "&tn=gz");
  sortBy(4);
  EXPECT_EQ(lastSearch(), around("1.000000", 4) + "&sortm=0&rn=" + kDongcheng + "&ex=1&tn=gz");
  tapAndSettle("点评数");
  EXPECT_EQ(lastSearch(), around("1.000000", 3) + "&rn=" + kDongcheng + "&tn=gz");
}

TEST_F(NearbyRequests, NextPagesKeepEveryParameter) {
  openNearby();
  tapAndSettle("距离");
  ui::TableView& table = *nearby().tableView();
  table.drag(-(table.maxOffsetY() - table.contentOffset().y));
  table.drag(-70);
  settle();
  EXPECT_EQ(lastSearch(), around("1.000000", 4, 1) + "&sortm=0&rn=" + kDongcheng + "&tn=gz");
  EXPECT_EQ(nearby().resultList().size(), 30u);
}

TEST_F(NearbyRequests, AKeywordIsSearchedNearThePositionEscaped) {
  openNearby();
  nearby().what = "R&B 火锅";
  nearby().cleanAll();
  nearby().searchRequest();
  settle();
  EXPECT_EQ(lastSearch(), around() + "&k=R%26B+%E7%81%AB%E9%94%85&rn=" + kDongcheng + "&tn=gz");
  tapAndSettle("距离");
  EXPECT_EQ(lastSearch(), around("1.000000", 4) +
                              "&k=R%26B+%E7%81%AB%E9%94%85&sortm=0&rn=" + kDongcheng + "&tn=gz");
}

TEST_F(NearbyRequests, TheShopsAroundAShopUseItsPointAndTheCurrentCity) {
  // The device is in 上海; the shop is in 北京, the current city.
  service.onPosition([](const ScriptedSearchService::Request&) {
    return Answer{200, ScriptedSearchService::positionAnswer("121.473701", "31.230416", 289,
                                                             "黄浦区", "上海市黄浦区")};
  });
  auto around = NearbyViewController::shopsAround(116.5, 39.9);
  auto* stack = delegate.scNavCtl().get();
  stack->pushViewController(around, false);
  settle();
  EXPECT_EQ(searches(), std::vector<std::string>{
                            "/client/search/0/q?ci=131&x=116.500000&y=39.900000&sd=3.000000"
                            "&sort=4&p=0&n=15&xda_from=iPhone&xda_page=NearbyInfo&sortm=0&tn=gz"});
  EXPECT_TRUE(lookups().empty()) << "it does not locate the device";
  EXPECT_EQ(around->header(), nullptr);
  EXPECT_EQ(around->locationLabel(), nullptr);
  EXPECT_TRUE(tabs().isTabBarHidden());
  EXPECT_EQ(around->tableView()->frame().height(), 416);
  EXPECT_TRUE(shows("navbar: 附近  left: [搜索]  right: [navigationbar_refresh]\n")) << dump();
  EXPECT_FALSE(shows("tabbar:"));
  EXPECT_FALSE(shows("button_navigation_search"));
}

}  // namespace
}  // namespace lk::test

// How the nearby screen follows positioning: the address bar, the list for each new position,
// the alerts when positioning fails, and the faults of the position handling that are mended.
#include <gtest/gtest.h>

#include "Classes/Location/LKLocation.h"
#include "Classes/Location/LocationNotifications.h"
#include "Classes/Records/ShopInfo.h"
#include "Classes/Search/LocationDisplayLabel.h"
#include "Classes/Search/SearchResultsHeader.h"
#include "Platform/Notifications/NotificationCenter.h"
#include "Platform/UI/AlertView.h"
#include "tests/search/NearbyScreenFixture.h"

namespace lk::test {
namespace {

using Answer = ScriptedSearchService::Answer;

class NearbyPosition : public NearbyScreenTest {
 protected:
  NearbyPosition() {
    service.onSearch([](const ScriptedSearchService::Request&) {
      return Answer{200, ScriptedSearchService::searchAnswer(3, 0, 3)};
    });
  }
  std::string address() { return nearby().locationLabel()->text(); }
  // Another tab asks for the position, as the search tab's home screen does.
  void locateElsewhere() {
    LocationService::sharedInstance().startLocation();
    settle();
  }
};

TEST_F(NearbyPosition, TheTabShowsTheAddressAndTheShopsWithTheirDistances) {
  LocationScript::deliverPosition(kWangfujing);
  ASSERT_TRUE(tabs().selectTabAsUser(kNearbyTitle));
  EXPECT_EQ(address(), "当前位置: ...");
  EXPECT_TRUE(loadingShown());
  EXPECT_EQ(nearby().sectionTitle(), "附近") << "before the first answer";
  settle();
  EXPECT_EQ(address(), "当前位置:北京市东城区王府井附近");
  EXPECT_FALSE(loadingShown());
  EXPECT_TRUE(shows("section: 附近3家商户")) << dump();
  EXPECT_TRUE(shows("店0 | 120米")) << dump();
  EXPECT_TRUE(shows("left: [button_navigation_search]  right: [navigationbar_refresh]")) << dump();
  EXPECT_EQ(nearby().header()->leftTitle(), "1000米");
  EXPECT_EQ(nearby().header()->rightTitle(), "全部分类");

  nearby().what = "火锅";
  nearby().cleanAll();
  nearby().searchRequest();
  settle();
  EXPECT_EQ(nearby().sectionTitle(), "附近-火锅[3家商户]");
}

TEST_F(NearbyPosition, RefusalOffersHelpInsteadOfASpinner) {
  openNearby();
  EXPECT_FALSE(loadingShown());
  EXPECT_TRUE(searches().empty());
  EXPECT_TRUE(shows("alert: 定位失败\n  message: 请确认是否开启定位服务\n  buttons: [确定] [帮助]"))
      << dump();
  ASSERT_TRUE(input.chooseAlertButton("帮助"));
  settle();
  EXPECT_TRUE(shows("navbar: 帮助  left: [返回]")) << dump();
  EXPECT_TRUE(shows("image: help_positioning")) << "the picture on allowing positioning";
  ASSERT_TRUE(input.tap("返回"));
  settle();
  EXPECT_FALSE(shows("帮助"));
  EXPECT_FALSE(shows("help_positioning"));
  EXPECT_TRUE(shows("navbar: 附近")) << dump();

  // "确定" only closes it.
  tabs().selectTabAsUser("搜索");
  openNearby();
  ASSERT_TRUE(input.chooseAlertButton("确定"));
  settle();
  EXPECT_FALSE(shows("alert:"));
  EXPECT_FALSE(shows("帮助"));
}

TEST_F(NearbyPosition, OtherFailuresShowTheShortAlert) {
  LocationScript::deliverFailure(LocationError::kNetwork);
  openNearby();
  EXPECT_FALSE(loadingShown());
  EXPECT_TRUE(shows("alert: \n  message: 定位失败\n  buttons: [好的]")) << dump();
}

TEST_F(NearbyPosition, SilentPositioningEndsInTheAlertAfterFifteenSeconds) {
  LocationScript::staySilent();
  openNearby();
  EXPECT_TRUE(loadingShown());
  loop->runFor(seconds(15));
  EXPECT_FALSE(loadingShown());
  EXPECT_TRUE(shows("message: 定位失败")) << dump();
}

TEST_F(NearbyPosition, ATabOpenedAfterAnotherScreensAttemptTimedOutDoesNotSpinForever) {
  LocationScript::staySilent();
  locateElsewhere();
  loop->runFor(seconds(15));  // announced while nobody listened
  ASSERT_TRUE(tabs().selectTabAsUser(kNearbyTitle));
  EXPECT_TRUE(loadingShown());
  loop->runUntilIdle();
  EXPECT_FALSE(loadingShown());
  EXPECT_TRUE(shows("message: 定位失败")) << dump();
  // The attempt goes on: a fix that comes now still fills the list.
  ASSERT_TRUE(input.chooseAlertButton("好的"));
  LocationScript::deliverPosition(kWangfujing);
  settle();
  EXPECT_EQ(nearby().resultList().size(), 3u);
}

TEST_F(NearbyPosition, ANewPositionReplacesTheListInsteadOfAddingToIt) {
  LocationScript::deliverPosition(kWangfujing);
  int first = 0;
  service.onSearch([&first](const ScriptedSearchService::Request&) {
    const int from = first;
    first += 100;
    return Answer{200, ScriptedSearchService::searchAnswer(40, from, 15)};
  });
  openNearby();
  ASSERT_EQ(nearby().resultList().size(), 15u);
  service.onPosition([](const ScriptedSearchService::Request&) {
    return Answer{200, ScriptedSearchService::positionAnswer("116.46", "39.92", 131, "朝阳区",
                                                             "北京市朝阳区三里屯附近")};
  });
  LocationScript::deliverPosition({39.92, 116.46});
  tabs().selectTabAsUser("搜索");
  openNearby();  // each choice of the tab locates again
  ASSERT_EQ(lookups().size(), 2u);
  ASSERT_EQ(searches().size(), 2u);
  EXPECT_NE(searches()[1].find("&x=116.46&y=39.92&sd=1.000000&sort=1&p=0&"), std::string::npos)
      << searches()[1];
  EXPECT_NE(searches()[1].find("&rn=%E6%9C%9D%E9%98%B3%E5%8C%BA"), std::string::npos);
  ASSERT_EQ(nearby().resultList().size(), 15u);
  EXPECT_EQ(nearby().resultList().front()->shopId(), "100");
  EXPECT_EQ(address(), "当前位置:北京市朝阳区三里屯附近");
}

TEST_F(NearbyPosition, APositionWhileAnotherTabShowsChangesNothing) {
  LocationScript::deliverPosition(kWangfujing);
  openNearby();
  tabs().selectTabAsUser("搜索");
  service.onPosition([](const ScriptedSearchService::Request&) {
    return Answer{200, ScriptedSearchService::positionAnswer("116.46", "39.92", 131, "朝阳区",
                                                             "北京市朝阳区三里屯附近")};
  });
  LocationScript::deliverPosition({39.92, 116.46});
  locateElsewhere();
  ASSERT_EQ(lookups().size(), 2u);
  EXPECT_EQ(searches().size(), 1u);
  EXPECT_EQ(*nearby().x, "116.403999");
  EXPECT_EQ(address(), "当前位置:北京市东城区王府井附近");
  LocationScript::deliverFailure(LocationError::kDenied);
  locateElsewhere();
  EXPECT_FALSE(shows("alert:")) << dump();
}

TEST_F(NearbyPosition, TheShopsAroundAShopIgnoreTheDevicesPosition) {
  LocationScript::deliverPosition(kWangfujing);
  auto around = NearbyViewController::shopsAround(116.5, 39.9);
  delegate.scNavCtl()->pushViewController(around, false);
  settle();
  ASSERT_EQ(searches().size(), 1u);
  locateElsewhere();
  ASSERT_EQ(lookups().size(), 1u);
  EXPECT_EQ(searches().size(), 1u) << "no search around the user";
  EXPECT_EQ(*around->x, "116.500000");
  EXPECT_EQ(*around->y, "39.900000");
  EXPECT_EQ(around->resultList().size(), 3u);
  LocationScript::deliverFailure(LocationError::kDenied);
  locateElsewhere();
  EXPECT_FALSE(shows("alert:")) << dump();
}

TEST_F(NearbyPosition, ATypedPlaceIsSearchedWithoutPositioning) {
  LocationScript::staySilent();
  auto screen = std::make_shared<NearbyViewController>();
  screen->what = "火锅";
  screen->where = "王府井";
  delegate.scNavCtl()->pushViewController(screen, false);
  settle();
  EXPECT_FALSE(LocationService::sharedInstance().isLocating());
  EXPECT_EQ(searches(), std::vector<std::string>{
                            "/client/search/0/q?k=%E7%81%AB%E9%94%85&r=%E7%8E%8B%E5%BA%9C%E4%BA%95"
                            "&ci=131&sort=1&p=0&n=15&xda_from=iPhone&xda_page=SearchInfo&tn=gz"});
}

TEST_F(NearbyPosition, ThePositionsDistrictStaysOutOfAPlaceSearchButNotOutOfTheNextNearbyOne) {
  LocationScript::deliverPosition(kWangfujing);
  openNearby();
  nearby().what = "火锅";
  nearby().where = "三里屯";
  nearby().cleanAll();
  nearby().searchRequest();
  settle();
  EXPECT_EQ(lastSearch(),
            "/client/search/0/q?k=%E7%81%AB%E9%94%85&r=%E4%B8%89%E9%87%8C%E5%B1%AF"
            "&ci=131&sort=1&p=0&n=15&xda_from=iPhone&xda_page=SearchInfo&tn=gz");
  HttpRequestCacheCenter::sharedInstance().distoryCacheData();
  ASSERT_TRUE(input.tap("navigationbar_refresh"));
  settle();
  EXPECT_EQ(lastSearch(), around() + "&rn=" + kDongcheng + "&tn=gz");
}

TEST_F(NearbyPosition, RefreshAfterTheCouponTabSelectsTheSortThatStays) {
  LocationScript::deliverPosition(kWangfujing);
  openNearby();
  ASSERT_TRUE(input.tap("总分"));
  settle();
  ASSERT_TRUE(nearby().header()->chooseSortItem(4));  // the header's "优惠", not the tab's
  settle();
  ASSERT_TRUE(input.tap("1000米"));
  ASSERT_TRUE(input.turnPicker(0, 2));
  ASSERT_TRUE(nearby().picker()->toolbar()->tapItem("完成"));
  settle();
  EXPECT_EQ(nearby().header()->selectedSortIndex(), 4);
  HttpRequestCacheCenter::sharedInstance().distoryCacheData();
  ASSERT_TRUE(input.tap("navigationbar_refresh"));
  settle();
  EXPECT_EQ(lastSearch(), around("1.000000", 2) + "&rn=" + kDongcheng + "&tn=gz");
  EXPECT_EQ(nearby().header()->selectedSortIndex(), 1) << "总分, the sort in force";
  EXPECT_TRUE(shows("button: [总分] (selected)")) << dump();
  EXPECT_EQ(nearby().header()->leftTitle(), "1000米") << "the distance is back to its default";
}

TEST_F(NearbyPosition, APositionWithoutACitySearchesInTheCurrentCity) {
  service.onPosition([](const ScriptedSearchService::Request&) {
    return Answer{200, R"({"point": {"x": "116.403999", "y": "39.915001"}})"};
  });
  LocationScript::deliverPosition(kWangfujing);
  openNearby();
  EXPECT_EQ(searches(), std::vector<std::string>{around() + "&tn=gz"});
  EXPECT_EQ(address(), "当前位置: ...");
}

TEST_F(NearbyPosition, AFailedSearchNeverReadsAsNoShops) {
  service.onSearch([](const ScriptedSearchService::Request&) { return Answer{500, "{}"}; });
  LocationScript::deliverPosition(kWangfujing);
  openNearby();
  EXPECT_EQ(nearby().tableView()->numberOfRowsInSection(0), 0) << "no add-shop row";
  EXPECT_EQ(nearby().sectionTitle(), "附近");
  EXPECT_FALSE(loadingShown());
}

}  // namespace
}  // namespace lk::test

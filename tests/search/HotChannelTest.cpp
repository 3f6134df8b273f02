#include <gtest/gtest.h>

#include "Classes/Location/LocationService.h"
#include "Classes/Records/Channel.h"
#include "Classes/Search/CityPickerViewController.h"
#include "Classes/Search/HotChannelView.h"
#include "Classes/Search/MainObjectViewController.h"
#include "Classes/Search/ProvincePickerViewController.h"
#include "Classes/Search/SearchResultsViewController.h"
#include "Platform/Storage/UserDefaults.h"
#include "Platform/UI/AlertView.h"
#include "tests/search/SearchTabFixture.h"

namespace lk::test {
namespace {

constexpr LocationCoordinate kGuangzhou{23.129, 113.264};

class HotChannel : public SearchTabTest {
 protected:
  void setCity(int id, const std::string& name) {
    CacheCenter::sharedInstance().setCurrentCity(Area(id, name));
    settle();
  }
  // 苏州 is not in the hot-city table; its districts come from the search facets.
  void useSuzhou(int districts) {
    std::string areas = "[";
    for (int i = 0; i < districts; ++i)
      areas += (i > 0 ? "," : "") + std::string(R"({"area_id": )") + std::to_string(i + 1) +
               R"(, "area_name": "区)" + std::to_string(i) + "\"}";
    searchJson =
        R"({"total": 0, "searchlist": [], "geoarealist": )" + areas + R"(], "channellist": []})";
    setCity(224, "苏州");
  }
  std::vector<std::string> lastRows() { return home().areaRows(); }
};

TEST_F(HotChannel, AHotCityShowsAtMostSevenRowsWithoutAnExtraAllRow) {
  indexJson = indexAnswer({"朝阳区", "海淀区", "东城区"});
  launch();
  EXPECT_EQ(lastRows(), (std::vector<std::string>{"朝阳区", "海淀区", "东城区"}));
  EXPECT_TRUE(shows("热门区域"));
  indexJson = indexAnswer(names(10));
  setCity(289, "上海");
  const auto rows = lastRows();
  ASSERT_EQ(rows.size(), 7U);
  EXPECT_EQ(rows[5], "区5");
  EXPECT_EQ(rows[6], "全部区域");
}

TEST_F(HotChannel, AnotherCityGetsAnAllRowAfterItsDistricts) {
  launch();
  useSuzhou(3);
  EXPECT_EQ(lastRows(), (std::vector<std::string>{"区0", "区1", "区2", "全部区域"}));
  EXPECT_EQ(hits("/search/0/q?ci=224&p=0&n=1").size(), 1U);
}

TEST_F(HotChannel, AnotherCityWithManyDistrictsShowsSevenRows) {
  launch();
  useSuzhou(10);
  const auto rows = lastRows();
  ASSERT_EQ(rows.size(), 7U);
  EXPECT_EQ(rows[6], "全部区域");
}

TEST_F(HotChannel, NoDistrictsNoSection) {
  indexJson = indexAnswer({});
  launch();
  EXPECT_TRUE(lastRows().empty());
  EXPECT_FALSE(shows("热门区域"));
  EXPECT_TRUE(home().areaResultGot());
}

TEST_F(HotChannel, OneRequestOnTheFirstAppearanceMarkedAsNewOnlyOnce) {
  launch();
  const auto first = hits("/index/131/area");
  ASSERT_EQ(first.size(), 1U) << "the city check and the district check share one request";
  EXPECT_NE(first[0].find("xda_from=iPhone&xda_page=IndexInfo&xda_new=1"), std::string::npos);
  EXPECT_TRUE(storage.store().objectForKey("kNewUser").has_value());
  setCity(289, "上海");
  const auto second = hits("/index/289/area");
  ASSERT_EQ(second.size(), 1U);
  EXPECT_EQ(second[0].find("xda_new"), std::string::npos);
}

TEST_F(HotChannel, AFailedOrBrokenAnswerTakesTheLoadingViewAway) {
  indexStatus = 500;
  launch();
  EXPECT_TRUE(home().areaResultGot());
  EXPECT_TRUE(home().loadingView == nullptr || home().loadingView->superview() == nullptr);
  indexStatus = 200;
  indexJson = "{not json";
  setCity(289, "上海");
  EXPECT_TRUE(home().loadingView == nullptr || home().loadingView->superview() == nullptr);
  EXPECT_TRUE(home().areaResultGot());
}

TEST_F(HotChannel, AFailedDistrictRequestTakesTheLoadingViewAwayAndSaysWhy) {
  launch();
  service.onSearch([](const auto&) { return Answer{503, "{}"}; });
  setCity(224, "苏州");
  EXPECT_TRUE(home().areaResultGot());
  EXPECT_TRUE(home().loadingView == nullptr || home().loadingView->superview() == nullptr);
  EXPECT_TRUE(lastRows().empty());
}

TEST_F(HotChannel, ADistrictRowSearchesItAndTheAllRowOpensTheBrowser) {
  launch();
  ASSERT_TRUE(input.tapRow("海淀区"));
  settle();
  auto* results = topAs<SearchResultsViewController>();
  ASSERT_NE(results, nullptr);
  EXPECT_EQ(results->subArea, "海淀区");
  searchStack().popToRootViewController(false);
  settle();
  useSuzhou(2);
  ASSERT_TRUE(input.tapRow("全部区域"));
  settle();
  auto* browser = topAs<MainObjectViewController>();
  ASSERT_NE(browser, nullptr);
  EXPECT_EQ(browser->selectedType(), MainObjectViewController::kAreaType);
}

TEST_F(HotChannel, TheConvenienceButtonOpensTheCategoryBrowser) {
  launch();
  ASSERT_TRUE(home().header());
  ASSERT_TRUE(input.tap("firstpage_channel_-1"));
  settle();
  auto* browser = topAs<MainObjectViewController>();
  ASSERT_NE(browser, nullptr);
  EXPECT_EQ(browser->selectedType(), MainObjectViewController::kChannelType);
  searchStack().popToRootViewController(false);
  settle();
  ASSERT_TRUE(input.tap("firstpage_channel_20001"));
  settle();
  auto* results = topAs<SearchResultsViewController>();
  ASSERT_NE(results, nullptr);
  EXPECT_EQ(results->channel, "美食");
  EXPECT_EQ(results->channelId, 20001);
}

TEST(HotChannelView, EachCategoryButtonHasItsPictureAndItsPressedPicture) {
  HotChannelView view(ui::Rect{0, 0, 320, HotChannelView::kHeight}, Channel::mainChannelList());
  ASSERT_EQ(view.buttons().size(), view.items().size());
  for (std::size_t i = 0; i < view.items().size(); ++i) {
    const std::string name = "firstpage_channel_" + std::to_string(view.items()[i]->id());
    EXPECT_EQ(view.buttons()[i]->image().name(), name);
    EXPECT_EQ(view.buttons()[i]->highlightedImage().name(), name + "_clicked");
  }
}

TEST_F(HotChannel, TheLocatedCityIsOfferedOncePerScreenLife) {
  launch();
  service.onPosition([](const auto&) {
    return Answer{200, ScriptedSearchService::positionAnswer("113.264", "23.129", 257, "天河区",
                                                             "广州市天河区")};
  });
  LocationScript::deliverPosition(kGuangzhou);
  LocationService::sharedInstance().startLocation();
  settle();
  EXPECT_TRUE(shows("定位到您在城")) << dump();
  ASSERT_TRUE(input.chooseAlertButton("不，谢谢"));
  LocationService::sharedInstance().startLocation();
  settle();
  EXPECT_FALSE(shows("定位到您在")) << "at most once";
  EXPECT_EQ(CacheCenter::sharedInstance().currentCity()->id(), 131);
}

TEST_F(HotChannel, TheOfferSwitchesToTheCityItNamed) {
  launch();
  service.onPosition([](const auto&) {
    return Answer{200, ScriptedSearchService::positionAnswer("113.264", "23.129", 257, "天河区",
                                                             "广州市天河区")};
  });
  LocationScript::deliverPosition(kGuangzhou);
  LocationService::sharedInstance().startLocation();
  settle();
  ASSERT_TRUE(shows("您要切换城市到城吗"));
  // Positioning moves on before the tap; the offer stands.
  service.onPosition([](const auto&) {
    return Answer{
        200, ScriptedSearchService::positionAnswer("120.6", "31.3", 224, "姑苏区", "苏州市姑苏区")};
  });
  LocationScript::deliverPosition({31.3, 120.6});
  LocationService::sharedInstance().startLocation();
  settle();
  ASSERT_TRUE(input.chooseAlertButton("好的"));
  settle();
  EXPECT_EQ(CacheCenter::sharedInstance().currentCity()->id(), 257);
}

TEST_F(HotChannel, ALookupWithoutACityOffersNothing) {
  launch();
  service.onPosition([](const auto&) {
    return Answer{200, ScriptedSearchService::positionAnswer("113.264", "23.129", 0, "", "")};
  });
  LocationScript::deliverPosition(kGuangzhou);
  LocationService::sharedInstance().startLocation();
  settle();
  EXPECT_FALSE(shows("定位到您在"));
  EXPECT_FALSE(home().alreadyPromptCityChanged());
}

TEST_F(HotChannel, NoPromptOrAlertOverTheProvincePicker) {
  launch();
  home().switchCity();
  settle();
  ASSERT_NE(tabs().modalViewController(), nullptr);
  EXPECT_FALSE(home().isFrontScreen());
  service.onPosition([](const auto&) {
    return Answer{200, ScriptedSearchService::positionAnswer("113.264", "23.129", 257, "天河区",
                                                             "广州市天河区")};
  });
  LocationScript::deliverPosition(kGuangzhou);
  LocationService::sharedInstance().startLocation();
  settle();
  EXPECT_FALSE(shows("定位到您在")) << dump();
  EXPECT_FALSE(home().alreadyPromptCityChanged());
  auto* modal = dynamic_cast<ui::NavigationController*>(tabs().modalViewController());
  ASSERT_NE(modal, nullptr);
  auto* picker = dynamic_cast<ProvincePickerViewController*>(modal->topViewController());
  ASSERT_NE(picker, nullptr);
  ASSERT_TRUE(picker->currentArea) << "the picker's own row shows the located city";
  EXPECT_EQ(picker->currentArea->id(), 257);
}

TEST_F(HotChannel, TheProvincePickerCascadesExceptForTheSpecialRegions) {
  launch();
  home().switchCity();
  settle();
  EXPECT_TRUE(shows("切换城市"));
  EXPECT_TRUE(shows("按省份选择城市（按音序排列）"));
  EXPECT_TRUE(shows("正在定位..."));
  ASSERT_TRUE(input.tapRow("广东"));
  settle();
  auto* modal = dynamic_cast<ui::NavigationController*>(tabs().modalViewController());
  ASSERT_NE(modal, nullptr);
  auto* cities = dynamic_cast<CityPickerViewController*>(modal->topViewController());
  ASSERT_NE(cities, nullptr);
  EXPECT_EQ(cities->title(), "广东");
  EXPECT_EQ(hits("/index/19/city").size(), 1U);
  ASSERT_TRUE(input.tapRow("深圳"));
  settle();
  EXPECT_EQ(tabs().modalViewController(), nullptr);
  EXPECT_EQ(CacheCenter::sharedInstance().currentCity()->id(), 340);
  EXPECT_EQ(searchStack().topViewController(), &home());

  home().switchCity();
  settle();
  ASSERT_TRUE(input.tapRow("香港"));
  settle();
  EXPECT_EQ(tabs().modalViewController(), nullptr) << "2911 is returned without its cities";
  EXPECT_EQ(CacheCenter::sharedInstance().currentCity()->id(), 2911);
  EXPECT_TRUE(hits("/index/2911/city").empty());
}

TEST_F(HotChannel, ACityWithoutCouponsGetsTheOtherTabSetAndItsOwnHome) {
  launch();
  const auto titles = [this] {
    std::vector<std::string> out;
    for (const auto& vc : tabs().viewControllers())
      out.push_back(vc->tabBarItem().title);
    return out;
  };
  EXPECT_EQ(titles()[2], "优惠");
  home().switchCity();
  settle();
  cityJson = R"({"list": [{"id": 224, "name": "苏州"}]})";
  ASSERT_TRUE(input.tapRow("江苏"));
  settle();
  ASSERT_TRUE(input.tapRow("苏州"));
  settle();
  EXPECT_EQ(titles(), (std::vector<std::string>{"搜索", "附近", "现场播报", "个人中心", "更多"}));
  EXPECT_EQ(home().city()->id(), 224);
  EXPECT_TRUE(shows("苏州")) << "the city button";
  EXPECT_EQ(hits("/index/224/area").size(), 1U);
}

}  // namespace
}  // namespace lk::test

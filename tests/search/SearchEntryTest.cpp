#include <gtest/gtest.h>

#include "Classes/Search/NearbyViewController.h"
#include "Classes/Search/SearchHistoryViewController.h"
#include "Classes/Search/SearchResultsHeader.h"
#include "Classes/Search/SearchResultsViewController.h"
#include "tests/search/SearchTabFixture.h"

namespace lk::test {
namespace {

class SearchEntry : public SearchTabTest {
 protected:
  SearchEntry() { launch(); }

  CacheCenter& cache() { return CacheCenter::sharedInstance(); }
  // Types into a field of the entry screen and presses the search key there.
  void typeInto(LKSearchBar& bar, const std::string& text) {
    bar.becomeFirstResponder();
    input.type(text);
  }
  void search(LKSearchBar& bar) {
    bar.becomeFirstResponder();
    input.pressReturn();
    settle();
  }
  NearbyViewController& nearby() {
    return dynamic_cast<NearbyViewController&>(*delegate.rootOf(Tab::kNearby));
  }
};

TEST_F(SearchEntry, TheHomeFieldOpensTheEntryWithTheKeywordFieldFocused) {
  auto& screen = openEntry();
  EXPECT_TRUE(screen.searchBar()->isFirstResponder());
  EXPECT_TRUE(screen.nearbyBar()->isHidden()) << "\"搜索\" is selected first";
  EXPECT_EQ(screen.nearbyBar()->textField()->placeholder(), "默认全北京");
  EXPECT_TRUE(shows("segments: [搜索] | 周边"));
}

TEST_F(SearchEntry, APlainSearchRecordsTheKeywordAndOpensTheResults) {
  searchJson = ScriptedSearchService::searchAnswer(42, 0, 15);
  auto& screen = openEntry();
  typeInto(*screen.searchBar(), "火锅");
  search(*screen.searchBar());
  auto* results = topAs<SearchResultsViewController>();
  ASSERT_NE(results, nullptr);
  EXPECT_EQ(results->what, "火锅");
  EXPECT_EQ(results->where, "");
  EXPECT_FALSE(screen.searchBar()->isFirstResponder()) << "the keyboard goes with the search";
  EXPECT_EQ(cache().channelSearchHistory(), std::vector<std::string>{"火锅"});
  EXPECT_TRUE(cache().areaSearchHistory().empty());
  EXPECT_EQ(hits("/search/0/q?k=%E7%81%AB%E9%94%85").size(), 1U) << dump();
  EXPECT_EQ(results->sectionTitle(), "搜索－火锅[42家商户]");
  EXPECT_TRUE(shows("section: 搜索－火锅[42家商户]")) << dump();
}

TEST_F(SearchEntry, WithSearchSelectedATextLeftInThePlaceFieldIsNotSent) {
  auto& screen = openEntry();
  ASSERT_TRUE(screen.segmentedControl()->tapSegment("周边"));
  typeInto(*screen.nearbyBar(), "西单");
  ASSERT_TRUE(screen.segmentedControl()->tapSegment("搜索"));
  typeInto(*screen.searchBar(), "火锅");
  search(*screen.searchBar());
  auto* results = topAs<SearchResultsViewController>();
  ASSERT_NE(results, nullptr);
  EXPECT_EQ(results->where, "");
}

TEST_F(SearchEntry, AroundAPlaceRecordsThePlaceAndSearchesThere) {
  auto& screen = openEntry();
  ASSERT_TRUE(screen.segmentedControl()->tapSegment("周边"));
  EXPECT_FALSE(screen.nearbyBar()->isHidden());
  typeInto(*screen.nearbyBar(), "西单");
  search(*screen.nearbyBar());
  auto* results = topAs<SearchResultsViewController>();
  ASSERT_NE(results, nullptr);
  EXPECT_EQ(results->what, "") << "an empty keyword searches the place alone";
  EXPECT_EQ(results->where, "西单");
  EXPECT_EQ(cache().areaSearchHistory(), std::vector<std::string>{"西单"});
  EXPECT_TRUE(cache().channelSearchHistory().empty());
}

TEST_F(SearchEntry, AnEmptyOrBlankFieldRecordsNothingAndSearchesNothing) {
  auto& screen = openEntry();
  search(*screen.searchBar());
  typeInto(*screen.searchBar(), " \u3000 ");
  search(*screen.searchBar());
  EXPECT_EQ(entry(), &screen);
  EXPECT_TRUE(cache().channelSearchHistory().empty());
  EXPECT_TRUE(hits("/search/0/q").empty());
}

TEST_F(SearchEntry, AKeywordIsRecordedAndSearchedWithoutTheSpacesAKeyboardAdds) {
  auto& screen = openEntry();
  typeInto(*screen.searchBar(), "火锅\u3000");
  search(*screen.searchBar());
  auto* results = topAs<SearchResultsViewController>();
  ASSERT_NE(results, nullptr);
  EXPECT_EQ(results->what, "火锅");
  EXPECT_EQ(cache().channelSearchHistory(), std::vector<std::string>{"火锅"});
}

TEST_F(SearchEntry, TheListUnderTheFieldsShowsTheEditedFieldsHistory) {
  cache().recordChannelSearch("川菜");
  cache().recordChannelSearch("火锅");
  cache().recordAreaSearch("西单");
  auto& screen = openEntry();
  EXPECT_EQ(screen.listedEntries(), (std::vector<std::string>{"火锅", "川菜"}));
  ASSERT_TRUE(screen.segmentedControl()->tapSegment("周边"));
  screen.nearbyBar()->becomeFirstResponder();
  EXPECT_EQ(screen.listedEntries(), (std::vector<std::string>{"当前位置", "西单"}));
  ASSERT_TRUE(input.tapRow("西单"));
  EXPECT_EQ(screen.nearbyBar()->textField()->text(), "西单");
  EXPECT_FALSE(screen.chooseCurrentLocation);
  ASSERT_TRUE(input.tapRow("当前位置"));
  EXPECT_TRUE(screen.chooseCurrentLocation);
}

TEST_F(SearchEntry, TheCurrentPositionRunsOnTheNearbyTabAndIsNeverRecorded) {
  auto& screen = openEntry();
  ASSERT_TRUE(screen.segmentedControl()->tapSegment("周边"));
  screen.nearbyBar()->becomeFirstResponder();
  ASSERT_TRUE(input.tapRow("当前位置"));
  typeInto(*screen.searchBar(), "火锅");
  search(*screen.nearbyBar());
  EXPECT_TRUE(cache().areaSearchHistory().empty());
  EXPECT_EQ(tabs().selectedViewController(), delegate.ncNavCtl().get());
  EXPECT_EQ(nearby().what, "火锅");
  EXPECT_FALSE(nearby().where.has_value());
  EXPECT_EQ(topAs<SearchResultsViewController>(), nullptr) << "no results screen is pushed";
}

TEST_F(SearchEntry, APlaceFromTheHistoryScreenReplacesTheCurrentPosition) {
  cache().recordAreaSearch("西单");
  auto& screen = openEntry();
  ASSERT_TRUE(screen.segmentedControl()->tapSegment("周边"));
  screen.nearbyBar()->becomeFirstResponder();
  ASSERT_TRUE(input.tapRow("当前位置"));
  screen.showHistory(*screen.nearbyBar());
  settle();
  ASSERT_NE(tabs().modalViewController(), nullptr);
  // The entry's own list shows the same place under the history screen.
  ui::ScreenInput onHistory(tabs().modalViewController()->view().get());
  ASSERT_TRUE(onHistory.tapRow("西单")) << onHistory.dump() << "\n---\n" << dump();
  settle();
  EXPECT_FALSE(screen.chooseCurrentLocation);
  EXPECT_EQ(screen.nearbyBar()->textField()->text(), "西单");
  search(*screen.nearbyBar());
  auto* results = topAs<SearchResultsViewController>();
  ASSERT_NE(results, nullptr) << "a typed place is a search of the results screen";
  EXPECT_EQ(results->where, "西单");
}

TEST_F(SearchEntry, GoSearchPutsTheNearbyOrderBackToDefault) {
  ASSERT_TRUE(tabs().selectTabAsUser("附近"));
  settle();
  nearby().sortTermChanged(2);
  settle();
  ASSERT_EQ(nearby().sort, 2);
  ASSERT_TRUE(tabs().selectTabAsUser("搜索"));
  auto& screen = openEntry();
  ASSERT_TRUE(screen.segmentedControl()->tapSegment("周边"));
  screen.nearbyBar()->becomeFirstResponder();
  ASSERT_TRUE(input.tapRow("当前位置"));
  typeInto(*screen.searchBar(), "火锅");
  search(*screen.searchBar());
  EXPECT_EQ(nearby().sort, 1) << "the header shows 默认, the request must ask for it";
}

TEST_F(SearchEntry, TheNearbyEntryCountsTheTypedPlaceAsAroundIt) {
  ASSERT_TRUE(tabs().selectTabAsUser("附近"));
  settle();
  nearby().goSearch();
  settle();
  auto* screen = dynamic_cast<SearchViewController*>(delegate.ncNavCtl()->topViewController());
  ASSERT_NE(screen, nullptr);
  EXPECT_EQ(screen->title(), "周边搜索");
  EXPECT_EQ(screen->segmentedControl(), nullptr) << "no switch on the nearby entry";
  EXPECT_TRUE(screen->chooseCurrentLocation);
  EXPECT_TRUE(screen->searchBar()->isFirstResponder());
  EXPECT_EQ(screen->nearbyBar()->textField()->text(), "当前位置");
  EXPECT_FALSE(screen->nearbyBar()->isHidden());
  screen->nearbyBar()->becomeFirstResponder();
  ASSERT_TRUE(input.tapClearButton());
  input.type("西单");
  EXPECT_FALSE(screen->chooseCurrentLocation) << "typing replaces the position";
  typeInto(*screen->searchBar(), "火锅");
  search(*screen->nearbyBar());
  EXPECT_EQ(cache().areaSearchHistory(), std::vector<std::string>{"西单"});
  EXPECT_EQ(nearby().where, "西单") << "the typed place is searched, as it was recorded";
  EXPECT_EQ(delegate.ncNavCtl()->topViewController(), &nearby()) << "back to the nearby list";
}

TEST_F(SearchEntry, HistoryKeepsThirtyEntriesPerFieldNewestFirstWithoutDuplicates) {
  for (int i = 0; i < 31; ++i) {
    auto& screen = openEntry();
    typeInto(*screen.searchBar(), "词" + std::to_string(i));
    search(*screen.searchBar());
    searchStack().popToRootViewController(false);
    settle();
  }
  auto& screen = openEntry();
  typeInto(*screen.searchBar(), "词5");
  search(*screen.searchBar());
  const auto& keywords = cache().channelSearchHistory();
  ASSERT_EQ(keywords.size(), 30U);
  EXPECT_EQ(keywords.front(), "词5");
  EXPECT_EQ(keywords[1], "词30");
  EXPECT_EQ(std::count(keywords.begin(), keywords.end(), "词5"), 1);
  EXPECT_EQ(std::find(keywords.begin(), keywords.end(), "词0"), keywords.end());
  EXPECT_TRUE(cache().areaSearchHistory().empty()) << "the place history is its own";
}

TEST_F(SearchEntry, TheHistoryScreenClearsOnlyAfterConfirmation) {
  cache().recordChannelSearch("火锅");
  auto& screen = openEntry();
  screen.showHistory(*screen.searchBar());
  settle();
  EXPECT_TRUE(shows("最近搜索"));
  ASSERT_NE(tabs().modalViewController(), nullptr);
  EXPECT_NE(ui::ScreenInput(tabs().modalViewController()->view().get()).dump().find("火锅"),
            std::string::npos);
  ASSERT_TRUE(input.tap("清除记录"));
  EXPECT_TRUE(shows("确定要清空搜索记录吗"));
  ASSERT_TRUE(input.chooseAlertButton("取消"));
  EXPECT_EQ(cache().channelSearchHistory().size(), 1U);
  ASSERT_TRUE(input.tap("清除记录"));
  ASSERT_TRUE(input.chooseAlertButton("清空"));
  EXPECT_TRUE(cache().channelSearchHistory().empty());
  ASSERT_NE(tabs().modalViewController(), nullptr);
  EXPECT_FALSE(ui::ScreenInput(tabs().modalViewController()->view().get()).dump().find("火锅") !=
               std::string::npos);
  ASSERT_TRUE(input.tap("返回"));
  settle();
  EXPECT_TRUE(screen.listedEntries().empty());
  EXPECT_FALSE(shows("火锅")) << "the entry's list is drawn again";
}

TEST_F(SearchEntry, TheHistoryScreenListsTheCitysCategoriesAndCopiesTheChoice) {
  auto& screen = openEntry();
  screen.showHistory(*screen.searchBar());
  settle();
  auto* history = dynamic_cast<SearchHistoryViewController*>(
      dynamic_cast<ui::NavigationController*>(tabs().modalViewController())->topViewController());
  ASSERT_NE(history, nullptr);
  ASSERT_TRUE(history->segmentedControl()->tapSegment("所有分类"));
  settle();
  ASSERT_EQ(history->sections().size(), 2U);
  EXPECT_EQ(history->sections()[0].title, "热门分类");
  ASSERT_TRUE(input.tapRow("购物"));
  settle();
  EXPECT_EQ(tabs().modalViewController(), nullptr);
  EXPECT_EQ(screen.searchBar()->textField()->text(), "购物");
}

}  // namespace
}  // namespace lk::test

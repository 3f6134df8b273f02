#include <gtest/gtest.h>

#include <boost/json/parse.hpp>

#include "Classes/Records/ShopInfo.h"
#include "Classes/Search/SearchResultCellView.h"
#include "Classes/Search/SearchResultsViewController.h"
#include "Platform/UI/Canvas.h"

namespace lk {
namespace {

std::shared_ptr<ShopInfo> shop(const char* json) {
  return ShopInfo::fromSearchItem(boost::json::parse(json).as_object());
}

std::vector<std::string> drawnTexts(const std::shared_ptr<ShopInfo>& record, bool showDistance) {
  SearchResultCellView view;
  view.showDistance = showDistance;
  view.setDataModel(record);
  return view.render().texts();
}

TEST(SearchSectionTitle, TheFourCases) {
  SearchResultsViewController s;
  // Keyword only, nothing found: no count text.
  s.what = "火锅";
  EXPECT_EQ(s.sectionTitle(), "搜索－火锅");
  // Keyword and place.
  s.where = "王府井";
  EXPECT_EQ(s.sectionTitle(), "搜索－火锅－王府井");
  // Place only.
  s.what = "";
  EXPECT_EQ(s.sectionTitle(), "搜索－王府井");
  // Neither: the filters name the search.
  s.where.reset();
  s.what.reset();
  EXPECT_EQ(s.sectionTitle(), "");
  s.area = "东城区";
  EXPECT_EQ(s.sectionTitle(), "搜索－东城区");
  s.subArea = "王府井";
  EXPECT_EQ(s.sectionTitle(), "搜索－王府井");
  s.channel = "美食";
  EXPECT_EQ(s.sectionTitle(), "搜索－王府井 美食");
  s.category = "火锅";
  EXPECT_EQ(s.sectionTitle(), "搜索－王府井 火锅");
  s.area.reset();
  s.subArea = "";
  EXPECT_EQ(s.sectionTitle(), "搜索－火锅") << "no leading space without a place";
}

TEST(SearchShowDistance, OnlyForAPlaceThatIsNotBlank) {
  SearchResultsViewController s;
  EXPECT_FALSE(s.showDistance());
  s.where = " \n\t\u3000";
  EXPECT_FALSE(s.showDistance());
  s.where = " 国贸 ";
  EXPECT_TRUE(s.showDistance());
}

TEST(SearchFilterParameters, OrderAndPresence) {
  SearchResultsViewController s;
  std::string url;
  s.addFilterParametersToUrl(url);
  EXPECT_EQ(url, "") << "nothing set, nothing sent";
  s.category = "";  // present but empty counts as unset
  s.categoryId = 7;
  s.showCouponOnly = true;
  s.area = "东城区";
  s.subAreaId = 9;
  s.addFilterParametersToUrl(url);
  EXPECT_EQ(url, "&rn=%E4%B8%9C%E5%9F%8E%E5%8C%BA&zi=9&c=7&ex=1");
}

TEST(SearchResultRow, DrawsEachPartInOrder) {
  auto record = shop(R"({"shop_name": "<em>老</em>码头", "shop_id": "9", "total_score": 3.5,
      "address": "<em>东城区</em>东风路1号", "distance": 1234.4, "taglist": "火锅 川菜",
      "cmt_num": 27, "average_pay": 34.5, "cheap_off": [{"title": "九折", "id": 5},
      {"title": "满百减二十", "id": 6}]})");
  EXPECT_EQ(drawnTexts(record, true),
            (std::vector<std::string>{"老码头", "1234米", "[火锅]", "¥35", "27篇点评",
                                      "东城区东风路1号", "九折"}));
  EXPECT_EQ(
      drawnTexts(record, false),
      (std::vector<std::string>{"老码头", "[火锅]", "¥35", "27篇点评", "东城区东风路1号", "九折"}));
}

TEST(SearchResultRow, LeavesOutWhatTheShopLacks) {
  auto record = shop(R"({"shop_name": "小店", "shop_id": "1", "distance": 0, "cmt_num": 0,
      "average_pay": 0, "taglist": ""})");
  EXPECT_EQ(drawnTexts(record, true), (std::vector<std::string>{"小店"}));
}

TEST(SearchResultRow, HeightGrowsWithTheOptionalLinesAndTheWrappedAddress) {
  auto bare = shop(R"({"shop_name": "小店", "shop_id": "1"})");
  auto tagged = shop(R"({"shop_name": "小店", "shop_id": "1", "taglist": "面馆"})");
  auto coupon = shop(R"({"shop_name": "小店", "shop_id": "1", "taglist": "面馆",
      "cheap_off": [{"title": "九折", "id": 5}]})");
  auto shortAddress = shop(R"({"shop_name": "小店", "shop_id": "1", "address": "东风路1号"})");
  auto longAddress = shop(
      R"({"shop_name": "小店", "shop_id": "1", "address": "北京市东城区东风路一百二十三号银座商城B1层东侧入口进门右转第三家"})");
  const double h0 = SearchResultCellView::heightOfCell(*bare, false);
  const double h1 = SearchResultCellView::heightOfCell(*tagged, false);
  const double h2 = SearchResultCellView::heightOfCell(*coupon, false);
  const double a1 = SearchResultCellView::heightOfCell(*shortAddress, false);
  const double a2 = SearchResultCellView::heightOfCell(*longAddress, false);
  EXPECT_GT(h1, h0);
  EXPECT_GT(h2, h1);
  EXPECT_GT(a1, h0);
  EXPECT_GT(a2, a1) << "a longer address wraps onto more lines";
}

TEST(SearchResultRow, RowCountFollowsTheAddShopRules) {
  SearchResultsViewController s;
  ui::TableView table;
  EXPECT_EQ(s.tableViewNumberOfRowsInSection(table, 0), 0) << "nothing asked yet";
  s.showAddShop = true;
  EXPECT_EQ(s.tableViewNumberOfRowsInSection(table, 0), 0) << "not while loading";
}

}  // namespace
}  // namespace lk

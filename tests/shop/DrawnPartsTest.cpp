// What the drawn parts of the shop and review screens show, read from their recorded drawing.
#include <gtest/gtest.h>

#include <boost/json/parse.hpp>

#include "Classes/Records/Comment.h"
#include "Classes/Records/ShopInfo.h"
#include "Classes/Shop/CommentCellView.h"
#include "Classes/Shop/CommentInfoView.h"
#include "Classes/Shop/ShopInfoPopupView.h"
#include "Platform/UI/WebView.h"
#include "tests/support/TestSupport.h"

namespace lk {
namespace {

std::string texts(const ui::DrawnView& view) {
  std::string all;
  for (const auto& t : view.render().texts())
    all += t + "|";
  return all;
}

std::shared_ptr<Comment> review(const std::string& json) {
  return Comment::fromReviewEntry(boost::json::parse(json).as_object(), "");
}

TEST(ReviewRow, PriceAndUsefulVotesShowOnlyWhenThereAreSome) {
  CommentCellView row;
  row.setDataModel(review(R"({"uname": "甲", "content": "好吃", "vote_use": 0})"));
  EXPECT_EQ(texts(row).find("人均"), std::string::npos);
  EXPECT_EQ(texts(row).find("有用("), std::string::npos);

  row.setDataModel(review(R"({"uname": "乙", "content": "不错", "vote_use": 3,
                              "is_content_trunc": true,
                              "pay": {"cost": 100, "person_count": 3}})"));
  const std::string shown = texts(row);
  EXPECT_NE(shown.find("人均:¥33"), std::string::npos) << shown;
  EXPECT_NE(shown.find("不错..."), std::string::npos) << "a shortened text ends in \"...\"";
  EXPECT_NE(shown.find("有用(|3|)"), std::string::npos);
}

TEST(ReviewDetail, ShowsScoresRecommendationsAndVotes) {
  CommentInfoView detail;
  detail.setDataModel(review(R"({"uname": "甲", "content": "全文", "vote_use": 0,
                                 "detail_score": {"口味": 4, "服务": 3.5},
                                 "recommand": "烤鸭"})"));
  const std::string shown = texts(detail);
  EXPECT_NE(shown.find("口味:4.0  服务:3.5  "), std::string::npos) << shown;
  EXPECT_NE(shown.find("推荐: 烤鸭"), std::string::npos);
  EXPECT_NE(shown.find("0|人认为有用"), std::string::npos);
  EXPECT_EQ(shown.find("人均"), std::string::npos);
}

TEST(ShopPopup, HoursServicesAndDirectionsInTheirOrder) {
  ShopInfo shop;
  EXPECT_EQ(ShopInfoPopupView::extraContent(shop), "");
  shop.setStrBusInfo("地铁1号线");
  EXPECT_EQ(ShopInfoPopupView::extraContent(shop), "交通信息: 地铁1号线");
  shop.setStrHours("10:00-22:00");
  shop.setArrSpecialList(boost::json::parse(R"(["停车", "WiFi"])"));
  EXPECT_EQ(ShopInfoPopupView::extraContent(shop),
            "营业时间: 10:00-22:00\n\n特色服务: 停车, WiFi\n\n交通信息: 地铁1号线");
}

TEST(MarkingPage, OnlyAWellFormedCallToThePagesFunctionMarks) {
  test::ScopedMainLoop loop;
  auto web = std::make_shared<ui::WebView>();
  web->loadHTMLString(R"(<body data-marker-function="map"></body>)");
  loop->runFor(std::chrono::milliseconds(10));
  web->stringByEvaluatingJavaScriptFromString("javascript:map(1, 2, 'Tony's');");
  EXPECT_FALSE(web->marker()) << "a broken string marks nothing";
  web->stringByEvaluatingJavaScriptFromString("javascript:other(1, 2, 'x');");
  EXPECT_FALSE(web->marker());
  web->stringByEvaluatingJavaScriptFromString("javascript:map(1.5, -2, 'Tony\\'s');");
  ASSERT_TRUE(web->marker());
  EXPECT_EQ(web->marker()->label, "Tony's");
  EXPECT_NE(web->dumpLine().find("marker: Tony's at (1.5, -2)"), std::string::npos);

  web->loadHTMLString("<body>no marking here</body>");
  loop->runFor(std::chrono::milliseconds(10));
  EXPECT_FALSE(web->marker()) << "a new page starts unmarked";
  web->stringByEvaluatingJavaScriptFromString("javascript:map(1, 2, 'x');");
  EXPECT_FALSE(web->marker());
}

}  // namespace
}  // namespace lk

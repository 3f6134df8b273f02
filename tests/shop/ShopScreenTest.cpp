#include <gtest/gtest.h>

#include "Classes/Broadcasts/BroadcastListViewController.h"
#include "Classes/Coupons/CouponInfoViewController.h"
#include "Classes/Records/Broadcast.h"
#include "Classes/Records/Comment.h"
#include "Classes/Search/NearbyViewController.h"
#include "Classes/Shop/ShopInfoCellView.h"
#include "Classes/Shop/ShopNotifications.h"
#include "Platform/Log/Log.h"
#include "Platform/Notifications/NotificationCenter.h"
#include "Platform/UI/ActionSheet.h"
#include "tests/shop/ShopScreenFixture.h"

namespace lk::test {
namespace {

using Answer = ScriptedShopService::Answer;
using ShopScreen = ShopScreenTest;

std::vector<std::string> historyIds() {
  std::vector<std::string> ids;
  for (const auto& s : CacheCenter::sharedInstance().shopBrowseHistory())
    ids.push_back(s->shopId());
  return ids;
}

ui::ActionSheet* shownSheet(ui::Window& window) {
  for (const auto& child : window.subviews()) {
    if (auto* sheet = dynamic_cast<ui::ActionSheet*>(child.get())) return sheet;
  }
  return nullptr;
}

TEST_F(ShopScreen, TheDetailReplacesTheRecordThenTheAlbumIsAskedAndTheShopRecorded) {
  answerDetail();
  open();
  const auto original = screen->shopInfo();
  EXPECT_TRUE(screen->sections().empty()) << "nothing to show before the detail";
  EXPECT_TRUE(shows("正在载入数据"));
  settle();

  ASSERT_NE(screen->shopInfo(), original) << "the decoded record replaces the handed-in one";
  EXPECT_TRUE(screen->shopInfo()->showDetails());
  EXPECT_EQ(screen->shopInfo()->strName(), "店42");
  EXPECT_EQ(screen->sections(), std::vector<int>{ShopInfoViewController::kMainSection});
  EXPECT_FALSE(shows("正在载入数据"));
  EXPECT_EQ(historyIds(), std::vector<std::string>{"42"});

  const auto info = service.targetsWith("/info");
  const auto album = service.targetsWith("/album");
  ASSERT_EQ(info.size(), 1u);
  ASSERT_EQ(album.size(), 1u);
  EXPECT_EQ(info[0], "/client/shop/42/info?xda_from=iPhone&xda_page=ShopInfo")
      << "not logged in: no ssid";
  EXPECT_EQ(album[0], "/client/shop/42/album?p=0&n=500&xda_from=iPhone&xda_page=ShopAlbum&tn=gz");
  const auto all = service.targets();
  const auto at = [&all](const std::string& part) {
    return std::find_if(all.begin(), all.end(),
                        [&](const std::string& t) { return t.find(part) != std::string::npos; }) -
           all.begin();
  };
  EXPECT_LT(at("/info"), at("/album")) << "the album is asked for once the detail is in";
  EXPECT_EQ(service.targetsWith("/addition").size(), 1u) << "the detail record fetches it once";
}

TEST_F(ShopScreen, ALoggedInUsersSessionTravelsEscaped) {
  answerDetail();
  ShopInfoViewController::setSessionIdSource([] { return std::optional<std::string>("a&b c"); });
  open();
  settle();
  EXPECT_EQ(service.targetsWith("/info").at(0),
            "/client/shop/42/info?xda_from=iPhone&xda_page=ShopInfo&ssid=a%26b+c");
}

TEST_F(ShopScreen, AnErrorBodyIsNoShop) {
  service.onInfo([](const httplib::Request&) {
    return Answer{200, R"({"errNo": 3, "result": "shop closed"})"};
  });
  open();
  const auto original = screen->shopInfo();
  settle();
  EXPECT_EQ(screen->shopInfo(), original) << "the old record stays";
  EXPECT_TRUE(screen->sections().empty());
  EXPECT_TRUE(service.targetsWith("/album").empty()) << "never \"/shop//album\"";
  EXPECT_TRUE(historyIds().empty()) << "no id-less shop in the history";
  EXPECT_FALSE(shows("正在载入数据"));
}

TEST_F(ShopScreen, FailedAndEmptyAnswersLeaveTheScreenAsItWas) {
  for (const Answer& answer : {Answer{500, detail("42")}, Answer{200, "{}"}, Answer{200, "[1]"},
                               Answer{200, "not json"}}) {
    service.onInfo([answer](const httplib::Request&) { return answer; });
    HttpRequestCacheCenter::sharedInstance().distoryCacheData();
    if (!screen) {
      open();
    } else {
      screen->requestShopInfo();
    }
    settle();
    EXPECT_TRUE(screen->sections().empty()) << answer.json;
    EXPECT_FALSE(shows("正在载入数据"));
  }
  EXPECT_TRUE(historyIds().empty());
  EXPECT_TRUE(service.targetsWith("/album").empty());
}

TEST_F(ShopScreen, TheShopsOwnPictureComesFirstAndCounts) {
  const std::string host = service.baseURL();
  answerDetail(R"("strShopImgUrl": ")" + host + R"(/pic/1.jpg")");
  service.onAlbum([host](const httplib::Request&) {
    return Answer{200, R"({"intTotal": 3, "base": ")" + host + R"(", "arrList": [
        {"strSrc": "/abpic/1.jpg"}, {"strSrc": 7}, "junk", {"strSrc": "/abpic/2.jpg"}]})"};
  });
  open();
  settle();
  const PictureList expected{{host + "/pic/1.jpg", host + "/pic/1.jpg"},
                             {host + "/pic/2.jpg", host + "/abpic/2.jpg"}};
  EXPECT_EQ(screen->photoLinks(), expected)
      << "the album's copy of the shop picture is not repeated; entries without a text "
         "source are skipped";
  EXPECT_EQ(screen->shopInfo()->intPicCount().get(), 4) << "intTotal and the shop's own";
}

TEST_F(ShopScreen, AnAlbumWithoutTheShopPictureKeepsItsOrder) {
  boost::json::object answer;
  answer["base"] = "http://h";
  answer["arrList"] = boost::json::array{boost::json::object{{"strSrc", "/abpic/a.jpg"}},
                                         boost::json::object{{"strSrc", "/x/b.jpg"}}};
  bool added = true;
  const auto links = ShopInfoViewController::albumLinks(answer, "", &added);
  EXPECT_FALSE(added);
  EXPECT_EQ(links, (PictureList{{"http://h/pic/a.jpg", "http://h/abpic/a.jpg"},
                                {"http://h/x/b.jpg", "http://h/x/b.jpg"}}));
}

TEST_F(ShopScreen, TheAlbumOpensOnlyWithPicturesToShow) {
  answerDetail();
  service.onAlbum([](const httplib::Request&) { return Answer{500, "{}"}; });
  open();
  settle();
  screen->shopInfo()->intPicCount().set(5);  // counted by the detail, but no list arrived
  NotificationCenter::defaultCenter().post(kShopInfoImageViews);
  EXPECT_EQ(nav->modalViewController(), nullptr);
}

TEST_F(ShopScreen, SectionsFollowWhatTheShopHas) {
  answerDetail(R"("intMiniCmtCount": 2, "arrMiniCmtList": [{"uname": "甲", "content": "人很多",
                  "create_time": 1700000000}], "strRecommendName": "推荐菜",
                  "arrRecommend": ["", "烤鸭"], "arrCouponList": [{"strId": "9",
                  "strTopic": "九折", "strType": "优惠券"}])");
  open();
  settle();
  EXPECT_EQ(screen->sections(), (std::vector<int>{0, 1, 2, 3}));
  EXPECT_TRUE(shows("现场播报")) << dump();
  EXPECT_TRUE(shows("2条"));
  EXPECT_FALSE(shows("篇")) << "no review block without a review";
  EXPECT_TRUE(shows("九折"));
  EXPECT_TRUE(shows("烤鸭 "));
}

TEST_F(ShopScreen, TheCouponRowOpensTheShopsOffers) {
  answerDetail(R"("arrCouponList": [{"strId": "9", "strTopic": "九折", "strType": "优惠券"},
                                    {"strId": "8", "strTopic": "满百减十", "strType": "折扣信息"}])");
  open();
  settle();
  ASSERT_TRUE(screen->tableView()->tapRow({1, 0}));
  auto* coupons = dynamic_cast<CouponInfoViewController*>(nav->topViewController());
  ASSERT_NE(coupons, nullptr);
  EXPECT_FALSE(coupons->displayShop) << "the shop is the one just shown";
}

TEST_F(ShopScreen, CountsAbove999ShowAs999Plus) {
  EXPECT_EQ(ShopInfoCellView::countText(999), "999");
  EXPECT_EQ(ShopInfoCellView::countText(1000), "999+");
  EXPECT_EQ(ShopInfoCellView::countFontSize("7"), 30);
  EXPECT_EQ(ShopInfoCellView::countFontSize("999"), 25);
  EXPECT_EQ(ShopInfoCellView::countFontSize("999+"), 22);
  answerDetail(R"("intCmtCount": 1000, "arrScore": {"口味": 4.5, "环境": 0}, "fltAverage": 0)");
  open();
  settle();
  EXPECT_TRUE(shows("999+"));
  EXPECT_TRUE(shows("口味: 4.5"));
  EXPECT_TRUE(shows("环境: -"));
  EXPECT_FALSE(shows("¥")) << "no price for an average of 0";
}

TEST_F(ShopScreen, ThePhoneSheetListsTheNumbersAndDialsACleanedOne) {
  answerDetail(R"("arrTel": ["(010) 6512-3456，，010-8888 转 2", " 139 0000 1111 "])");
  open();
  settle();
  ASSERT_TRUE(input.tap("拨打"));
  ui::ActionSheet* sheet = shownSheet(*window);
  ASSERT_NE(sheet, nullptr);
  EXPECT_EQ(sheet->title(), "请选择商户电话");
  EXPECT_EQ(sheet->buttonTitles(),
            (std::vector<std::string>{"(010) 6512-3456", "010-8888 转 2", "139 0000 1111", "取消"}))
      << "titles as shown, empty pieces skipped";
  ASSERT_TRUE(sheet->tapButton("(010) 6512-3456"));
  EXPECT_EQ(ui::Application::shared().openedURLs(), std::vector<std::string>{"tel:01065123456"});

  ASSERT_TRUE(input.tap("拨打"));
  ASSERT_TRUE(shownSheet(*window)->tapButton("010-8888 转 2"));
  EXPECT_EQ(ui::Application::shared().openedURLs().size(), 1u) << "an extension dials nothing";
}

TEST_F(ShopScreen, NoPhoneSheetOffAPhoneOrWithoutNumbers) {
  answerDetail(R"("arrTel": ["010-1234567"])");
  open();
  settle();
  DeviceInfo::setModel("iPod touch");
  NotificationCenter::defaultCenter().post(kShopInfoCall);
  EXPECT_EQ(shownSheet(*window), nullptr);
  DeviceInfo::setModel("");
  screen->shopInfo()->setArrTel({"", ""});
  NotificationCenter::defaultCenter().post(kShopInfoCall);
  EXPECT_EQ(shownSheet(*window), nullptr);
}

TEST_F(ShopScreen, OnlyTheTopShopScreenReacts) {
  answerDetail();
  auto lower = open("1");
  settle();
  auto upper = open("2");
  loop->runUntil([&] { return !upper->shopInfoRequest() && !upper->imageLinkRequest(); },
                 std::chrono::seconds(10));
  loop->runFor(seconds(1));
  NotificationCenter::defaultCenter().post(kShopInfoCall);
  ui::ActionSheet* sheet = shownSheet(*window);
  ASSERT_NE(sheet, nullptr);
  EXPECT_EQ(sheet->buttonTitles().size(), 2u) << "one sheet, from the top screen";
  int sheets = 0;
  for (const auto& child : window->subviews())
    sheets += dynamic_cast<ui::ActionSheet*>(child.get()) != nullptr ? 1 : 0;
  EXPECT_EQ(sheets, 1);
}

TEST_F(ShopScreen, APostedBroadcastRefreshesOnlyItsShop) {
  answerDetail();
  open();
  settle();
  Notification other{kBroadcastComposeSucceed, {}, {{"shopId", std::string("7")}}};
  NotificationCenter::defaultCenter().post(other);
  EXPECT_EQ(screen->shopInfoRequest(), nullptr);
  Notification mine{kBroadcastComposeSucceed, {}, {{"shopId", std::string("42")}}};
  NotificationCenter::defaultCenter().post(mine);
  EXPECT_NE(screen->shopInfoRequest(), nullptr);
}

TEST_F(ShopScreen, ARepeatedRequestReplacesThePendingOne) {
  answerDetail();
  open();
  screen->requestShopInfo();
  screen->requestShopInfo();
  settle();
  EXPECT_EQ(service.targetsWith("/album").size(), 1u) << "one detail answer taken, one album";
  EXPECT_EQ(CacheCenter::sharedInstance().shopBrowseHistory().size(), 1u);
}

TEST_F(ShopScreen, SharingUsesSmsOnAPhoneAndMailElsewhere) {
  answerDetail(R"("arrTel": ["", "010-1"], "strRecommendName": "推荐", "arrRecommend": ["面"])");
  open();
  settle();
  ASSERT_TRUE(input.tap("shopinfo_tab_share"));
  auto* sms = dynamic_cast<ui::MessageComposeViewController*>(nav->modalViewController());
  ASSERT_NE(sms, nullptr);
  EXPECT_EQ(sms->body, "[店42] 010-1 长安街1号 [推荐] 面 ");
  sms->send();
  EXPECT_EQ(nav->modalViewController(), nullptr) << "the sheet is dismissed";
  EXPECT_NE(screen->tabbar()->superview(), nullptr) << "the shop's bar is back";

  DeviceInfo::setModel("iPad");
  ASSERT_TRUE(input.tap("shopinfo_tab_share"));
  auto* mail = dynamic_cast<ui::MailComposeViewController*>(nav->modalViewController());
  ASSERT_NE(mail, nullptr);
  EXPECT_EQ(mail->subject, "");
  EXPECT_FALSE(mail->bodyIsHTML);
  mail->cancel();
  EXPECT_EQ(nav->modalViewController(), nullptr);

  ui::MailComposeViewController::setCanSendMailForTesting(false);
  ASSERT_TRUE(input.tap("shopinfo_tab_share"));
  EXPECT_EQ(nav->modalViewController(), nullptr);
}

TEST_F(ShopScreen, TheMapMarksTheShopByName) {
  answerDetail(R"("strName": "Tony's 牛排")");
  open();
  settle();
  ASSERT_TRUE(input.tap("地址"));
  loop->runFor(seconds(1));
  EXPECT_TRUE(shows("marker: Tony's 牛排 at (116.4, 39.9)")) << dump();
  EXPECT_FALSE(shows("正在载入数据"));
  ASSERT_TRUE(input.tap("返回"));
  EXPECT_EQ(nav->modalViewController(), nullptr);
}

TEST_F(ShopScreen, TheMoreSheetSearchesAroundTheShop) {
  answerDetail(R"("fltPositionX": 116.45, "fltPositionY": 39.93)");
  open();
  settle();
  ASSERT_TRUE(input.tap("shopinfo_tab_more"));
  ui::ActionSheet* sheet = shownSheet(*window);
  ASSERT_NE(sheet, nullptr);
  EXPECT_EQ(sheet->title(), "更多");
  ASSERT_TRUE(sheet->tapButton("查找这家店附近"));
  auto* around = dynamic_cast<NearbyViewController*>(nav->topViewController());
  ASSERT_NE(around, nullptr) << "pushed on the shop's own stack";
  EXPECT_EQ(around->title(), "这家店附近");
  EXPECT_EQ(around->x, strprintf("%f", static_cast<double>(116.45F)));
  EXPECT_EQ(around->y, strprintf("%f", static_cast<double>(39.93F)));
  EXPECT_FLOAT_EQ(around->distance, 3.0F);
  EXPECT_EQ(around->sort, 4);
  EXPECT_TRUE(around->GPSDisabled);
  EXPECT_TRUE(around->hideLocation);
  EXPECT_TRUE(around->tabbarHidden);
  EXPECT_TRUE(around->headerHidden);
  ASSERT_TRUE(loop->runUntil([&] { return !service.targetsWith("/search/").empty(); },
                             std::chrono::seconds(10)));
  const auto searches = service.targetsWith("/search/");
  ASSERT_EQ(searches.size(), 1u);
  EXPECT_NE(searches[0].find("/client/search/0/q?"), std::string::npos) << searches[0];
  EXPECT_NE(searches[0].find("&x=" + *around->x + "&y=" + *around->y + "&sd=3.000000&sort=4&"),
            std::string::npos)
      << searches[0];
}

TEST_F(ShopScreen, AShopWithoutAPositionOpensNoNearbySearch) {
  answerDetail(R"("fltPositionX": null, "fltPositionY": null)");
  open();
  settle();
  ASSERT_TRUE(input.tap("shopinfo_tab_more"));
  ASSERT_NE(shownSheet(*window), nullptr);
  ASSERT_TRUE(shownSheet(*window)->tapButton("查找这家店附近"));
  EXPECT_EQ(nav->topViewController(), screen.get());
  loop->runFor(seconds(1));
  EXPECT_TRUE(service.targetsWith("/search/").empty());
  EXPECT_EQ(service.targetsWith("x=0.000000"), std::vector<std::string>{});
}

TEST_F(ShopScreen, TheBroadcastCountOpensTheShopsBroadcasts) {
  answerDetail(R"("intMiniCmtCount": 3)");
  open();
  settle();
  ASSERT_TRUE(input.tap("播报"));
  auto* list = dynamic_cast<BroadcastListViewController*>(nav->topViewController());
  ASSERT_NE(list, nullptr) << "pushed on the shop's own stack";
  EXPECT_FALSE(list->showShopName) << "every row is the shop just shown";
  EXPECT_FALSE(list->hasTabbar);
  EXPECT_EQ(list->broadcastListURL(), service.baseURL() + "/shop/42/minicmt?p=0&n=15");
}

TEST_F(ShopScreen, NoBroadcastListWithoutBroadcasts) {
  answerDetail(R"("intMiniCmtCount": 0)");
  open();
  settle();
  NotificationCenter::defaultCenter().post(kShopInfoBroadcastList);
  EXPECT_EQ(nav->topViewController(), screen.get());
}

}  // namespace
}  // namespace lk::test

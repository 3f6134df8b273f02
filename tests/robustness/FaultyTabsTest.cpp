// Every tab against a misbehaving service: answers dropped, cut short, damaged, not JSON and
// error statuses on the requests of the broadcast lists, a shop with its reviews and album, the
// coupon lists, an offer and its SMS, the login and the automatic login, the user centre, a
// shop proposal and feedback. A transport failure
// shows the alert of its code where the screen reports failures; an unusable answer never reads
// as "nothing here"; the client stays usable and its stored state intact.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/robustness/ClientSession.h"

namespace lk::test {
namespace {

// A shop of the sample data in 北京 with 16 reviews, one broadcast, three pictures, and no
// coupons.
constexpr const char* kShop = "1000001";
constexpr const char* kDropped = "错误 / 未知错误,Code:-1005";
constexpr const char* kLoading = "正在载入数据";
constexpr const char* kNoCityBroadcasts = "北京目前没有现场播报";
constexpr const char* kNoShopBroadcasts = "目前没有现场播报";

bool has(const std::string& screen, const std::string& text) {
  return screen.find(text) != std::string::npos;
}

// Rows of the list on screen, as the "rows" command counts them.
int rowCount(ClientSession& client) {
  const std::string rows = client.run("rows");
  int count = 0;
  for (std::size_t at = rows.find("row 0."); at != std::string::npos;
       at = rows.find("row 0.", at + 1)) {
    ++count;
  }
  return count;
}

class FaultyTabs : public ::testing::TestWithParam<const char*> {
 protected:
  void SetUp() override { ASSERT_TRUE(client.serviceRunning()) << client.serviceErrors(); }
  [[nodiscard]] std::string fault() const { return GetParam(); }
  [[nodiscard]] bool dropped() const { return fault() == "drop"; }
  void failing(const std::string& prefix) { client.setFaults(prefix + " " + fault()); }
  void failingAll(const std::vector<std::string>& prefixes) {
    std::string rules;
    for (const auto& prefix : prefixes)
      rules += prefix + " " + fault() + "\n";
    client.setFaults(rules);
  }
  // The alert a list screen that reports transport failures shows for the fault: the code of a
  // dropped connection, nothing for an answer it cannot use.
  [[nodiscard]] std::string listAlert() const { return dropped() ? kDropped : ""; }
  // The login screen's: a dropped exchange is a failed connection; an unusable passport reply
  // is dropped, except a readable document of another kind, which is a bad answer.
  [[nodiscard]] std::string loginAlert() const {
    if (dropped()) return "登录失败 / 服务器连接失败";
    if (fault() == "notjson") return "登录失败 / 服务器返回数据错误";
    return "";
  }

  ClientSession client;
};

TEST_P(FaultyTabs, TheCitysBroadcastsFailWithoutClaimingThereAreNone) {
  failing("/client/index/131/minicmt");
  const std::string failed = client.run("tab 现场播报");
  EXPECT_EQ(ClientSession::alert(), listAlert());
  EXPECT_FALSE(has(failed, kNoCityBroadcasts)) << failed;
  EXPECT_FALSE(has(failed, kLoading)) << failed;
  client.dismissAlert();

  client.setFaults("");
  client.run("pull-down");
  const int loaded = rowCount(client);
  EXPECT_EQ(loaded, 15);

  // A refresh and a next page that fail keep the rows already shown.
  failing("/client/index/131/minicmt");
  client.run("pull-down");
  EXPECT_EQ(ClientSession::alert(), listAlert());
  client.dismissAlert();
  EXPECT_EQ(rowCount(client), loaded);
  client.run("pull-up");
  client.dismissAlert();
  EXPECT_EQ(rowCount(client), loaded);
  EXPECT_FALSE(has(client.run("dump"), kNoCityBroadcasts));

  client.setFaults("");
  client.run("pull-down");
  client.run("pull-up");
  EXPECT_EQ(rowCount(client), 30);
  EXPECT_EQ(client.storedStateDifference(), "");
}

TEST_P(FaultyTabs, AShopWhoseDetailFailsKeepsWhatItHadAndOpensLater) {
  failing("/client/shop/" + std::string(kShop) + "/info");
  const std::string failed = client.run(std::string("shop ") + kShop);
  EXPECT_TRUE(has(failed, "navbar: 商户详情")) << failed;
  EXPECT_FALSE(has(failed, "row 0.0")) << "nothing arrived to show: " << failed;
  EXPECT_FALSE(has(failed, kLoading)) << failed;
  EXPECT_EQ(ClientSession::alert(), "") << "the shop screen reports nothing";
  client.run("back");

  client.setFaults("");
  const std::string shown = client.run(std::string("shop ") + kShop);
  EXPECT_TRUE(has(shown, "糖水铺子")) << shown;
  EXPECT_EQ(client.storedStateDifference(), "");
}

TEST_P(FaultyTabs, ReviewsThatFailKeepThoseLoadedAndSayNothing) {
  const std::string shop = std::string("/client/shop/") + kShop;
  client.run(std::string("shop ") + kShop);
  failing(shop + "/cmt");
  const std::string failed = client.run("tap 点评");
  EXPECT_TRUE(has(failed, "navbar: 点评")) << failed;
  EXPECT_EQ(rowCount(client), 0);
  EXPECT_EQ(ClientSession::alert(), "");
  client.run("back");

  client.setFaults("");
  client.run("tap 点评");
  ASSERT_EQ(rowCount(client), 15);
  // The second page fails: the first stays, and the failed page is not asked for again.
  failing(shop + "/cmt");
  client.run("pull-up");
  EXPECT_EQ(rowCount(client), 15);
  EXPECT_EQ(ClientSession::alert(), "");
  // A review's pager on a list whose next page failed.
  client.run("tap 深夜吃货181");
  EXPECT_EQ(ClientSession::alert(), "");
  client.run("back");
  client.run("back");
  EXPECT_EQ(client.storedStateDifference(), "");
}

TEST_P(FaultyTabs, AShopsBroadcastsAndAlbumFailWithoutHarm) {
  const std::string shop = std::string("/client/shop/") + kShop;
  client.run(std::string("shop ") + kShop);
  failingAll({shop + "/minicmt", shop + "/album"});
  const std::string broadcasts = client.run("tap 现场播报");
  EXPECT_TRUE(has(broadcasts, "navbar: 现场播报")) << broadcasts;
  EXPECT_EQ(ClientSession::alert(), listAlert());
  EXPECT_FALSE(has(broadcasts, kNoShopBroadcasts)) << broadcasts;
  client.dismissAlert();
  client.run("back");

  // The album asked for while the shop opened failed: the album opens on what there is.
  client.run("back");
  client.run(std::string("shop ") + kShop);
  const std::string album = client.run("tap 图片");
  EXPECT_EQ(ClientSession::alert(), "");
  EXPECT_FALSE(has(album, "(session ended)"));
  client.run("tap 返回");

  client.setFaults("");
  client.run("back");
  client.run(std::string("shop ") + kShop);
  EXPECT_TRUE(has(client.run("tap 现场播报"), "今天人超多"));
  EXPECT_EQ(client.storedStateDifference(), "");
}

TEST_P(FaultyTabs, PicturesThatFailLeaveThePlaceholdersAndNothingDamagedStored) {
  // Pictures of the sample data, full-size and thumbnails.
  failingAll({"/pic/", "/abpic/"});
  client.run(std::string("shop ") + kShop);
  client.run("tap 图片");
  client.run("tap 返回");
  client.run("back");
  client.run("tab 现场播报");
  client.run("tap 照片");
  EXPECT_EQ(ClientSession::alert(), "");
  client.run("tap 返回");
  EXPECT_EQ(client.storedStateDifference(), "");
}

TEST_P(FaultyTabs, TheCouponListFailsWithoutClaimingTheCityHasNone) {
  failing("/client/coupon/131/showlist");
  const std::string failed = client.run("tab 优惠");
  // The list reports a transport failure by its code and, rather than show an empty city, an
  // error status too.
  std::string expected = listAlert();
  if (fault() == "status=500") expected = "错误 / 未知错误,Code:500";
  if (fault() == "status=404") expected = "错误 / 请求的资源无法找到.";
  EXPECT_EQ(ClientSession::alert(), expected);
  EXPECT_FALSE(has(failed, "该城市没有优惠信息")) << failed;
  EXPECT_FALSE(has(failed, kLoading)) << failed;
  client.dismissAlert();

  client.setFaults("");
  const std::string shown = client.run("tap 最新");
  EXPECT_GT(rowCount(client), 0) << shown;
  EXPECT_EQ(client.storedStateDifference(), "");
}

TEST_P(FaultyTabs, NearbyOffersThatFailAreNotReportedAsNone) {
  client.run("tab 优惠");
  failing("/client/search/0/q");
  const std::string failed = client.run("tap 附近优惠");
  EXPECT_TRUE(has(failed, "navbar: 附近优惠")) << failed;
  EXPECT_FALSE(has(failed, "您附近目前没有优惠信息")) << failed;
  EXPECT_FALSE(has(failed, kLoading)) << failed;
  EXPECT_EQ(ClientSession::alert(), "") << "the nearby offers fail silently";
  client.run("back");

  client.setFaults("");
  client.run("tap 附近优惠");
  EXPECT_GT(rowCount(client), 0);
  EXPECT_EQ(client.storedStateDifference(), "");
}

TEST_P(FaultyTabs, AnOfferWhoseDetailOrSmsFailsStaysQuietAndUsable) {
  const std::string list = client.run("tab 优惠");
  const auto drawn = list.find("drawn: ");
  ASSERT_NE(drawn, std::string::npos) << list;
  const std::string shopName = list.substr(drawn + 7, list.find(" | ", drawn) - drawn - 7);

  // Every offer's detail fails (the list is loaded already).
  failing("/client/coupon/");
  const std::string failed = client.run("tap " + shopName);
  EXPECT_TRUE(has(failed, "navbar: 优惠详情")) << failed;
  EXPECT_FALSE(has(failed, "适用商户:")) << failed;
  EXPECT_FALSE(has(failed, kLoading)) << failed;
  EXPECT_EQ(ClientSession::alert(), "");
  client.run("back");

  client.setFaults("");
  std::string detail;
  std::size_t at = 0;
  for (int row = 0; row < 6; ++row) {
    at = list.find("drawn: ", at);
    if (at == std::string::npos) break;
    at += 7;
    detail = client.run("tap " + list.substr(at, list.find(" | ", at) - at));
    if (has(detail, "right: [短信下载]")) break;
    client.run("back");
  }
  ASSERT_TRUE(has(detail, "right: [短信下载]")) << detail;
  failing("/client/submit/");
  client.run("tap 短信下载");
  client.run("type 13800138000");
  client.run("alert 发送");
  // A message that never left says so by its code; an answer is not read.
  EXPECT_EQ(ClientSession::alert(), listAlert());
  client.dismissAlert();
  // The failed SMS is over: the offer can be sent again.
  EXPECT_TRUE(has(client.run("tap 短信下载"), "请输入手机号码"));
  client.run("alert 取消");
  EXPECT_EQ(client.storedStateDifference(), "");
}

TEST_P(FaultyTabs, ALoginThatFailsLeavesNoSessionAndNoStoredAccount) {
  failing("/passport/");
  EXPECT_FALSE(client.login("lokavo", "lokavo123"));
  EXPECT_EQ(ClientSession::alert(), loginAlert());
  client.dismissAlert();
  EXPECT_EQ(client.storedStateDifference(), "") << "nothing of the account is stored";

  // The account-state query that follows a passport's success fails the login too.
  failing("/client/user/0/info");
  client.run("tap 密码");
  client.run("return");
  EXPECT_EQ(ClientSession::alert(), "登录失败 / 服务器连接失败");
  EXPECT_FALSE(has(client.run("dump"), "我的现场播报"));
  client.dismissAlert();
  EXPECT_EQ(client.storedStateDifference(), "");

  client.setFaults("");
  client.run("tap 密码");
  client.run("return");
  EXPECT_TRUE(ClientSession::loggedIn());
  EXPECT_TRUE(has(client.run("dump"), "我的现场播报"));
}

TEST_P(FaultyTabs, AnAutomaticLoginThatFailsKeepsTheStoredAccountAndSaysNothing) {
  ASSERT_TRUE(client.login("lokavo", "lokavo123"));
  client.keepStoredState();
  client.run("tab 搜索");

  failingAll({"/passport/", "/client/user/0/info"});
  client.run("background");
  client.run("foreground");
  EXPECT_FALSE(ClientSession::loggedIn());
  // The login screen was used, so it speaks as for a login by hand.
  EXPECT_EQ(ClientSession::alert(), loginAlert());
  client.dismissAlert();
  EXPECT_EQ(client.storedStateDifference(), "") << "the remembered account survives";

  // A new start against the failing service: the same.
  client.restartClient();
  EXPECT_FALSE(ClientSession::loggedIn());
  EXPECT_EQ(ClientSession::alert(), "");
  EXPECT_EQ(client.storedStateDifference(), "");

  client.setFaults("");
  client.run("background");
  client.run("foreground");
  EXPECT_TRUE(ClientSession::loggedIn());
}

TEST_P(FaultyTabs, TheUsersOwnBroadcastsAndCentreFailWithoutClaimingThereAreNone) {
  ASSERT_TRUE(client.login("lokavo", "lokavo123"));
  client.keepStoredState();
  failing("/client/user/0/minicmt");
  const std::string failed = client.run("tap 我的现场播报");
  EXPECT_TRUE(has(failed, "navbar: 现场播报") || has(failed, "navbar: 我的现场播报")) << failed;
  EXPECT_EQ(ClientSession::alert(), listAlert());
  EXPECT_FALSE(has(failed, "赶快发布你的第一条现场播报吧")) << failed;
  client.dismissAlert();
  client.run("back");

  // The centre's profile fails on a new login: the centre keeps what it had.
  failing("/client/user/0/utrail");
  client.run("background");
  client.run("foreground");
  EXPECT_EQ(ClientSession::alert(), "");
  client.setFaults("");
  EXPECT_TRUE(has(client.run("tap 我的现场播报"), "@") || rowCount(client) > 0);
  EXPECT_EQ(client.storedStateDifference(), "");
}

TEST_P(FaultyTabs, FeedbackThatFailsSaysSoKeepsTheTextsAndGoesWhenTriedAgain) {
  client.run("tab 个人中心");
  client.run("tap 更多");
  ASSERT_TRUE(has(client.run("tap 意见反馈"), "section: 您的意见"));
  client.run("tap 您的意见");
  client.run("type 地图上找不到我家附近的店");
  client.run("scroll down");
  client.run("tap 您的邮箱");
  ASSERT_TRUE(has(client.run("type me@example.com"), "right: [提交]"));

  failing("/client/submit/0/reportInfo");
  const std::string failed = client.run("tap 提交");
  EXPECT_TRUE(has(failed, "briefly shown: 提交失败")) << failed;
  EXPECT_FALSE(has(failed, "提交成功")) << failed;
  EXPECT_TRUE(has(failed, "textview: 地图上找不到我家附近的店")) << "the texts stay";
  EXPECT_TRUE(has(failed, "field: me@example.com"));
  EXPECT_EQ(ClientSession::alert(), "");

  client.setFaults("");
  EXPECT_TRUE(has(client.run("tap 提交"), "briefly shown: 提交成功"));
  EXPECT_EQ(client.storedStateDifference(), "");
}

TEST_P(FaultyTabs, AStartAgainstAServiceThatFailsEverythingRecoversOnceItBehaves) {
  ASSERT_TRUE(client.login("lokavo", "lokavo123"));
  client.keepStoredState();
  failing("/");
  client.restartClient();
  EXPECT_FALSE(ClientSession::loggedIn());
  // The search tab's home reports a failed transfer by its code and a position that could not
  // be looked up as such; one box shows, the first failure's.
  const std::string shown = ClientSession::alert();
  if (dropped()) {
    EXPECT_TRUE(shown == kDropped || shown == " / 定位失败") << shown;
  } else {
    EXPECT_EQ(shown, " / 定位失败");
  }
  client.dismissAlert();
  for (const char* tab : {"tab 优惠", "tab 现场播报", "tab 个人中心", "tab 附近", "tab 搜索"})
    client.run(tab);
  client.dismissAlert();
  EXPECT_EQ(client.storedStateDifference(), "");

  client.setFaults("");
  client.run("background");
  client.run("foreground");
  EXPECT_TRUE(ClientSession::loggedIn());
  client.run("search 店");
  EXPECT_EQ(client.shownShops(), 15);
  EXPECT_EQ(client.storedStateDifference(), "");
}

TEST_P(FaultyTabs, AShopProposalThatFailsSaysSoAndKeepsTheForm) {
  ASSERT_TRUE(client.login("lokavo", "lokavo123"));
  client.keepStoredState();
  client.run("tab 搜索");
  client.run("search 街角新开的面馆");
  ASSERT_TRUE(has(client.run("tap 赶快添加商户"), "navbar: 添加商户"));
  // A city and a district, as the form requires.
  client.run("tap 详细地址");
  std::string provinces = client.run("tap 市");
  for (int i = 0; i < 10 && !has(provinces, "label: 广东"); ++i)
    provinces = client.run("scroll down");
  client.run("tap 广东");
  client.run("tap 深圳");
  client.run("tap 区");
  client.run("tap 南山区");
  ASSERT_TRUE(has(client.run("back"), "深圳南山区")) << client.run("dump");

  failing("/client/submit/0/addShop");
  client.run("tap 添加");
  EXPECT_EQ(ClientSession::alert(), " / 操作失败");
  client.dismissAlert();
  EXPECT_TRUE(has(client.run("dump"), "field: 街角新开的面馆")) << "the form keeps what was typed";

  client.setFaults("");
  client.run("tap 添加");
  EXPECT_EQ(ClientSession::alert(), " / 操作成功");
  client.dismissAlert();
  EXPECT_EQ(client.storedStateDifference(), "");
}

INSTANTIATE_TEST_SUITE_P(Faults, FaultyTabs,
                         ::testing::Values("drop", "truncate", "corrupt", "notjson", "status=500",
                                           "status=404"),
                         [](const ::testing::TestParamInfo<const char*>& param) {
                           std::string name = param.param;
                           for (char& c : name) {
                             if (c == '=') c = '_';
                           }
                           return name;
                         });

// Screens left while their answers are still on the way: each must have cancelled its requests
// and those of its records (pictures included), so that late answers reach nobody.
TEST(LateAnswers, ScreensLeftBeforeTheirAnswersArriveHearNothing) {
  ClientSession client;
  ASSERT_TRUE(client.serviceRunning()) << client.serviceErrors();
  client.setFaults("/client/ delay=700\n/pic/ delay=700\n/abpic/ delay=700");
  const std::string shop = std::string("shop ") + kShop;

  client.runWithoutWaiting(shop);
  client.run("back");
  client.run(shop);
  client.runWithoutWaiting("tap 点评");
  client.run("back");
  client.run("tap 点评");
  // A shortened review fetches its full text in the pager.
  client.runWithoutWaiting("tap 资深小王167");
  client.run("back");
  client.run("back");
  client.runWithoutWaiting("tap 现场播报");
  client.run("back");
  client.runWithoutWaiting("tap 图片");
  client.run("tap 返回");
  client.run("back");

  const std::string offers = client.run("tab 优惠");
  const auto drawn = offers.find("drawn: ");
  ASSERT_NE(drawn, std::string::npos) << offers;
  client.runWithoutWaiting("tap " +
                           offers.substr(drawn + 7, offers.find(" | ", drawn) - drawn - 7));
  client.run("back");
  client.runWithoutWaiting("tap 附近优惠");
  client.run("back");

  client.runWithoutWaiting("tab 现场播报");
  client.runWithoutWaiting("tap 照片");
  client.run("tap 返回");
  client.runWithoutWaiting("search 火锅");
  client.run("back");

  client.setFaults("");
  EXPECT_TRUE(has(client.run(shop), "糖水铺子"));
  EXPECT_EQ(ClientSession::alert(), "");
  EXPECT_EQ(client.storedStateDifference(), "");
}

// Answers later than the transfer time-out (20 s) on the two lists that report failures: one
// box says so, and neither list claims to be empty.
TEST(FaultyTimeOut, ListsWhoseAnswersComeTooLateSayTheRequestTimedOut) {
  ClientSession client;
  ASSERT_TRUE(client.serviceRunning()) << client.serviceErrors();
  client.setSettleBound(std::chrono::seconds(30));
  client.setFaults(
      "/client/index/131/minicmt delay=21000 times=1\n"
      "/client/coupon/131/showlist delay=21000 times=1");
  client.runWithoutWaiting("tab 现场播报");
  const std::string coupons = client.run("tab 优惠");
  EXPECT_EQ(ClientSession::alert(), " / 请求超时");
  EXPECT_FALSE(has(coupons, "该城市没有优惠信息")) << coupons;
  EXPECT_FALSE(has(coupons, kLoading)) << coupons;
  client.dismissAlert();
  const std::string broadcasts = client.run("tab 现场播报");
  EXPECT_FALSE(has(broadcasts, kNoCityBroadcasts)) << broadcasts;
  EXPECT_FALSE(has(broadcasts, kLoading)) << broadcasts;
  client.dismissAlert();

  client.run("pull-down");
  EXPECT_EQ(rowCount(client), 15);
  client.run("tab 优惠");
  client.run("tap 最新");
  EXPECT_GT(rowCount(client), 0);
  EXPECT_EQ(client.storedStateDifference(), "");
}

}  // namespace
}  // namespace lk::test

// One session of the command-line front end against the stand-in through the user's own
// screens: the user centre's rows, the browse history, the want and been lists, feedback with a
// failure and a retry, an error report from a shop, "关于我们", the city switched from the more
// screen on the user centre's stack and back, and the logout.
#include <gtest/gtest.h>

#include <string>

#include "Classes/Account/AboutViewController.h"
#include "Classes/LocalState/CacheCenter.h"
#include "Classes/ServiceClient/FormValue.h"
#include "tests/account/AccountSession.h"

namespace lk::test {
namespace {

using MoreEndToEnd = AccountSession;

bool contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

TEST_F(MoreEndToEnd, TheUsersOwnScreensFromLoginToLogout) {
  ASSERT_TRUE(service.running());
  run("shop 1000002");
  run("back");

  const std::string centre = loginThroughScreen("lokavo", "lokavo123");
  EXPECT_TRUE(
      contains(centre,
               "row 0.0 >\n  label: 我的现场播报(17)\nrow 0.1 >\n  label: 我最近浏览的商户\n"
               "row 0.2 >\n  label: 我想去的(21)\nrow 0.3 >\n  label: 我去过的(16)\n"))
      << centre;

  const std::string history = run("tap 我最近浏览的商户");
  EXPECT_TRUE(contains(history, "section: 浏览过的1家商户")) << history;
  run("back");

  const std::string want = run("tap 我想去的");
  EXPECT_TRUE(contains(want, "section: 我想去的21家商户")) << want;
  run("pull-up");
  EXPECT_EQ(received("/client/user/0/want?p=1&n=15&ssid=", 1).size(), 1u);
  run("back");
  const std::string been = run("tap 我去过的");
  EXPECT_TRUE(contains(been, "section: 我去过的16家商户")) << been;
  run("back");

  // Feedback from the more screen of the user centre: the first try fails, the second goes.
  run("tap 更多");
  EXPECT_TRUE(contains(run("tap 意见反馈"), "section: 您的意见"));
  run("tap 您的意见");
  run("type 地图上找不到我家附近的店");
  run("scroll down");
  run("tap 您的邮箱");
  const std::string filled = run("type me@example.com");
  EXPECT_TRUE(contains(filled, "right: [提交]")) << filled;
  setFaults("/client/submit/0/reportInfo status=503 times=1");
  const std::string failed = run("tap 提交");
  EXPECT_TRUE(contains(failed, "briefly shown: 提交失败")) << failed;
  EXPECT_TRUE(contains(failed, "textview: 地图上找不到我家附近的店")) << "the texts stay";
  EXPECT_TRUE(contains(failed, "field: me@example.com"));
  const std::string sent = run("tap 提交");
  EXPECT_TRUE(contains(sent, "briefly shown: 提交成功")) << sent;
  EXPECT_TRUE(contains(sent, "navbar: 更多  left: [个人中心]")) << "back on the more screen";
  const auto reports = received("/client/submit/0/reportInfo", 2);
  ASSERT_EQ(reports.size(), 2u);
  EXPECT_EQ(reports[1].method, "POST");
  EXPECT_TRUE(
      contains(reports[1].body, "mode=3&content=" + FormValue::escape("地图上找不到我家附近的店") +
                                    "&email=me%40example.com&xda_did="))
      << reports[1].body;

  const std::string about = run("tap 关于我们");
  EXPECT_TRUE(contains(about, "label: 1.0.0")) << about;
  const std::string opened = run(std::string("tap ") + AboutViewController::kWebsite);
  EXPECT_TRUE(contains(opened, "opened: http://" + std::string(AboutViewController::kWebsite)))
      << opened;
  run("back");

  // To 成都 (no coupons) and back to 北京 from the more screen on the user centre's stack.
  run("tap 切换城市");
  run("scroll down");
  const std::string chengdu = run("tap 成都");
  EXPECT_TRUE(contains(chengdu, "navbar: 搜索  right: [成都]")) << chengdu;
  EXPECT_TRUE(contains(chengdu, "tabbar: [搜索] | 附近 | 现场播报 | 个人中心 | 更多"));
  run("tab 更多");
  run("tap 切换城市");
  const std::string beijing = run("tap 北京");
  EXPECT_EQ(CacheCenter::sharedInstance().currentCity()->id(), 131);
  EXPECT_TRUE(contains(beijing, "tabbar: [搜索] | 附近 | 优惠 | 现场播报 | 个人中心")) << beijing;

  // An error report from a shop's more sheet.
  run("shop 1000002");
  run("tap shopinfo_tab_more");
  const std::string report = run("alert 报错");
  EXPECT_TRUE(contains(report, "navbar: 报错  left: [商户详情]")) << report;
  EXPECT_TRUE(contains(report, "section: 错误内容"));
  run("tap 错误内容");
  run("type 已经搬走了");
  run("scroll down");
  run("tap 您的邮箱");
  run("type me@example.com");
  EXPECT_TRUE(contains(run("tap 提交"), "briefly shown: 提交成功"));
  const auto errors = received("/client/submit/0/reportError", 1);
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_TRUE(contains(errors[0].body, "shop_id=1000002&content="));
  EXPECT_TRUE(contains(errors[0].body, "&xda_from=iPhone&xda_page=ReportError"));
  run("back");

  run("tab 个人中心");
  run("tap 更多");
  run("tap 注销");
  const std::string gone = run("alert 注销");
  EXPECT_TRUE(contains(gone, "label: 用户名")) << gone;
  EXPECT_TRUE(contains(run("account"), "not logged in (remembered name: lokavo)"));
  EXPECT_FALSE(CacheCenter::sharedInstance().password().has_value());
}

}  // namespace
}  // namespace lk::test

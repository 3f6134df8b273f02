// The "个人中心" tab against the stand-in: the login screen covering it, the profile header and
// rows once logged in, and what logging out leaves.
#include <gtest/gtest.h>

#include "Classes/Account/Home.h"
#include "Classes/Account/HomeTableViewHeader.h"
#include "Classes/Account/HomeViewController.h"
#include "Classes/Account/LoginViewController.h"
#include "Classes/Shell/lokavoAppDelegate.h"
#include "Classes/Util/Utility.h"
#include "Platform/UI/BarButtonItem.h"
#include "tests/account/AccountSession.h"

namespace lk::test {
namespace {

using UserCentre = AccountSession;
using Tab = lokavoAppDelegate::Tab;

bool contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

TEST_F(UserCentre, LoginCoversTheTabUntilSomeoneLogsIn) {
  const std::string covered = run("tab 个人中心");
  EXPECT_TRUE(contains(covered, "label: 用户名")) << covered;
  EXPECT_TRUE(contains(covered, "field: (empty) (focused)"));
  EXPECT_TRUE(contains(covered, "label: 可用Quorza帐号直接登录"));
  EXPECT_FALSE(contains(covered, "我的现场播报"));
  EXPECT_FALSE(login().canBeCancelled());
  EXPECT_TRUE(received("/client/user/0/utrail").empty()) << "no session, no profile request";
}

TEST_F(UserCentre, ProfileHeaderAndRowsForTheLoggedInUser) {
  const std::string shown = loginThroughScreen("lokavo", "lokavo123");
  auto* home = dynamic_cast<HomeViewController*>(session->appDelegate().rootOf(Tab::kHome));
  ASSERT_NE(home, nullptr);
  ASSERT_NE(home->home(), nullptr);
  const Home& record = *home->home();
  EXPECT_FALSE(contains(shown, "label: 用户名")) << shown;
  EXPECT_TRUE(contains(shown, "label: 小吃货")) << shown;
  EXPECT_TRUE(contains(shown, "image: userlevel_" + std::to_string(record.level)));
  EXPECT_TRUE(
      contains(shown, "label: 我的现场播报(" + std::to_string(record.broadcastCount) + ")"));
  EXPECT_TRUE(contains(shown, "label: 我最近浏览的商户"));
  EXPECT_TRUE(
      contains(shown, "row 0.2 >\n  label: 我想去的(21)\nrow 0.3 >\n  label: 我去过的(16)\n"))
      << "the want and been counts follow the Part's two rows";
  EXPECT_TRUE(contains(shown, "image: 46x46 bitmap")) << "the avatar, clipped";
  ASSERT_TRUE(record.lastBroadcastLocation.get().has_value());
  EXPECT_TRUE(contains(shown, "label: @" + *record.lastBroadcastLocation.get()));
  EXPECT_TRUE(contains(shown, "label: " + record.lastBroadcastTimeString()));
  EXPECT_EQ(home->header()->nameLabel()->frame().width(), HomeTableViewHeader::kNarrowNameWidth);
  EXPECT_EQ(record.wantCount, 21);
  EXPECT_EQ(record.beenCount, 16);

  const auto profile = received("/client/user/0/utrail", 1);
  ASSERT_EQ(profile.size(), 1u);
  EXPECT_TRUE(contains(profile[0].target, "&xda_from=iPhone&xda_page=Home&tn=gz"));
  EXPECT_EQ(received("/client/user/" + record.uid + "/minicmt?p=0&n=1&tn=gz", 1).size(), 1u);

  EXPECT_TRUE(contains(run("tap 我最近浏览的商户"), "navbar: 最近浏览  left: [个人中心]"));
  run("back");
  // The own broadcasts ask with the current session.
  const std::string own = run("tap 我的现场播报");
  EXPECT_TRUE(contains(own, "现场播报")) << own;
  const auto ownPages = received("/client/user/0/minicmt", 1);
  ASSERT_EQ(ownPages.size(), 1u);
  EXPECT_TRUE(contains(ownPages[0].target, "?p=0&n=15&ssid=")) << ownPages[0].target;
  run("back");
  EXPECT_EQ(received("/client/user/0/utrail", 3).size(), 3u) << "coming back refreshes it";

  // Each appearance refreshes the profile.
  run("tab 搜索");
  run("tab 个人中心");
  EXPECT_EQ(received("/client/user/0/utrail", 4).size(), 4u);
}

TEST_F(UserCentre, LogoutEmptiesTheHeaderAndTheLoginCoversItAgain) {
  loginThroughScreen("lokavo", "lokavo123");
  auto* home = dynamic_cast<HomeViewController*>(session->appDelegate().rootOf(Tab::kHome));
  ASSERT_NE(home, nullptr);
  login().logout();
  EXPECT_EQ(home->header()->home(), nullptr);
  EXPECT_EQ(home->header()->nameLabel()->text(), "");
  EXPECT_FALSE(home->header()->showsDialog());
  EXPECT_NE(home->home(), nullptr) << "the record stays";
  run("tab 搜索");
  const std::string again = run("tab 个人中心");
  EXPECT_TRUE(contains(again, "label: 用户名")) << again;
  EXPECT_FALSE(contains(again, "label: 小吃货"));

  // Logging in again fills the same record.
  const Home* record = home->home().get();
  run("tap 密码");
  run("type lokavo123");
  const std::string back = run("return");
  EXPECT_TRUE(contains(back, "label: 小吃货")) << back;
  EXPECT_EQ(home->home().get(), record);
}

TEST_F(UserCentre, LogoutCancelsItsRequestsAndNoSessionGoesIntoAnAddress) {
  loginThroughScreen("lokavo", "lokavo123");
  auto* home = dynamic_cast<HomeViewController*>(session->appDelegate().rootOf(Tab::kHome));
  ASSERT_NE(home, nullptr);
  const std::size_t profiles = received("/client/user/0/utrail", 1).size();
  const std::size_t latest = received("/minicmt", 1).size();

  setFaults("/client/user/0/utrail delay=500");
  home->homeRequest();
  ASSERT_NE(home->profileRequest(), nullptr);
  login().logout();
  EXPECT_EQ(home->profileRequest(), nullptr);
  EXPECT_EQ(home->bcRequest(), nullptr);
  loop->runFor(std::chrono::milliseconds(900));
  EXPECT_EQ(home->header()->home(), nullptr);
  EXPECT_EQ(received("/minicmt").size(), latest) << "no follow-up of a cancelled profile";

  setFaults("");
  home->homeRequest();
  home->broadcastComposed();
  EXPECT_EQ(home->profileRequest(), nullptr);
  run("wait 300");
  for (const auto& r : received("/client/user/0/utrail")) {
    EXPECT_FALSE(contains(r.target, "ssid=&")) << r.target;
  }
  EXPECT_LE(received("/client/user/0/utrail").size(), profiles + 1);
}

TEST_F(UserCentre, MoreButtonOnlyWhileTheTabBarHasNoMoreTab) {
  loginThroughScreen("lokavo", "lokavo123");
  auto* home = dynamic_cast<HomeViewController*>(session->appDelegate().rootOf(Tab::kHome));
  ASSERT_NE(home, nullptr);
  EXPECT_TRUE(home->needsMore());
  ASSERT_NE(home->navigationItem().rightBarButtonItem, nullptr);
  const std::string before = run("dump");
  EXPECT_TRUE(contains(before, "right: [更多]"));
  EXPECT_TRUE(contains(run("tap 更多"), "navbar: 更多  left: [个人中心]"));
  run("back");

  run("city 杭州");
  EXPECT_FALSE(home->needsMore());
  const std::string shown = run("tab 个人中心");
  EXPECT_FALSE(contains(shown, "right: [更多]")) << shown;
  EXPECT_EQ(home->navigationItem().rightBarButtonItem, nullptr);
}

}  // namespace
}  // namespace lk::test

// The "更多" screen against the stand-in, as the tab's root and pushed on the user centre's
// stack: its rows with and without a login, logging out, and switching the city, with the
// screens that a switch or a logout takes away released only after the call that removed them.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "Classes/Account/AccountNotifications.h"
#include "Classes/Account/LoginViewController.h"
#include "Classes/Account/MoreViewController.h"
#include "Classes/LocalState/CacheCenter.h"
#include "Classes/Search/ProvincePickerViewController.h"
#include "Classes/Shell/lokavoAppDelegate.h"
#include "Platform/Notifications/NotificationCenter.h"
#include "Platform/UI/NavigationController.h"
#include "Platform/UI/TableView.h"
#include "Platform/UI/TableViewCell.h"
#include "tests/account/AccountSession.h"

namespace lk::test {
namespace {

using MoreScreen = AccountSession;
using Tab = lokavoAppDelegate::Tab;

bool contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

int currentCityId() {
  auto city = CacheCenter::sharedInstance().currentCity();
  return city ? city->id() : 0;
}

std::vector<std::weak_ptr<ui::ViewController>> screensOf(const ui::NavigationController& nav) {
  std::vector<std::weak_ptr<ui::ViewController>> all;
  for (const auto& vc : nav.viewControllers())
    all.push_back(vc);
  return all;
}

TEST_F(MoreScreen, RowsFollowTheLogin) {
  run("city 杭州");
  const std::string loggedOut = run("tab 更多");
  EXPECT_TRUE(contains(loggedOut,
                       "row 0.0 >\n  label: 切换城市\nrow 0.1 >\n  label: 意见反馈\n"
                       "row 0.2 >\n  label: 关于我们\nrow 0.3 >\n  label: 我最近浏览的商户\n"))
      << loggedOut;
  EXPECT_TRUE(contains(loggedOut, "navbar: 更多\n")) << "the tab's root has no back button";

  loginThroughScreen("lokavo", "lokavo123");
  const std::string in = run("tab 更多");
  EXPECT_TRUE(contains(in, "row 0.3\n  label: 注销\n")) << in;
  auto* more = dynamic_cast<MoreViewController*>(session->appDelegate().rootOf(Tab::kMore));
  ASSERT_NE(more, nullptr);
  auto cell = more->tableView()->cellForRowAtIndexPath({0, 3});
  ASSERT_NE(cell, nullptr);
  EXPECT_EQ(cell->textLabel()->textAlignment(), ui::TextAlignment::kCenter);
  EXPECT_EQ(cell->accessoryType, ui::TableViewCell::Accessory::kNone);

  // The rows follow the session wherever it ends.
  login().logout();
  cell = more->tableView()->cellForRowAtIndexPath({0, 3});
  ASSERT_NE(cell, nullptr);
  EXPECT_EQ(cell->textLabel()->text(), "我最近浏览的商户");
  EXPECT_EQ(cell->textLabel()->textAlignment(), ui::TextAlignment::kLeft);
  EXPECT_EQ(cell->accessoryType, ui::TableViewCell::Accessory::kDisclosureIndicator);
  EXPECT_TRUE(contains(run("tap 我最近浏览的商户"), "navbar: 最近浏览  left: [更多]"));
}

TEST_F(MoreScreen, LogoutFromTheUserCentresMoreScreen) {
  loginThroughScreen("lokavo", "lokavo123");
  int logouts = 0;
  auto token = NotificationCenter::defaultCenter().addObserver(
      kLogoutSucceed, [&logouts](const Notification&) { ++logouts; });
  const auto& hc = *session->appDelegate().hcNavCtl();
  EXPECT_TRUE(contains(run("tap 更多"), "navbar: 更多  left: [个人中心]"));
  const std::string asked = run("tap 注销");
  EXPECT_TRUE(contains(asked, "sheet: 确定要注销吗\n  buttons: [注销]! [取消]")) << asked;

  // "取消" changes nothing.
  const std::string kept = run("alert 取消");
  EXPECT_TRUE(login().isLogin());
  EXPECT_TRUE(contains(kept, "label: 注销")) << kept;
  EXPECT_EQ(logouts, 0);

  run("tap 注销");
  const auto leaving = screensOf(hc);
  ASSERT_EQ(leaving.size(), 2u);
  const std::string after = run("alert 注销");
  EXPECT_FALSE(login().isLogin());
  EXPECT_FALSE(CacheCenter::sharedInstance().password().has_value()) << "the password is gone";
  EXPECT_EQ(CacheCenter::sharedInstance().username(), "lokavo") << "the name stays";
  EXPECT_EQ(logouts, 1);
  EXPECT_EQ(hc.viewControllers().size(), 1u) << "the more screen leaves";
  EXPECT_TRUE(contains(after, "label: 用户名")) << "the login covers the user centre: " << after;
  EXPECT_TRUE(contains(after, "navbar: 个人中心"));
  EXPECT_TRUE(leaving[1].expired()) << "released once the tap was through";
}

TEST_F(MoreScreen, LogoutAtTheTabsRootStaysThere) {
  run("city 杭州");
  loginThroughScreen("lokavo", "lokavo123");
  run("tab 更多");
  run("tap 注销");
  const std::string after = run("alert 注销");
  EXPECT_FALSE(login().isLogin());
  EXPECT_TRUE(contains(after, "navbar: 更多\n")) << after;
  EXPECT_TRUE(contains(after, "row 0.3 >\n  label: 我最近浏览的商户\n")) << after;
}

// From a city with coupons on the user centre's stack to one without, and back from the "更多"
// tab that then shows: every screen the switch takes away lives until the switch is through.
TEST_F(MoreScreen, SwitchingTheCityFromBothPlaces) {
  ASSERT_EQ(currentCityId(), 131);
  loginThroughScreen("lokavo", "lokavo123");
  const auto& hc = *session->appDelegate().hcNavCtl();
  const auto& mc = *session->appDelegate().mcNavCtl();
  run("tap 更多");
  const std::string picker = run("tap 切换城市");
  EXPECT_TRUE(contains(picker, "navbar: 切换城市  left: [返回]")) << picker;
  EXPECT_TRUE(contains(picker, "section: 热门城市")) << picker;
  auto* province = dynamic_cast<ProvincePickerViewController*>(hc.topViewController());
  ASSERT_NE(province, nullptr);
  EXPECT_TRUE(province->hasTabbar);
  EXPECT_TRUE(province->isCascadeCity);
  const auto onHc = screensOf(hc);
  run("scroll down");
  const std::string chengdu = run("tap 成都");
  EXPECT_EQ(currentCityId(), 75);
  EXPECT_TRUE(contains(chengdu, "tabbar: [搜索] | 附近 | 现场播报 | 个人中心 | 更多")) << chengdu;
  EXPECT_EQ(hc.viewControllers().size(), 1u);
  for (std::size_t i = 1; i < onHc.size(); ++i)
    EXPECT_TRUE(onHc[i].expired()) << "screen " << i << " of the user centre's stack";

  run("tab 更多");
  run("tap 切换城市");
  ASSERT_EQ(mc.viewControllers().size(), 2u);
  const auto onMc = screensOf(mc);
  // The province opens its cities on the same stack; a city comes back to the more screen.
  run("scroll down");
  run("scroll down");
  const std::string cityList = run("tap 北京市");
  ASSERT_TRUE(contains(cityList, "navbar: 北京市  left: [返回]")) << cityList;
  const auto cities = screensOf(mc);
  ASSERT_EQ(cities.size(), 3u);
  const std::string beijing = run("tap 北京");
  EXPECT_EQ(currentCityId(), 131);
  EXPECT_TRUE(contains(beijing, "tabbar: [搜索] | 附近 | 优惠 | 现场播报 | 个人中心")) << beijing;
  EXPECT_EQ(mc.viewControllers().size(), 1u) << "the tab that left the bar is back at its root";
  EXPECT_TRUE(cities[1].expired());
  EXPECT_TRUE(cities[2].expired());
  EXPECT_FALSE(onMc[0].expired()) << "the tab's root stays";

  // And on the user centre's stack from a coupon city to another one.
  run("tab 个人中心");
  run("tap 更多");
  run("tap 切换城市");
  run("tap 上海");
  EXPECT_EQ(currentCityId(), 289);
  EXPECT_EQ(hc.viewControllers().size(), 1u);
}

}  // namespace
}  // namespace lk::test

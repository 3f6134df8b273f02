// The user's own lists against the stand-in: the want and been lists paged by 15, what they do
// without a session, and the browse history with its "清空".
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "Classes/Account/LoginViewController.h"
#include "Classes/LocalState/CacheCenter.h"
#include "Classes/Records/ShopInfo.h"
#include "Classes/Search/BrowseHistoryViewController.h"
#include "Classes/Search/WantBeenViewController.h"
#include "Classes/Shell/lokavoAppDelegate.h"
#include "Platform/UI/NavigationController.h"
#include "Platform/UI/TableView.h"
#include "tests/account/AccountSession.h"

namespace lk::test {
namespace {

bool contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

class ListsOnTheUserCentre : public AccountSession {
 protected:
  ui::NavigationController& hc() { return *session->appDelegate().hcNavCtl(); }
  template <typename T>
  T* top() {
    return dynamic_cast<T*>(hc().topViewController());
  }
  int rows(LKTableViewController& list) { return list.tableView()->numberOfRowsInSection(0); }
};

TEST_F(ListsOnTheUserCentre, TheWantListPagesByFifteen) {
  loginThroughScreen("lokavo", "lokavo123");
  const std::string first = run("tap 我想去的");
  EXPECT_TRUE(contains(first, "section: 我想去的21家商户")) << first;
  EXPECT_TRUE(contains(first, "navbar: 我想去的  left: [个人中心]")) << first;
  EXPECT_FALSE(contains(first, "全部区域")) << "no filter header";
  auto* list = top<WantBeenViewController>();
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(list->resultList().size(), 15u);
  EXPECT_NE(list->refreshFooterView(), nullptr) << "a full page offers more";
  const auto pages = received("/client/user/0/want", 1);
  ASSERT_EQ(pages.size(), 1u);
  EXPECT_TRUE(contains(pages[0].target, "/client/user/0/want?p=0&n=15&ssid=")) << pages[0].target;
  EXPECT_TRUE(contains(pages[0].target, "&tn=gz"));

  run("pull-up");
  ASSERT_EQ(received("/client/user/0/want", 2).size(), 2u);
  EXPECT_TRUE(contains(received("/client/user/0/want")[1].target, "?p=1&n=15&ssid="));
  EXPECT_EQ(list->resultList().size(), 21u);
  EXPECT_EQ(list->refreshFooterView(), nullptr) << "6 shops end the paging";
  EXPECT_EQ(rows(*list), 21) << "no add-shop row";
  // The shop that has gone keeps its id; its name, address and score come as null.
  const auto& gone = *list->resultList().back();
  EXPECT_EQ(gone.shopId(), "999999");
  EXPECT_EQ(gone.strName(), "");
  EXPECT_EQ(gone.strAddress(), "");
  EXPECT_EQ(gone.fltScoreTotal(), 0.0F);
  EXPECT_NE(list->resultList().front()->strName(), "");

  run("pull-up");
  EXPECT_EQ(received("/client/user/0/want").size(), 2u) << "nothing after the last page";
}

// A load while the page is on its way asks for nothing more.
TEST_F(ListsOnTheUserCentre, AListDoesNotAskForAPageTwice) {
  loginThroughScreen("lokavo", "lokavo123");
  auto list = std::make_shared<WantBeenViewController>(WantBeenViewController::kWantType);
  hc().pushViewController(list, false);
  ASSERT_NE(list->listRequest(), nullptr) << "the first page is on its way";
  list->startLoadingData();
  list->searchRequest();
  run("wait 300");
  EXPECT_EQ(received("/client/user/0/want").size(), 1u);
  EXPECT_EQ(list->resultList().size(), 15u) << "the page arrived once";
}

TEST_F(ListsOnTheUserCentre, TheBeenListAsksForBeen) {
  loginThroughScreen("lokavo", "lokavo123");
  const std::string shown = run("tap 我去过的");
  EXPECT_TRUE(contains(shown, "section: 我去过的16家商户")) << shown;
  EXPECT_TRUE(contains(shown, "navbar: 我去过的")) << shown;
  ASSERT_EQ(received("/client/user/0/been?p=0&n=15&ssid=", 1).size(), 1u);
  run("pull-up");
  ASSERT_EQ(received("/client/user/0/been?p=1&n=15&ssid=", 1).size(), 1u);
  auto* list = top<WantBeenViewController>();
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(list->type(), WantBeenViewController::kBeenType);
  EXPECT_EQ(list->resultList().size(), 16u);
  // A row opens its shop.
  const std::string name = list->resultList().back()->strName();
  const std::string shop = run("tap \"" + name + "\"");
  EXPECT_TRUE(contains(shop, "navbar: 商户详情  left: [我去过的]")) << shop;
  EXPECT_TRUE(contains(shop, "drawn: " + name)) << shop;
}

// Without a session no list request goes out (no "ssid" of nobody in a URL), and the list does
// not stay loading.
TEST_F(ListsOnTheUserCentre, WithoutASessionNothingIsAsked) {
  loginThroughScreen("lokavo", "lokavo123");
  run("tap 我想去的");
  auto* list = top<WantBeenViewController>();
  ASSERT_NE(list, nullptr);
  login().logout();
  run("pull-up");
  EXPECT_EQ(received("/client/user/0/want").size(), 1u);
  EXPECT_FALSE(list->isLoading);
  EXPECT_EQ(list->listRequest(), nullptr);

  auto fresh = std::make_shared<WantBeenViewController>(WantBeenViewController::kWantType);
  hc().pushViewController(fresh, false);
  run("wait 100");
  EXPECT_EQ(received("/client/user/0/want").size(), 1u);
  EXPECT_EQ(fresh->listRequest(), nullptr);
  EXPECT_TRUE(fresh->loadingView == nullptr || fresh->loadingView->superview() == nullptr)
      << "the loading overlay goes";
  EXPECT_EQ(fresh->tableView()->numberOfRowsInSection(0), 0);
  const std::string dump = run("dump");
  EXPECT_FALSE(contains(dump, "0家商户")) << "no list is not an empty list: " << dump;
}

TEST_F(ListsOnTheUserCentre, BrowseHistoryShowsTheOpenedShopsAndForgetsThem) {
  loginThroughScreen("lokavo", "lokavo123");
  const std::string empty = run("tap 我最近浏览的商户");
  EXPECT_TRUE(contains(empty, "section: 浏览过的0家商户")) << empty;
  EXPECT_FALSE(contains(empty, "row 0.0")) << "no add-shop row either";
  EXPECT_TRUE(contains(empty, "navbar: 最近浏览  left: [个人中心]  right: [清空]")) << empty;
  run("back");

  run("tab 搜索");
  for (const char* id : {"1000003", "1000002", "1000001"}) {
    run(std::string("shop ") + id);
    run("back");
  }
  const std::string centre = run("tab 个人中心");
  ASSERT_EQ(hc().viewControllers().size(), 1u) << centre;
  ASSERT_TRUE(contains(centre, "我最近浏览的商户")) << centre;
  const std::string three = run("tap 我最近浏览的商户");
  EXPECT_TRUE(contains(three, "section: 浏览过的3家商户")) << three;
  auto* list = top<BrowseHistoryViewController>();
  ASSERT_NE(list, nullptr);
  const auto& stored = CacheCenter::sharedInstance().shopBrowseHistory();
  ASSERT_EQ(stored.size(), 3u);
  ASSERT_EQ(list->resultList().size(), 3u);
  EXPECT_EQ(list->resultList()[0]->shopId(), "1000001");
  EXPECT_EQ(list->resultList()[2]->shopId(), "1000003");

  // Opening the oldest moves it to the front of the stored history; the list shows that order
  // once it is back.
  const std::string oldest = list->resultList()[2]->strName();
  EXPECT_TRUE(contains(run("tap \"" + oldest + "\""), "drawn: " + oldest));
  EXPECT_EQ(CacheCenter::sharedInstance().shopBrowseHistory().front()->shopId(), "1000003");
  EXPECT_EQ(list->resultList()[2]->shopId(), "1000003") << "the screen's own list stays meanwhile";
  run("back");
  EXPECT_EQ(list->resultList().front()->shopId(), "1000003");

  // "清空" asks first; "取消" keeps everything.
  const std::string asked = run("tap 清空");
  EXPECT_TRUE(contains(asked, "sheet: 确定要清空浏览记录吗\n  buttons: [清空]! [取消]")) << asked;
  run("alert 取消");
  EXPECT_EQ(CacheCenter::sharedInstance().shopBrowseHistory().size(), 3u);
  EXPECT_EQ(list->resultList().size(), 3u);

  run("tap 清空");
  const std::string cleaned = run("alert 清空");
  EXPECT_TRUE(contains(cleaned, "section: 浏览过的0家商户")) << cleaned;
  EXPECT_FALSE(contains(cleaned, "row 0.0"));
  EXPECT_TRUE(CacheCenter::sharedInstance().shopBrowseHistory().empty());
  restartClient();
  EXPECT_TRUE(CacheCenter::sharedInstance().shopBrowseHistory().empty()) << "stored empty";
}

}  // namespace
}  // namespace lk::test

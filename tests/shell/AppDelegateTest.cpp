#include "Classes/Shell/lokavoAppDelegate.h"

#include <gtest/gtest.h>

#include "Classes/Account/HomeViewController.h"
#include "Classes/Account/MoreViewController.h"
#include "Classes/Broadcasts/BroadcastListViewController.h"
#include "Classes/LocalState/CacheCenter.h"
#include "Classes/ServiceClient/HttpRequestCacheCenter.h"
#include "Classes/Toolkit/TabRootScreen.h"
#include "Platform/Resources/AppResources.h"
#include "Platform/Storage/UserDefaults.h"
#include "Platform/UI/Application.h"
#include "Platform/UI/NavigationController.h"
#include "Platform/UI/TabBarController.h"
#include "Platform/UI/Window.h"
#include "tests/support/ScopedClientStorage.h"
#include "tests/support/TestSupport.h"

namespace lk {
namespace {

using Tab = lokavoAppDelegate::Tab;

// A root screen that records what the delegate asks of it.
struct RecordingRoot : ui::ViewController, TabRootScreen {
  void newGPS() override { ++newGPSCalls; }
  void checkData() override { ++checkDataCalls; }
  void setNeedsMore(bool v) override { needsMore = v; }
  void setHasTabbar(bool v) override { hasTabbar = v; }
  int newGPSCalls = 0;
  int checkDataCalls = 0;
  bool needsMore = false;
  bool hasTabbar = false;
};

class RecordingAppDelegate : public lokavoAppDelegate {
 public:
  RecordingRoot& root(Tab tab) { return *roots_.at(static_cast<std::size_t>(tab)); }
  int built = 0;

 protected:
  std::shared_ptr<ui::ViewController> makeRootScreen(Tab tab) override {
    ++built;
    auto root = std::make_shared<RecordingRoot>();
    roots_.at(static_cast<std::size_t>(tab)) = root.get();
    return root;
  }

 private:
  std::array<RecordingRoot*, kTabCount> roots_{};
};

// A root whose construction is the cache centre's first use (as a screen that reads the current
// city when it is made): restoring the stored city installs a tab set while the stacks are built.
class CityReadingAppDelegate : public RecordingAppDelegate {
 protected:
  std::shared_ptr<ui::ViewController> makeRootScreen(Tab tab) override {
    if (tab == Tab::kSearch) (void)CacheCenter::sharedInstance().currentCity();
    return RecordingAppDelegate::makeRootScreen(tab);
  }
};

class AppDelegateTest : public ::testing::Test {
 protected:
  void SetUp() override { ui::Application::resetSharedInstanceForTesting(); }
  void TearDown() override {
    CacheCenter::resetSharedInstanceForTesting();
    ui::Application::resetSharedInstanceForTesting();
  }
  void storeCity(int id, const char* name) {
    storage_.store().setInteger(kCurrentCityId, id);
    storage_.store().setString(kCurrentCityName, name);
  }
  void launch(lokavoAppDelegate& delegate) {
    app().setDelegate(&delegate);
    EXPECT_TRUE(app().launch());
  }
  static ui::Application& app() { return ui::Application::shared(); }
  static std::vector<std::string> tabTitles(const lokavoAppDelegate& d) {
    std::vector<std::string> titles;
    for (const auto& vc : d.tabBarController()->viewControllers()) {
      titles.push_back(vc->tabBarItem().title);
    }
    return titles;
  }

  test::ScopedMainLoop loop_;
  test::ScopedClientStorage storage_;
};

const std::vector<std::string> kCouponSet{"搜索", "附近", "优惠", "现场播报", "个人中心"};
const std::vector<std::string> kMoreSet{"搜索", "附近", "现场播报", "个人中心", "更多"};

TEST_F(AppDelegateTest, FirstLaunchShowsTheCouponSetOnTheSearchTab) {
  RecordingAppDelegate d;
  launch(d);
  EXPECT_EQ(tabTitles(d), kCouponSet);
  EXPECT_EQ(d.tabBarController()->selectedIndex(), 0);
  EXPECT_EQ(d.tabBarController()->selectedViewController(), d.scNavCtl().get());
  EXPECT_TRUE(d.root(Tab::kHome).needsMore);
  EXPECT_TRUE(d.root(Tab::kBroadcast).hasTabbar);
  EXPECT_FALSE(d.root(Tab::kNearby).hasTabbar);
  EXPECT_TRUE(d.window()->isKeyWindow());
  EXPECT_EQ(d.window()->rootViewController(), d.tabBarController().get());
  EXPECT_EQ(d.tabBarController()->delegate(), &d);
  EXPECT_EQ(app().dumpScreen(),
            "navbar: 搜索\ntabbar: [搜索] | 附近 | 优惠 | 现场播报 | 个人中心\n");
}

TEST_F(AppDelegateTest, StoredCityWithoutCouponsShowsTheMoreTab) {
  storeCity(75, "成都");
  RecordingAppDelegate d;
  launch(d);
  EXPECT_EQ(tabTitles(d), kMoreSet);
  EXPECT_FALSE(d.root(Tab::kHome).needsMore);
  EXPECT_EQ(d.tabBarController()->selectedIndex(), 0);
}

TEST_F(AppDelegateTest, ACityRestoredWhileTheStacksAreBuiltWaitsForThemAll) {
  storeCity(75, "成都");
  CacheCenter::resetSharedInstanceForTesting();
  CityReadingAppDelegate d;
  launch(d);
  EXPECT_EQ(d.built, 6) << "every stack is built once, not again from inside the first";
  EXPECT_EQ(tabTitles(d), kMoreSet);
  for (std::size_t i = 0; i < lokavoAppDelegate::kTabCount; ++i) {
    ASSERT_NE(d.stack(static_cast<Tab>(i)), nullptr);
    EXPECT_EQ(d.stack(static_cast<Tab>(i))->viewControllers().size(), 1U);
  }
}

TEST_F(AppDelegateTest, SixStacksAreBuiltOnceWithTitlesIconsAndTags) {
  RecordingAppDelegate d;
  launch(d);
  EXPECT_EQ(d.built, 6);
  const std::array<std::pair<const char*, const char*>, 6> expected{{
      {"搜索", "tabbar_item_search.png"},
      {"附近", "tabbar_item_nearby.png"},
      {"优惠", "tabbar_item_coupon.png"},
      {"现场播报", "tabbar_item_broadcast.png"},
      {"个人中心", "tabbar_item_home.png"},
      {"更多", "tabbar_item_more.png"},
  }};
  for (std::size_t i = 0; i < 6; ++i) {
    const Tab tab = static_cast<Tab>(i);
    auto& root = d.root(tab);
    EXPECT_EQ(d.rootOf(tab), &root);
    EXPECT_EQ(root.title(), expected[i].first);
    EXPECT_EQ(root.tabBarItem().title, expected[i].first);
    EXPECT_EQ(root.tabBarItem().image.name(), expected[i].second);
    EXPECT_EQ(root.tabBarItem().tag, 0);
    // A graphical front end finds the icon among the application's resources.
    const std::string icon = expected[i].second;
    EXPECT_TRUE(AppResources::pathForResource(icon.substr(0, icon.size() - 4), "png")) << icon;
  }
  auto search = d.scNavCtl();
  d.loadAllControllers();
  d.loadTabControllersWithoutCoupon();
  d.loadTabControllersWithCoupon();
  EXPECT_EQ(d.built, 6);
  EXPECT_EQ(d.scNavCtl(), search);
}

TEST_F(AppDelegateTest, CityOutsideTheCouponCitiesSwitchesSetSelectsSearchAndPopsStacks) {
  RecordingAppDelegate d;
  launch(d);
  ASSERT_TRUE(d.tabBarController()->selectTabAsUser(3));  // 现场播报
  d.bcNavCtl()->pushViewController(std::make_shared<ui::ViewController>(), false);
  d.scNavCtl()->pushViewController(std::make_shared<ui::ViewController>(), false);
  d.hcNavCtl()->pushViewController(std::make_shared<ui::ViewController>(), false);

  CacheCenter::sharedInstance().setCurrentCity(Area(75, "成都"));
  EXPECT_EQ(tabTitles(d), kMoreSet);
  EXPECT_EQ(d.tabBarController()->selectedIndex(), 0);
  for (auto tab : {Tab::kSearch, Tab::kBroadcast, Tab::kHome}) {
    EXPECT_EQ(d.stack(tab)->viewControllers().size(), 1u);
  }
  EXPECT_FALSE(d.root(Tab::kHome).needsMore);
  EXPECT_EQ(app().dumpScreen(),
            "navbar: 搜索\ntabbar: [搜索] | 附近 | 现场播报 | 个人中心 | 更多\n");

  CacheCenter::sharedInstance().setCurrentCity(Area(289, "上海"));
  EXPECT_EQ(tabTitles(d), kCouponSet);
  EXPECT_TRUE(d.root(Tab::kHome).needsMore);
}

TEST_F(AppDelegateTest, NearbyTabLocatesAgainOnEverySelection) {
  RecordingAppDelegate d;
  launch(d);
  auto* tbc = d.tabBarController().get();
  EXPECT_TRUE(tbc->selectTabAsUser(1));
  EXPECT_TRUE(tbc->selectTabAsUser(1));  // chosen again while shown
  EXPECT_EQ(d.root(Tab::kNearby).newGPSCalls, 2);
  EXPECT_TRUE(tbc->selectTabAsUser(0));
  EXPECT_EQ(d.root(Tab::kNearby).newGPSCalls, 2);
  tbc->setSelectedIndex(1);  // not a user choice
  EXPECT_EQ(d.root(Tab::kNearby).newGPSCalls, 2);
  CacheCenter::sharedInstance().setCurrentCity(Area(75, "成都"));
  EXPECT_TRUE(tbc->selectTabAsUser("附近"));
  EXPECT_EQ(d.root(Tab::kNearby).newGPSCalls, 3);
}

TEST_F(AppDelegateTest, CouponTabChecksItsDataOnlyInCouponCities) {
  RecordingAppDelegate d;
  launch(d);
  auto* tbc = d.tabBarController().get();
  EXPECT_TRUE(tbc->selectTabAsUser(2));
  EXPECT_EQ(d.root(Tab::kCoupon).checkDataCalls, 1);
  CacheCenter::sharedInstance().setCurrentCity(Area(75, "成都"));
  EXPECT_TRUE(tbc->selectTabAsUser(2));  // 现场播报 in this set
  EXPECT_EQ(tbc->selectedViewController(), d.bcNavCtl().get());
  EXPECT_EQ(d.root(Tab::kCoupon).checkDataCalls, 1);
  EXPECT_EQ(d.root(Tab::kBroadcast).checkDataCalls, 0);
  EXPECT_EQ(d.root(Tab::kBroadcast).newGPSCalls, 0);
}

TEST_F(AppDelegateTest, LifeCycleEventsLeaveTheScreensAlone) {
  storeCity(332, "天津");
  RecordingAppDelegate d;
  launch(d);
  ASSERT_TRUE(d.tabBarController()->selectTabAsUser(4));
  const std::string before = app().dumpScreen();
  app().receiveMemoryWarning();
  app().resignActive();
  app().becomeActive();
  app().enterBackground();
  app().enterForeground();
  app().terminate();
  EXPECT_EQ(app().dumpScreen(), before);
  EXPECT_EQ(d.tabBarController()->selectedIndex(), 4);
  EXPECT_EQ(CacheCenter::sharedInstance().currentCity()->id(), 332);
}

TEST_F(AppDelegateTest, EnteringTheBackgroundEmptiesTheResponseCache) {
  HttpRequestCacheCenter::resetSharedInstanceForTesting();
  RecordingAppDelegate d;
  launch(d);
  auto& cache = HttpRequestCacheCenter::sharedInstance();
  cache.cacheData(std::string("{}"), "http://127.0.0.1:8080/client/index/0/province");
  app().resignActive();
  app().becomeActive();
  EXPECT_EQ(cache.dataDictionary().size(), 1u);
  app().enterBackground();
  EXPECT_TRUE(cache.dataDictionary().empty());
  cache.cacheData(std::string("{}"), "http://127.0.0.1:8080/client/index/0/province");
  app().enterForeground();
  EXPECT_EQ(cache.dataDictionary().size(), 1u);
  HttpRequestCacheCenter::resetSharedInstanceForTesting();
}

TEST_F(AppDelegateTest, TabRootsAreToldTheirPlaceAndTheMoreTabHasItsScreen) {
  lokavoAppDelegate d;
  launch(d);
  auto* home = dynamic_cast<HomeViewController*>(d.rootOf(Tab::kHome));
  auto* broadcast = dynamic_cast<BroadcastListViewController*>(d.rootOf(Tab::kBroadcast));
  auto* more = dynamic_cast<MoreViewController*>(d.rootOf(Tab::kMore));
  ASSERT_NE(home, nullptr);
  ASSERT_NE(broadcast, nullptr);
  ASSERT_NE(more, nullptr);
  EXPECT_TRUE(home->needsMore()) << "北京 shows the coupon tab, so the user centre offers more";
  EXPECT_TRUE(broadcast->hasTabbar);
}

TEST_F(AppDelegateTest, CityChangeBeforeLaunchBuildsTheStacksItNeeds) {
  RecordingAppDelegate d;
  app().setDelegate(&d);
  CacheCenter::sharedInstance();  // restores and installs a set before launch
  EXPECT_EQ(tabTitles(d), kCouponSet);
  EXPECT_TRUE(app().launch());
  EXPECT_EQ(d.built, 6);
  EXPECT_EQ(tabTitles(d), kCouponSet);
}

}  // namespace
}  // namespace lk

#include "Classes/Shell/lokavoAppDelegate.h"

#include "Classes/Account/HomeViewController.h"
#include "Classes/Account/LoginViewController.h"
#include "Classes/Account/MoreViewController.h"
#include "Classes/Broadcasts/BroadcastListViewController.h"
#include "Classes/Coupons/CouponListViewController.h"
#include "Classes/LocalState/CacheCenter.h"
#include "Classes/Search/HotChannelViewController.h"
#include "Classes/Search/NearbyViewController.h"
#include "Classes/ServiceClient/HttpRequestCacheCenter.h"
#include "Classes/Shell/PlaceholderViewController.h"
#include "Classes/Toolkit/TabRootScreen.h"
#include "Platform/UI/Image.h"
#include "Platform/UI/NavigationController.h"
#include "Platform/UI/TabBarController.h"
#include "Platform/UI/Window.h"

namespace lk {

namespace {

constexpr std::array<lokavoAppDelegate::TabInfo, lokavoAppDelegate::kTabCount> kTabs{{
    {"搜索", "tabbar_item_search.png"},
    {"附近", "tabbar_item_nearby.png"},
    {"优惠", "tabbar_item_coupon.png"},
    {"现场播报", "tabbar_item_broadcast.png"},
    {"个人中心", "tabbar_item_home.png"},
    {"更多", "tabbar_item_more.png"},
}};

using Tab = lokavoAppDelegate::Tab;
constexpr std::array<Tab, 5> kWithCoupon{Tab::kSearch, Tab::kNearby, Tab::kCoupon, Tab::kBroadcast,
                                         Tab::kHome};
constexpr std::array<Tab, 5> kWithoutCoupon{Tab::kSearch, Tab::kNearby, Tab::kBroadcast, Tab::kHome,
                                            Tab::kMore};

TabRootScreen* asTabRoot(ui::ViewController* vc) {
  return dynamic_cast<TabRootScreen*>(vc);
}

}  // namespace

const lokavoAppDelegate::TabInfo& lokavoAppDelegate::info(Tab tab) {
  return kTabs[static_cast<std::size_t>(tab)];
}

lokavoAppDelegate::lokavoAppDelegate()
    : window_(std::make_shared<ui::Window>()),
      tabBarController_(std::make_shared<ui::TabBarController>()) {}

lokavoAppDelegate::~lokavoAppDelegate() {
  if (tabBarController_->delegate() == this) tabBarController_->setDelegate(nullptr);
}

ui::ViewController* lokavoAppDelegate::rootOf(Tab tab) const {
  const auto& nav = stack(tab);
  if (nav == nullptr || nav->viewControllers().empty()) return nullptr;
  return nav->viewControllers().front().get();
}

bool lokavoAppDelegate::applicationDidFinishLaunching(ui::Application& /*app*/) {
  tabBarController_->setDelegate(this);
  loadAllControllers();
  // The first use of the cache centre restores the stored city, which already installs a tab
  // set through this delegate; installing it again here is harmless and covers a later use.
  if (CacheCenter::sharedInstance().isCouponCityCurrent()) {
    loadTabControllersWithCoupon();
  } else {
    loadTabControllersWithoutCoupon();
  }
  window_->setRootViewController(tabBarController_);
  window_->makeKeyAndVisible();
  return true;
}

void lokavoAppDelegate::applicationDidBecomeActive(ui::Application& /*app*/) {
  auto& login = LoginViewController::sharedInstance();
  login.activedUserStat();
  login.autoLogin();
}

void lokavoAppDelegate::applicationDidEnterBackground(ui::Application& /*app*/) {
  HttpRequestCacheCenter::sharedInstance().distoryCacheData();
}

std::shared_ptr<ui::ViewController> lokavoAppDelegate::makeRootScreen(Tab tab) {
  if (tab == Tab::kSearch) return std::make_shared<HotChannelViewController>();
  if (tab == Tab::kCoupon) return std::make_shared<CouponListViewController>();
  if (tab == Tab::kHome) return std::make_shared<HomeViewController>();
  if (tab == Tab::kNearby) return std::make_shared<NearbyViewController>();
  if (tab == Tab::kBroadcast) return std::make_shared<BroadcastListViewController>();
  if (tab == Tab::kMore) return std::make_shared<MoreViewController>();
  return std::make_shared<PlaceholderViewController>();
}

void lokavoAppDelegate::loadAllControllers() {
  // A root screen's construction may be the cache centre's first use, whose restored city
  // installs a tab set: that waits until every stack exists.
  if (buildingStacks_) return;
  buildingStacks_ = true;
  buildAllControllers();
  buildingStacks_ = false;
  if (tabSetPending_) {
    tabSetPending_ = false;
    installTabSet(CacheCenter::sharedInstance().isCouponCityCurrent());
  }
}

void lokavoAppDelegate::buildAllControllers() {
  for (std::size_t i = 0; i < kTabCount; ++i) {
    if (stacks_[i] != nullptr) continue;
    const Tab tab = static_cast<Tab>(i);
    auto root = makeRootScreen(tab);
    root->setTitle(kTabs[i].title);
    ui::TabBarItem item;
    item.title = kTabs[i].title;
    item.image = ui::Image::named(kTabs[i].icon);
    item.tag = 0;
    root->setTabBarItem(item);
    if (tab == Tab::kBroadcast) {
      if (auto* r = asTabRoot(root.get())) r->setHasTabbar(true);
    }
    auto nav = std::make_shared<ui::NavigationController>(root);
    // The stack shows its root's entry in the tab bar.
    nav->setTabBarItem(item);
    stacks_[i] = std::move(nav);
  }
}

void lokavoAppDelegate::loadTabControllersWithCoupon() {
  installTabSet(true);
}

void lokavoAppDelegate::loadTabControllersWithoutCoupon() {
  installTabSet(false);
}

void lokavoAppDelegate::installTabSet(bool withCoupon) {
  if (buildingStacks_) {
    tabSetPending_ = true;
    return;
  }
  // A city may change before launch built the stacks (the cache centre's first use).
  loadAllControllers();
  std::vector<std::shared_ptr<ui::ViewController>> shown;
  for (Tab tab : withCoupon ? kWithCoupon : kWithoutCoupon)
    shown.push_back(stack(tab));
  tabBarController_->setViewControllers(shown);
  tabBarController_->setSelectedViewController(scNavCtl().get());
  if (auto* home = asTabRoot(rootOf(Tab::kHome))) home->setNeedsMore(withCoupon);
  for (Tab tab : withCoupon ? kWithCoupon : kWithoutCoupon) {
    stack(tab)->popToRootViewController(false);
  }
}

void lokavoAppDelegate::tabBarControllerDidSelectViewController(
    ui::TabBarController& tabBarController, ui::ViewController& vc) {
  const auto& shown = tabBarController.viewControllers();
  const auto isShownAt = [&](std::size_t index) {
    return shown.size() > index && shown[index].get() == &vc;
  };
  if (isShownAt(1) && &vc == ncNavCtl().get()) {
    if (auto* nearby = asTabRoot(rootOf(Tab::kNearby))) nearby->newGPS();
  }
  if (CacheCenter::sharedInstance().isCouponCityCurrent() && isShownAt(2) &&
      &vc == ccNavCtl().get()) {
    if (auto* coupon = asTabRoot(rootOf(Tab::kCoupon))) coupon->checkData();
  }
}

}  // namespace lk

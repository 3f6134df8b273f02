#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "Classes/LocalState/CacheCenter.h"
#include "Classes/Location/LocationService.h"
#include "Classes/Search/NearbyViewController.h"
#include "Classes/ServiceClient/HttpRequest.h"
#include "Classes/ServiceClient/HttpRequestCacheCenter.h"
#include "Classes/ServiceClient/ServiceEndpoints.h"
#include "Classes/Shell/PlaceholderViewController.h"
#include "Classes/Shell/lokavoAppDelegate.h"
#include "Classes/Toolkit/AlertCenter.h"
#include "Platform/Location/LocationSource.h"
#include "Platform/UI/Application.h"
#include "Platform/UI/NavigationController.h"
#include "Platform/UI/ScreenInput.h"
#include "Platform/UI/TabBarController.h"
#include "Platform/UI/TableView.h"
#include "tests/search/ScriptedSearchService.h"
#include "tests/support/ScopedClientStorage.h"
#include "tests/support/TestSupport.h"

namespace lk::test {

// 王府井 as the device reports it, and how the lookup and the search carry it.
inline constexpr LocationCoordinate kWangfujing{39.915, 116.404};
inline constexpr const char* kLookup = "/client/user/0/pos?longti=116.403999&lati=39.915001&tn=gz";
inline constexpr const char* kDongcheng = "%E4%B8%9C%E5%9F%8E%E5%8C%BA";  // 东城区

// The search tab's home locates on its own and answers positions with prompts and alerts; the
// nearby tests look at the nearby tab alone, so that tab starts on an empty screen here.
class NearbyOnlyAppDelegate : public lokavoAppDelegate {
 protected:
  std::shared_ptr<ui::ViewController> makeRootScreen(Tab tab) override {
    if (tab == Tab::kSearch) return std::make_shared<PlaceholderViewController>();
    return lokavoAppDelegate::makeRootScreen(tab);
  }
};

// The application launched with its real tab stacks, the nearby screen as the root of the
// "附近" tab, talking through the real request engine to the scripted service in virtual time. The
// current city is 北京 (131); positioning is refused until a test scripts it.
class NearbyScreenTest : public ::testing::Test {
 protected:
  using Tab = lokavoAppDelegate::Tab;

  NearbyScreenTest() {
    ui::Application::resetSharedInstanceForTesting();
    HttpRequestCacheCenter::resetSharedInstanceForTesting();
    AlertCenter::resetSharedInstanceForTesting();
    ServiceEndpoints::setServiceURL(service.baseURL());
    app().setDelegate(&delegate);
    EXPECT_TRUE(app().launch());
  }
  ~NearbyScreenTest() override {
    app().setDelegate(nullptr);
    ServiceEndpoints::setServiceURL("");
    AlertCenter::resetSharedInstanceForTesting();
    HttpRequestCacheCenter::resetSharedInstanceForTesting();
    ui::Application::resetSharedInstanceForTesting();
  }

  static ui::Application& app() { return ui::Application::shared(); }
  ui::TabBarController& tabs() { return *delegate.tabBarController(); }
  NearbyViewController& nearby() {
    return dynamic_cast<NearbyViewController&>(*delegate.rootOf(Tab::kNearby));
  }
  // Chooses the "附近" tab as a finger would and lets it settle.
  void openNearby() {
    ASSERT_TRUE(tabs().selectTabAsUser(kNearbyTitle));
    settle();
  }

  // Runs until no transfer is in flight and the delayed calls of the next second have run (in
  // virtual time: the fake transport answers on the loop's clock).
  void settle() {
    const auto busy = [] { return HttpRequest::networkActivityCount() > 0; };
    loop->runFor(seconds(0.1));
    for (int step = 0; step < 100 && busy(); ++step)
      loop->runFor(seconds(0.1));
    ASSERT_FALSE(busy());
    loop->runFor(seconds(1));
    ASSERT_FALSE(busy());
  }

  std::string dump() { return input.dump(); }
  bool shows(const std::string& text) { return dump().find(text) != std::string::npos; }
  std::vector<std::string> searches() { return service.targetsWith("/search/0/q"); }
  std::vector<std::string> lookups() { return service.targetsWith("/user/0/pos"); }
  std::string lastSearch() { return searches().empty() ? "" : searches().back(); }
  bool loadingShown() { return nearby().loadingView && nearby().loadingView->superview(); }

  // "/client/search/0/q?" and a nearby query around 王府井 in 北京 up to the page size.
  static std::string around(const std::string& radius = "1.000000", int sort = 1, int page = 0) {
    return "/client/search/0/q?ci=131&x=116.403999&y=39.915001&sd=" + radius +
           "&sort=" + std::to_string(sort) + "&p=" + std::to_string(page) +
           "&n=15&xda_from=iPhone&xda_page=NearbyInfo";
  }

  static constexpr const char* kNearbyTitle = "附近";

  ScopedMainLoop loop;
  ScopedClientStorage storage;
  ScriptedSearchService service;
  NearbyOnlyAppDelegate delegate;
  ui::ScreenInput input;
};

}  // namespace lk::test

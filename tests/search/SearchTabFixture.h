#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "Classes/LocalState/CacheCenter.h"
#include "Classes/Search/HotChannelViewController.h"
#include "Classes/Search/SearchViewController.h"
#include "Classes/ServiceClient/HttpRequest.h"
#include "Classes/ServiceClient/HttpRequestCacheCenter.h"
#include "Classes/ServiceClient/ServiceEndpoints.h"
#include "Classes/Shell/lokavoAppDelegate.h"
#include "Classes/Toolkit/AlertCenter.h"
#include "Platform/Location/LocationSource.h"
#include "Platform/UI/Application.h"
#include "Platform/UI/NavigationController.h"
#include "Platform/UI/ScreenInput.h"
#include "Platform/UI/TabBarController.h"
#include "tests/search/ScriptedSearchService.h"
#include "tests/support/ScopedClientStorage.h"
#include "tests/support/TestSupport.h"

namespace lk::test {

// The application with its real tab stacks, the search tab's home as the root of "搜索", on a
// scripted service in virtual time. Tests script the answers, then launch(). Positioning stays
// silent unless a test scripts it.
class SearchTabTest : public ::testing::Test {
 protected:
  using Tab = lokavoAppDelegate::Tab;
  using Answer = ScriptedSearchService::Answer;

  SearchTabTest() {
    ui::Application::resetSharedInstanceForTesting();
    HttpRequestCacheCenter::resetSharedInstanceForTesting();
    AlertCenter::resetSharedInstanceForTesting();
    ServiceEndpoints::setServiceURL(service.baseURL());
    LocationScript::staySilent();
    service.on(R"(/client/index/\d+/area)", [this](const auto&) {
      return Answer{indexStatus, indexJson};
    });
    service.on(R"(/client/index/0/province)", [this](const auto&) {
      return Answer{200, provinceJson};
    });
    service.on(R"(/client/index/\d+/city)", [this](const auto&) { return Answer{200, cityJson}; });
    service.onSearch([this](const auto&) { return Answer{200, searchJson}; });
  }
  ~SearchTabTest() override {
    app().setDelegate(nullptr);
    ServiceEndpoints::setServiceURL("");
    AlertCenter::resetSharedInstanceForTesting();
    HttpRequestCacheCenter::resetSharedInstanceForTesting();
    ui::Application::resetSharedInstanceForTesting();
  }

  void launch() {
    app().setDelegate(&delegate);
    ASSERT_TRUE(app().launch());
    settle();
  }

  static ui::Application& app() { return ui::Application::shared(); }
  ui::TabBarController& tabs() { return *delegate.tabBarController(); }
  ui::NavigationController& searchStack() { return *delegate.scNavCtl(); }
  HotChannelViewController& home() {
    return dynamic_cast<HotChannelViewController&>(*delegate.rootOf(Tab::kSearch));
  }
  template <typename T>
  T* topAs() {
    return dynamic_cast<T*>(searchStack().topViewController());
  }
  SearchViewController* entry() { return topAs<SearchViewController>(); }
  // Opens the entry screen as a finger on the home's search field does.
  SearchViewController& openEntry() {
    home().searchBar()->becomeFirstResponder();
    settle();
    auto* screen = entry();
    EXPECT_NE(screen, nullptr);
    return *screen;
  }

  // Runs until no transfer is in flight and the delayed calls of the next second have run.
  void settle() {
    for (int round = 0; round < 20; ++round) {
      loop->runUntilIdle();
      ASSERT_TRUE(loop->runUntil([] { return HttpRequest::networkActivityCount() == 0; },
                                 std::chrono::seconds(10)));
      loop->runFor(seconds(1));
      if (HttpRequest::networkActivityCount() == 0) return;
    }
  }

  std::string dump() { return input.dump(); }
  bool shows(const std::string& text) { return dump().find(text) != std::string::npos; }
  std::vector<std::string> hits(const std::string& part) { return service.targetsWith(part); }

  static std::string indexAnswer(const std::vector<std::string>& areas,
                                 const std::vector<std::string>& hot = {},
                                 const std::vector<std::string>& all = {}) {
    const auto list = [](const std::vector<std::string>& names) {
      std::string out = "[";
      for (std::size_t i = 0; i < names.size(); ++i)
        out += (i > 0 ? ",\"" : "\"") + names[i] + "\"";
      return out + "]";
    };
    return R"({"area": )" + list(areas) + R"(, "cat": )" + list(hot) + R"(, "all_cat": )" +
           list(all) + "}";
  }
  static std::vector<std::string> names(int n) {
    std::vector<std::string> out;
    for (int i = 0; i < n; ++i)
      out.push_back("区" + std::to_string(i));
    return out;
  }

  int indexStatus = 200;
  std::string indexJson = indexAnswer({"朝阳区", "海淀区", "东城区"}, {"火锅"}, {"美食", "购物"});
  std::string provinceJson =
      R"({"hot": [{"id": 131, "name": "北京"}, {"id": 257, "name": "广州"}],
          "list": [{"id": 19, "name": "广东"}, {"id": 2911, "name": "香港"},
                   {"id": 16, "name": "江苏"}]})";
  std::string cityJson = R"({"list": [{"id": 257, "name": "广州"}, {"id": 340, "name": "深圳"},
                                      {"id": 138, "name": "佛山"}]})";
  std::string searchJson = ScriptedSearchService::searchAnswer(0, 0, 0);

  ScopedMainLoop loop;
  ScopedClientStorage storage;
  ScriptedSearchService service;
  lokavoAppDelegate delegate;
  ui::ScreenInput input;
};

}  // namespace lk::test

#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "Classes/Search/SearchResultsViewController.h"
#include "Classes/ServiceClient/HttpRequestCacheCenter.h"
#include "Classes/ServiceClient/ServiceEndpoints.h"
#include "Platform/UI/Application.h"
#include "Platform/UI/NavigationController.h"
#include "Platform/UI/ScreenInput.h"
#include "Platform/UI/TableView.h"
#include "Platform/UI/Window.h"
#include "tests/search/ScriptedSearchService.h"
#include "tests/support/ScopedClientStorage.h"
#include "tests/support/TestSupport.h"

namespace lk::test {

// A results screen pushed on a stack in the key window, talking through the real request
// engine to a scripted service on the fake transport. The current city is 北京 (131).
class SearchScreenTest : public ::testing::Test {
 protected:
  SearchScreenTest() {
    ui::Application::resetSharedInstanceForTesting();
    HttpRequestCacheCenter::resetSharedInstanceForTesting();
    ServiceEndpoints::setServiceURL(service.baseURL());
  }
  ~SearchScreenTest() override {
    window.reset();
    nav.reset();
    screen.reset();
    ServiceEndpoints::setServiceURL("");
    HttpRequestCacheCenter::resetSharedInstanceForTesting();
    ui::Application::resetSharedInstanceForTesting();
  }

  // Pushes a results screen for `what` in `where`; `configure` may set more before it loads.
  void open(std::string what, std::string where = {},
            const std::function<void(SearchResultsViewController&)>& configure = {}) {
    screen = std::make_shared<SearchResultsViewController>();
    screen->what = std::move(what);
    screen->where = std::move(where);
    if (configure) configure(*screen);
    auto root = std::make_shared<ui::ViewController>();
    root->setTitle("搜索");
    nav = std::make_shared<ui::NavigationController>(root);
    window = std::make_unique<ui::Window>();
    window->setRootViewController(nav);
    window->makeKeyAndVisible();
    nav->pushViewController(screen, false);
  }

  // Lets every request in flight be answered and the delayed calls after it run (in virtual
  // time: the fake transport answers on the loop's clock).
  void settle() {
    const auto busy = [&] {
      return screen->request() || screen->leftRequest() || screen->rightRequest();
    };
    for (int step = 0; step < 100 && busy(); ++step)
      loop->runFor(seconds(0.1));
    ASSERT_FALSE(busy());
    loop->runFor(seconds(1));
  }
  // Forgets earlier answers, so that a repeated URL goes on the wire again.
  static void forgetAnswers() { HttpRequestCacheCenter::sharedInstance().distoryCacheData(); }

  int rows() { return screen->tableView()->numberOfRowsInSection(0); }
  std::string dump() { return input.dump(); }
  bool shows(const std::string& text) { return dump().find(text) != std::string::npos; }
  // Scrolls to the end of what is loaded, then pulls 70 points further and lets go.
  void pullUp() {
    ui::TableView& table = *screen->tableView();
    const double toEnd = table.maxOffsetY() - table.contentOffset().y;
    if (toEnd > 0) table.drag(-toEnd);
    table.drag(-70);
  }
  // The search requests on the wire.
  std::vector<std::string> searches() { return service.targetsWith("/search/0/q"); }

  ScopedMainLoop loop;
  ScopedClientStorage storage;
  ScriptedSearchService service;
  std::shared_ptr<SearchResultsViewController> screen;
  std::shared_ptr<ui::NavigationController> nav;
  std::unique_ptr<ui::Window> window;
  ui::ScreenInput input;
};

}  // namespace lk::test

#pragma once

// The composing screens in a window of their own, on the fake transport in virtual time: a
// presenter screen that shows them modally as the broadcast lists and the shop screen do, and a
// login that goes through the passport exchange on the same transport.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "Classes/Account/LoginViewController.h"
#include "Classes/Location/LocationService.h"
#include "Classes/Records/ShopInfo.h"
#include "Classes/ServiceClient/HttpRequest.h"
#include "Classes/ServiceClient/HttpRequestCacheCenter.h"
#include "Classes/ServiceClient/ServiceEndpoints.h"
#include "Classes/Toolkit/AlertCenter.h"
#include "Classes/Toolkit/LKNavigationController.h"
#include "Platform/Location/LocationSource.h"
#include "Platform/UI/AlertView.h"
#include "Platform/UI/Application.h"
#include "Platform/UI/ImagePickerController.h"
#include "Platform/UI/NavigationController.h"
#include "Platform/UI/ScreenInput.h"
#include "Platform/UI/Window.h"
#include "tests/support/FakeTransport.h"
#include "tests/support/ScopedClientStorage.h"
#include "tests/support/TestSupport.h"

namespace lk::test {

class ComposeFixture : public ::testing::Test {
 protected:
  static constexpr const char* kBase = "http://directory.test/client";

  ComposeFixture() {
    ui::Application::resetSharedInstanceForTesting();
    HttpRequestCacheCenter::resetSharedInstanceForTesting();
    AlertCenter::resetSharedInstanceForTesting();
    LoginViewController::resetSharedInstanceForTesting();
    LocationService::resetSharedInstanceForTesting();
    LocationScript::reset();
    ui::ImagePickerController::setCameraAvailable(false);
    ServiceEndpoints::setServiceURL(kBase);
    transport.respond(R"(.*/passport/)", [](const FakeTransport::Request&) {
      FakeTransport::Answer a;
      a.body =
          "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<login_succ><param name=\"ssid\" "
          "value=\"S-lokavo\"/></login_succ>\n";
      return a;
    });
    transport.respond(R"(.*/client/user/0/info)", [](const FakeTransport::Request& r) {
      FakeTransport::Answer a;
      a.body = r.queryValue("ssid") ? R"({"login":"小吃货","uid":"7"})" : R"({"errNo":0})";
      return a;
    });
    presenter = std::make_shared<LKNavigationController>();
    presenter->setTitle("现场播报");
    window = std::make_unique<ui::Window>();
    window->setRootViewController(presenter);
    window->makeKeyAndVisible();
  }
  ~ComposeFixture() override {
    window.reset();
    presenter.reset();
    loop->runFor(seconds(2));
    LoginViewController::resetSharedInstanceForTesting();
    LocationService::resetSharedInstanceForTesting();
    LocationScript::reset();
    ui::ImagePickerController::setCameraAvailable(false);
    ServiceEndpoints::setServiceURL("");
    AlertCenter::resetSharedInstanceForTesting();
    HttpRequestCacheCenter::resetSharedInstanceForTesting();
    ui::Application::resetSharedInstanceForTesting();
  }

  // Logs in as the passport's "lokavo" (the session "S-lokavo").
  void logIn() {
    auto& login = LoginViewController::sharedInstance();
    login.setUsername("lokavo");
    login.setPassword("lokavo123");
    login.login();
    settle();
    ASSERT_TRUE(login.isLogin());
  }
  // Presents `root` modally in a stack of its own, as the lists and the shop screen do.
  std::shared_ptr<ui::NavigationController> present(std::shared_ptr<ui::ViewController> root) {
    auto stack = std::make_shared<ui::NavigationController>(std::move(root));
    presenter->presentModalViewController(stack, true);
    settle();
    return stack;
  }
  // Runs until nothing is in flight and the delayed calls of the next moment have run.
  void settle(Duration after = seconds(0.2)) {
    loop->runFor(seconds(0.05));
    for (int step = 0; step < 100 && HttpRequest::networkActivityCount() > 0; ++step)
      loop->runFor(seconds(0.05));
    loop->runFor(after);
  }
  static std::shared_ptr<ShopInfo> shop(const std::string& id, const std::string& name) {
    auto s = std::make_shared<ShopInfo>();
    s->setShopId(id);
    s->setStrName(name);
    return s;
  }
  // The alert that shows, or null.
  ui::AlertView* shownAlert() {
    const auto views = window->subviews();
    for (auto it = views.rbegin(); it != views.rend(); ++it) {
      if (auto* alert = dynamic_cast<ui::AlertView*>(it->get())) return alert;
    }
    return nullptr;
  }
  std::vector<const FakeTransport::Request*> requestsTo(const std::string& part) const {
    std::vector<const FakeTransport::Request*> out;
    for (const auto& r : transport.requests()) {
      if (r.url.find(part) != std::string::npos) out.push_back(&r);
    }
    return out;
  }
  std::string dump() { return input.dump(); }
  bool shows(const std::string& text) { return dump().find(text) != std::string::npos; }

  ScopedMainLoop loop;
  ScopedClientStorage storage;
  FakeTransport transport;
  std::shared_ptr<LKNavigationController> presenter;
  std::unique_ptr<ui::Window> window;
  ui::ScreenInput input;
};

}  // namespace lk::test

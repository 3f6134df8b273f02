#pragma once

#include <gtest/gtest.h>

#include <boost/json/parse.hpp>
#include <boost/json/serialize.hpp>

#include <memory>
#include <string>

#include "Classes/LocalState/CacheCenter.h"
#include "Classes/Records/ShopInfo.h"
#include "Classes/ServiceClient/HttpRequestCacheCenter.h"
#include "Classes/ServiceClient/ServiceEndpoints.h"
#include "Classes/Shop/ShopInfoViewController.h"
#include "Platform/Device/DeviceInfo.h"
#include "Platform/UI/Application.h"
#include "Platform/UI/MailComposeViewController.h"
#include "Platform/UI/MessageComposeViewController.h"
#include "Platform/UI/NavigationController.h"
#include "Platform/UI/ScreenInput.h"
#include "Platform/UI/Window.h"
#include "tests/shop/ScriptedShopService.h"
#include "tests/support/ScopedClientStorage.h"
#include "tests/support/TestSupport.h"

namespace lk::test {

// A shop screen pushed on a stack in the key window, talking through the real request engine to
// a scripted loopback service.
class ShopScreenTest : public ::testing::Test {
 protected:
  ShopScreenTest() {
    ui::Application::resetSharedInstanceForTesting();
    HttpRequestCacheCenter::resetSharedInstanceForTesting();
    ServiceEndpoints::setServiceURL(service.baseURL());
    root = std::make_shared<ui::ViewController>();
    root->setTitle("搜索");
    nav = std::make_shared<ui::NavigationController>(root);
    window = std::make_unique<ui::Window>();
    window->setRootViewController(nav);
    window->makeKeyAndVisible();
  }
  ~ShopScreenTest() override {
    ShopInfoViewController::setSessionIdSource(nullptr);
    ui::MessageComposeViewController::setCanSendTextForTesting(true);
    ui::MailComposeViewController::setCanSendMailForTesting(true);
    loop->runFor(seconds(1));
    window.reset();
    nav.reset();
    screen.reset();
    loop->runFor(seconds(1));
    ServiceEndpoints::setServiceURL("");
    HttpRequestCacheCenter::resetSharedInstanceForTesting();
    ui::Application::resetSharedInstanceForTesting();
  }

  // A shop information answer for `id` with the given members added or replaced.
  static std::string detail(const std::string& id, const std::string& extra = {}) {
    auto root = boost::json::parse(
                    R"({"intStauts": 0, "intShopId": ")" + id + R"(", "strName": "店)" + id +
                    R"(", "strAddress": "长安街1号", "fltPositionX": 116.4, "fltPositionY": 39.9,
                        "fltScoreTotal": 4.5, "arrTel": ["010-1234567"], "intCmtCount": 0,
                        "intMiniCmtCount": 0, "base": "", "arrCouponList": []})")
                    .as_object();
    if (!extra.empty()) {
      const auto extras = boost::json::parse("{" + extra + "}");
      for (const auto& [key, value] : extras.as_object())
        root[key] = value;
    }
    return boost::json::serialize(root);
  }
  void answerDetail(const std::string& extra = {}) {
    service.onInfo([extra](const httplib::Request& req) {
      const std::string path = req.path;
      const auto start = path.find("/shop/") + 6;
      return ScriptedShopService::Answer{
          200, detail(path.substr(start, path.find('/', start) - start), extra)};
    });
  }

  std::shared_ptr<ShopInfoViewController> open(const std::string& id = "42") {
    auto record = std::make_shared<ShopInfo>();
    record->setShopId(id);
    record->setStrName("列表里的店");
    auto shop = std::make_shared<ShopInfoViewController>();
    shop->hidesBottomBarWhenPushed = true;
    shop->setShopInfo(record);
    nav->pushViewController(shop, false);
    if (!screen) screen = shop;
    return shop;
  }

  void settle() {
    ASSERT_TRUE(
        loop->runUntil([&] { return !screen->shopInfoRequest() && !screen->imageLinkRequest(); },
                       std::chrono::seconds(10)));
    loop->runFor(seconds(1));
  }

  std::string dump() { return input.dump(); }
  bool shows(const std::string& text) { return dump().find(text) != std::string::npos; }

  ScopedMainLoop loop;
  ScopedClientStorage storage;
  ScriptedShopService service;
  std::shared_ptr<ui::ViewController> root;
  std::shared_ptr<ui::NavigationController> nav;
  std::unique_ptr<ui::Window> window;
  std::shared_ptr<ShopInfoViewController> screen;
  ui::ScreenInput input;
};

}  // namespace lk::test

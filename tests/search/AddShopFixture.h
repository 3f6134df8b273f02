#pragma once

#include <map>
#include <string>
#include <vector>

#include "Classes/Account/AddShopAddressViewController.h"
#include "Classes/Account/AddShopViewController.h"
#include "Classes/Account/LoginViewController.h"
#include "Classes/Search/SearchResultsViewController.h"
#include "Platform/UI/AlertView.h"
#include "Platform/UI/Keyboard.h"
#include "tests/search/SearchTabFixture.h"

namespace lk::test {

// The add-shop form opened from the add-shop row of an empty search, on the scripted service:
// the passport and the account state answer a login, the directory answers the pickers, and
// "/submit/0/addShop" answers what `submitAnswer` says. Every proposal posted is kept.
class AddShopTest : public SearchTabTest {
 protected:
  AddShopTest() {
    auto& transport = service.transport();
    transport.respond(R"(/passport/)", [](const FakeTransport::Request&) {
      FakeTransport::Answer a;
      a.body = R"(<?xml version="1.0" encoding="UTF-8"?>)"
               R"(<login_succ><param name="ssid" value="S-1"/></login_succ>)";
      return a;
    });
    transport.respond(R"(/client/user/0/info)", [](const FakeTransport::Request&) {
      FakeTransport::Answer a;
      a.body = R"({"login": "小吃货"})";
      return a;
    });
    transport.respond(R"(/client/submit/0/addShop)",
                      [this](const FakeTransport::Request&) { return submitAnswer; });
    service.onAreaTree([this](const auto& request) {
      return Answer{200,
                    request.path() == "/client/index/340/citymore" ? shenzhenAreas : beijingAreas};
    });
    service.onCategoryTree([](const auto&) {
      return Answer{200, R"({"list": [{"id": 20001, "name": "美食",
                                       "list": [{"id": 2000103, "name": "火锅"},
                                                {"id": 2000104, "name": "川菜"}]},
                                      {"id": 20002, "name": "购物", "list": []}]})"};
    });
    submitAnswer.body = R"({"errNo": 0, "result": "提交成功，等待审核", "id": "1"})";
    launch();
  }
  ~AddShopTest() override {
    LoginViewController::resetSharedInstanceForTesting();
    CacheCenter::resetSharedInstanceForTesting();
  }

  static LoginViewController& login() { return LoginViewController::sharedInstance(); }
  void logIn() {
    login().setUsername("lokavo");
    login().setPassword("lokavo123");
    login().login();
    settle();
    ASSERT_TRUE(login().isLogin());
  }

  // An empty search for `keyword` and its add-shop row.
  AddShopViewController& openForm(const std::string& keyword = "新开的店") {
    auto results = std::make_shared<SearchResultsViewController>();
    results->what = keyword;
    searchStack().pushViewController(results, false);
    settle();
    EXPECT_TRUE(input.tapRow(SearchResultsViewController::kAddShopSubtitle)) << dump();
    settle();
    auto* form = topAs<AddShopViewController>();
    EXPECT_NE(form, nullptr) << dump();
    if (form != nullptr) shop_ = form->shop();
    return *form;
  }
  AddShopViewController& form() { return *topAs<AddShopViewController>(); }
  // The proposal of the form last opened, which its screens and pickers edit.
  NewShop& shop() { return *shop_; }

  // Taps a row and lets the pushed screen load.
  void tapRow(const std::string& text) {
    ASSERT_TRUE(input.tapRow(text)) << text << "\n" << dump();
    settle();
  }
  void tapAdd() {
    ASSERT_TRUE(input.tap(AddShopViewController::kAddButton)) << dump();
    settle();
  }
  // The form's address screen with city and district chosen from the hot cities.
  void chooseAddress(const std::string& city, const std::string& district) {
    tapRow(AddShopViewController::kAddressLabel);
    tapRow(AddShopAddressViewController::kCityLabel);
    tapRow(city);
    tapRow(AddShopAddressViewController::kAreaLabel);
    tapRow(district);
    ASSERT_TRUE(input.tapBack());
    settle();
  }

  std::string alertMessage() {
    const auto& alert = AlertCenter::sharedInstance().sharedAlertView();
    return AlertCenter::sharedInstance().isShow() && alert ? alert->message() : std::string();
  }
  void dismissAlert() {
    if (AlertCenter::sharedInstance().isShow()) input.chooseAlertButton("好的");
    settle();
  }

  // The proposals posted so far, their form fields decoded.
  using Fields = std::map<std::string, std::string>;
  std::vector<Fields> proposals() {
    std::vector<Fields> out;
    for (const auto& request : service.transport().requests()) {
      if (request.path() != "/client/submit/0/addShop") continue;
      EXPECT_EQ(request.httpMethod, "POST");
      out.push_back(decodeForm(request.body.value_or("")));
    }
    return out;
  }
  static Fields decodeForm(const std::string& body) {
    Fields fields;
    std::size_t at = 0;
    while (at <= body.size()) {
      const auto end = std::min(body.find('&', at), body.size());
      const std::string pair = body.substr(at, end - at);
      const auto eq = pair.find('=');
      if (!pair.empty()) {
        fields[unescape(pair.substr(0, eq))] =
            eq == std::string::npos ? std::string() : unescape(pair.substr(eq + 1));
      }
      at = end + 1;
    }
    return fields;
  }
  static std::string unescape(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
      if (text[i] == '+') {
        out += ' ';
      } else if (text[i] == '%' && i + 2 < text.size()) {
        out += static_cast<char>(std::stoi(text.substr(i + 1, 2), nullptr, 16));
        i += 2;
      } else {
        out += text[i];
      }
    }
    return out;
  }

  FakeTransport::Answer submitAnswer;
  std::shared_ptr<NewShop> shop_;
  std::string beijingAreas = R"({"list": [{"id": 13101, "name": "东城区", "list": []},
                                          {"id": 13102, "name": "朝阳区", "list": []}]})";
  std::string shenzhenAreas = R"({"list": [{"id": 34001, "name": "南山区", "list": []},
                                           {"id": 34002, "name": "福田区", "list": []}]})";
};

}  // namespace lk::test

#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "Classes/ServiceClient/HttpRequestCacheCenter.h"
#include "Classes/ServiceClient/ServiceEndpoints.h"
#include "Classes/Toolkit/AlertCenter.h"
#include "Platform/UI/Application.h"
#include "Platform/UI/NavigationController.h"
#include "Platform/UI/ScreenInput.h"
#include "Platform/UI/Window.h"
#include "tests/support/Compression.h"
#include "tests/support/LoopbackHttpServer.h"
#include "tests/support/ScopedClientStorage.h"
#include "tests/support/TestSupport.h"

namespace lk::test {

// A loopback service answering the coupon endpoints with hand-written JSON (gzip-compressed),
// recording every request target (and the SMS form bodies) in arrival order.
class ScriptedCouponService {
 public:
  struct Answer {
    int status = 200;
    std::string json;
  };
  using Script = std::function<Answer(const httplib::Request&)>;

  ScriptedCouponService() {
    list_ = [](const httplib::Request&) { return Answer{200, R"({"list": []})"}; };
    categories_ = [](const httplib::Request&) {
      return Answer{200, R"({"list": [{"id": 20001, "name": "美食", "list": [{"id": 1}]},
                                      {"id": 20002, "name": "休闲娱乐"}]})"};
    };
    detail_ = [](const httplib::Request& r) { return Answer{200, detail(r.matches[1], 2, true)}; };
    search_ = [](const httplib::Request&) { return Answer{200, R"({"searchlist": []})"}; };
    sms_ = [](const httplib::Request&) { return Answer{200, R"({"errNo": 0})"}; };
    serve("Get", R"(/client/coupon/(\d+)/showlist)", &list_);
    serve("Get", R"(/client/index/\d+/catmore)", &categories_);
    serve("Get", R"(/client/coupon/([^/]+)/info)", &detail_);
    serve("Get", R"(/client/search/0/q)", &search_);
    serve("Post", R"(/client/submit/([^/]+)/sendCouponSms)", &sms_);
    http_.start();
  }

  void onList(Script s) { set(list_, std::move(s)); }
  void onCategories(Script s) { set(categories_, std::move(s)); }
  void onDetail(Script s) { set(detail_, std::move(s)); }
  void onSearch(Script s) { set(search_, std::move(s)); }
  void onSms(Script s) { set(sms_, std::move(s)); }

  [[nodiscard]] std::string baseURL() const { return http_.url("/client"); }
  [[nodiscard]] std::vector<std::string> targetsWith(const std::string& part) const {
    std::lock_guard lock(mutex_);
    std::vector<std::string> out;
    for (const auto& t : targets_) {
      if (t.find(part) != std::string::npos) out.push_back(t);
    }
    return out;
  }
  [[nodiscard]] std::vector<std::string> smsBodies() const {
    std::lock_guard lock(mutex_);
    return smsBodies_;
  }

  // A list page of `count` offers numbered from `first`; even ones are coupons (kind 1).
  static std::string listPage(int first, int count) {
    std::string json = R"({"list": [)";
    for (int i = 0; i < count; ++i) {
      const std::string n = std::to_string(first + i);
      json += (i > 0 ? "," : "") + std::string(R"({"strId": ")") + n + R"(", "strTopic": "优惠)" +
              n + R"(", "intGType": )" + ((first + i) % 2 == 0 ? "1" : "2") +
              R"(, "intDownloadNumber": )" + std::to_string(first + i) +
              R"(, "intInterestingNumber": 7, "arrShopInUsing":
              [{"strShopName": "店)" +
              n + R"(", "intScoreTotal": 4, "strTag": "火锅,川菜"}]})";
    }
    return json + "]}";
  }
  // An offer's detail with `shops` shops.
  static std::string detail(const std::string& id, int shops, bool sms,
                            const std::string& content = "八折优惠") {
    std::string json = R"({"strTopic": "标题)" + id + R"(", "strContent": ")" + content +
                       R"(", "intStart": 0, "intEnd": 86400, "isSms": )" +
                       (sms ? "true" : "false") + R"(, "arrShopInUsing": [)";
    for (int i = 0; i < shops; ++i) {
      json += (i > 0 ? "," : "") + std::string(R"({"intShopId": ")") + std::to_string(100 + i) +
              R"(", "strShopName": "商户)" + std::to_string(i) + R"(", "strAddress": "地址)" +
              std::to_string(i) + R"("})";
    }
    return json + "]}";
  }

 private:
  void set(Script& slot, Script s) {
    std::lock_guard lock(mutex_);
    slot = std::move(s);
  }
  void serve(const char* method, const char* pattern, Script* script) {
    auto handler = [this, script](const httplib::Request& req, httplib::Response& res) {
      Script run;
      {
        std::lock_guard lock(mutex_);
        targets_.push_back(req.target);
        if (req.method == "POST") smsBodies_.push_back(req.body);
        run = *script;
      }
      const Answer answer = run(req);
      res.status = answer.status;
      res.set_content(gzipBytes(answer.json), "application/octet-stream");
    };
    if (std::string(method) == "Get") {
      http_.server().Get(pattern, handler);
    } else {
      http_.server().Post(pattern, handler);
    }
  }

  mutable std::mutex mutex_;
  std::vector<std::string> targets_;
  std::vector<std::string> smsBodies_;
  Script list_, categories_, detail_, search_, sms_;
  LoopbackHttpServer http_;
};

// A screen pushed on a stack in the key window (current city 北京, 131), on the real request
// engine against the scripted service.
class CouponScreenTest : public ::testing::Test {
 protected:
  CouponScreenTest() {
    ui::Application::resetSharedInstanceForTesting();
    HttpRequestCacheCenter::resetSharedInstanceForTesting();
    AlertCenter::resetSharedInstanceForTesting();
    ServiceEndpoints::setServiceURL(service.baseURL());
    auto root = std::make_shared<ui::ViewController>();
    root->setTitle("根");
    nav = std::make_shared<ui::NavigationController>(root);
    window = std::make_unique<ui::Window>();
    window->setRootViewController(nav);
    window->makeKeyAndVisible();
  }
  ~CouponScreenTest() override {
    window.reset();
    nav.reset();
    ServiceEndpoints::setServiceURL("");
    AlertCenter::resetSharedInstanceForTesting();
    HttpRequestCacheCenter::resetSharedInstanceForTesting();
    ui::Application::resetSharedInstanceForTesting();
  }

  void settle(const std::function<bool()>& done) {
    ASSERT_TRUE(loop->runUntil(done, std::chrono::seconds(10)));
    loop->runFor(seconds(1));
  }
  std::string dump() { return input.dump(); }
  bool shows(const std::string& text) { return dump().find(text) != std::string::npos; }

  ScopedMainLoop loop;
  ScopedClientStorage storage;
  ScriptedCouponService service;
  std::shared_ptr<ui::NavigationController> nav;
  std::unique_ptr<ui::Window> window;
  ui::ScreenInput input;
};

}  // namespace lk::test

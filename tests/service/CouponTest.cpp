#include <set>

#include "tests/service/SharedService.h"

namespace lk::test {
namespace {

namespace json = boost::json;

class Coupon : public SharedService {
 protected:
  static json::object page(int city, const std::string& order, int p) {
    return client().json("/client/coupon/" + std::to_string(city) + "/showlist?order=" + order +
                         "&p=" + std::to_string(p) + "&n=20&xda_from=iPhone&xda_page=Coupon&tn=gz");
  }
};

TEST_F(Coupon, CityListsPageByTwentyInBothOrders) {
  std::set<std::int64_t> kinds;
  for (int city : {131, 132, 257, 289, 340}) {
    auto hot = page(city, "hot", 0);
    ASSERT_EQ(hot["list"].as_array().size(), 20u) << city;
    std::int64_t last = 1 << 30;
    for (const auto& v : hot["list"].as_array()) {
      const auto& c = v.as_object();
      EXPECT_TRUE(c.at("strId").is_string());
      EXPECT_TRUE(c.at("strTopic").is_string());
      const auto kind = c.at("intGType").as_int64();
      EXPECT_TRUE(kind >= 1 && kind <= 3);
      kinds.insert(kind);
      const auto popularity =
          c.at("intDownloadNumber").as_int64() + c.at("intInterestingNumber").as_int64();
      EXPECT_LE(popularity, last);
      last = popularity;
      ASSERT_FALSE(c.at("arrShopInUsing").as_array().empty());
      const auto& shop = c.at("arrShopInUsing").as_array()[0].as_object();
      EXPECT_TRUE(shop.at("strShopName").is_string());
      EXPECT_TRUE(shop.at("intScoreTotal").is_number());
      EXPECT_TRUE(shop.at("strTag").is_string() || shop.at("strTag").is_null());
    }
    auto newest = page(city, "new", 0);
    EXPECT_EQ(newest["list"].as_array().size(), 20u);
    EXPECT_NE(newest["list"].as_array()[0], hot["list"].as_array()[0]);
    auto tail = page(city, "hot", 2);
    EXPECT_LT(tail["list"].as_array().size(), 20u);
  }
  EXPECT_EQ(kinds.size(), 3u);
  EXPECT_TRUE(page(224, "hot", 0)["list"].as_array().empty());
  EXPECT_EQ(client().get("/client/coupon/131/showlist?order=cheap&p=0&n=20").status, 400);
}

TEST_F(Coupon, DetailAndSmsSending) {
  bool sawSms = false, sawNoSms = false, sawBranches = false;
  std::string smsId, noSmsId;
  for (int id = 1; id <= 60; ++id) {
    auto detail = client().json("/client/coupon/" + std::to_string(id) + "/info?gt=1&tn=gz");
    EXPECT_TRUE(detail["strTopic"].is_string());
    EXPECT_TRUE(detail["strContent"].is_string());
    EXPECT_LT(detail["intStart"].as_int64(), detail["intEnd"].as_int64());
    ASSERT_TRUE(detail["isSms"].is_bool());
    const auto& shops = detail["arrShopInUsing"].as_array();
    ASSERT_FALSE(shops.empty());
    for (const auto& s : shops) {
      EXPECT_TRUE(s.at("intShopId").is_string());
      EXPECT_TRUE(s.at("strShopName").is_string());
      EXPECT_TRUE(s.at("strAddress").is_string());
    }
    sawBranches |= shops.size() > 1;
    if (detail["isSms"].as_bool()) {
      sawSms = true;
      smsId = std::to_string(id);
    } else {
      sawNoSms = true;
      noSmsId = std::to_string(id);
    }
  }
  EXPECT_TRUE(sawSms && sawNoSms && sawBranches);
  EXPECT_EQ(client().get("/client/coupon/99999/info?gt=1").status, 404);
  EXPECT_EQ(client().get("/client/coupon/1/info?gt=x").status, 400);

  const std::string target = "/client/submit/" + smsId + "/sendCouponSms";
  EXPECT_EQ(client().postJson(target, "phone=13812345678&xda_did=device-1")["errNo"].as_int64(), 0);
  EXPECT_EQ(client().post(target, "phone=1381234567&xda_did=device-1").status, 400);
  EXPECT_EQ(client().post(target, "phone=138123456789&xda_did=device-1").status, 400);
  EXPECT_EQ(client().post(target, "phone=2381234567a&xda_did=device-1").status, 400);
  EXPECT_NE(client()
                .postJson("/client/submit/" + noSmsId + "/sendCouponSms",
                          "phone=13812345678&xda_did=device-1")["errNo"]
                .as_int64(),
            0);
  EXPECT_EQ(client().post("/client/submit/99999/sendCouponSms", "phone=13812345678").status, 404);
}

}  // namespace
}  // namespace lk::test

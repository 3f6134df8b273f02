#include <set>

#include "tests/service/SharedService.h"

namespace lk::test {
namespace {

class Account : public SharedService {};

TEST_F(Account, WantAndBeenListsFollowTheSession) {
  const std::string ssid = login("lokavo", "lokavo123");
  ASSERT_FALSE(ssid.empty());
  auto first = client().json("/client/user/0/want?p=0&n=15&ssid=" + ssid + "&tn=gz");
  EXPECT_EQ(first["total"].as_int64(), 21);
  ASSERT_EQ(first["list"].as_array().size(), 15u);
  auto second = client().json("/client/user/0/want?p=1&n=15&ssid=" + ssid + "&tn=gz");
  ASSERT_EQ(second["list"].as_array().size(), 6u);
  std::set<std::string> ids;
  bool sawGone = false;
  for (auto* page : {&first, &second}) {
    for (const auto& entry : (*page)["list"].as_array()) {
      EXPECT_TRUE(entry.at("shop_id").is_string());
      EXPECT_TRUE(ids.insert(std::string(entry.at("shop_id").as_string())).second);
      if (entry.at("shop_name").is_null()) {
        sawGone = true;
        EXPECT_TRUE(entry.at("shop_addr").is_null());
        EXPECT_TRUE(entry.at("shop_grade").is_null());
      } else {
        EXPECT_TRUE(entry.at("shop_addr").is_string());
        EXPECT_TRUE(entry.at("shop_grade").is_number());
      }
    }
  }
  EXPECT_TRUE(sawGone);
  auto been = client().json("/client/user/0/been?p=0&n=15&ssid=" + ssid + "&tn=gz");
  EXPECT_EQ(been["total"].as_int64(), 16);
  EXPECT_EQ(been["list"].as_array().size(), 15u);
  // A wanted shop says so in its information, for this session only.
  const std::string wanted(first["list"].as_array()[0].at("shop_id").as_string());
  EXPECT_TRUE(client().json("/client/shop/" + wanted + "/info?ssid=" + ssid)["want"].as_bool());
  EXPECT_FALSE(client().json("/client/shop/" + wanted + "/info")["want"].as_bool());
  // Without a session, or with another user's, nothing of this list shows.
  auto anonymous = client().json("/client/user/0/want?p=0&n=15&ssid=&tn=gz");
  EXPECT_EQ(anonymous["total"].as_int64(), 0);
  EXPECT_TRUE(anonymous["list"].as_array().empty());
  const std::string other = login("guarded", "guarded123");
  EXPECT_TRUE(other.empty());  // needs a code: no session at all
  auto forged = client().json("/client/user/0/want?p=0&n=15&ssid=ffffffffffffffffffffffffffffffff");
  EXPECT_TRUE(forged["list"].as_array().empty());
}

TEST_F(Account, ProfileAndOwnBroadcasts) {
  const std::string ssid = login("lokavo", "lokavo123");
  auto profile =
      client().json("/client/user/0/utrail?ssid=" + ssid + "&xda_from=iPhone&xda_page=Home&tn=gz");
  const auto& info = profile["userinfo"].as_object();
  EXPECT_EQ(info.at("uid").as_string(), "1");
  EXPECT_EQ(info.at("name").as_string(), "小吃货");
  EXPECT_EQ(std::string(info.at("pic").as_string()).rfind("http://127.0.0.1:", 0), 0u);
  EXPECT_TRUE(info.at("grade").is_int64());
  EXPECT_EQ(profile["want_to_num"].as_int64(), 21);
  EXPECT_EQ(profile["been_to_num"].as_int64(), 16);
  auto own = client().json("/client/user/0/minicmt?p=0&n=15&ssid=" + ssid + "&tn=gz");
  EXPECT_EQ(own["userinfo"].at("name").as_string(), "小吃货");
  EXPECT_EQ(static_cast<std::int64_t>(own["cmtlist"].as_array().size()),
            std::min<std::int64_t>(15, info.at("minicmtcount").as_int64()));
  auto latest = client().json("/client/user/1/minicmt?p=0&n=1&tn=gz");
  EXPECT_LE(latest["cmtlist"].as_array().size(), 1u);
  EXPECT_EQ(client().get("/client/user/0/utrail?ssid=nothing").status, 403);
  auto anonymous = client().json("/client/user/0/minicmt?p=0&n=15&ssid=");
  EXPECT_TRUE(anonymous["cmtlist"].as_array().empty());
  EXPECT_FALSE(anonymous.contains("userinfo"));
}

TEST_F(Account, PositionLookupFindsTheNearestCityAndDistrict) {
  auto beijing = client().json("/client/user/0/pos?longti=116.404000&lati=39.915000&tn=gz");
  EXPECT_EQ(beijing["address_detail"].at("city_code").as_int64(), 131);
  EXPECT_EQ(beijing["address_detail"].at("city").as_string(), "北京");
  EXPECT_TRUE(beijing["address_detail"].at("district").is_string());
  EXPECT_FALSE(beijing["address"].as_string().empty());
  EXPECT_EQ(beijing["point"].at("x").as_string(), "116.404000");
  EXPECT_EQ(beijing["point"].at("y").as_string(), "39.915000");
  auto shanghai = client().json("/client/user/0/pos?longti=121.500000&lati=31.240000&tn=gz");
  EXPECT_EQ(shanghai["address_detail"].at("city_code").as_int64(), 289);
  EXPECT_EQ(client().get("/client/user/0/pos?longti=abc&lati=1").status, 400);
  EXPECT_EQ(client().get("/client/user/0/pos?lati=1").status, 400);
  EXPECT_EQ(client().get("/client/user/0/pos?longti=500&lati=1").status, 400);
}

TEST_F(Account, DailyUserStatisticsAreCounted) {
  const std::string target =
      "/client/user/0/info?xda_os=4&xda_did=device-42&xda_page=DailyUser&xda_from=iPhone&tn=gz";
  auto first = client().json(target);
  auto second = client().json(target);
  EXPECT_EQ(first["errNo"].as_int64(), 0);
  EXPECT_EQ(second["count"].as_int64(), first["count"].as_int64() + 1);
  auto other =
      client().json("/client/user/0/info?xda_os=3&xda_did=device-43&xda_page=DailyUser&tn=gz");
  EXPECT_EQ(other["count"].as_int64(), 1);
  EXPECT_EQ(other["users"].as_int64(), first["users"].as_int64() + 1);
}

}  // namespace
}  // namespace lk::test

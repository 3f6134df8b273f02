#include <atomic>
#include <thread>
#include <vector>

#include "service/Base64.h"
#include "service/PictureMaker.h"
#include "tests/service/SharedService.h"

namespace lk::test {
namespace {

class Broadcast : public SharedService {
 protected:
  // The photo field as the client builds it: Base64 with a line feed, then form-escaped.
  static std::string photoField(const std::string& jpeg) {
    std::string text = service::Base64::encode(jpeg);
    text.insert(text.size() / 2 - (text.size() / 2) % 4, "\n");
    return ServiceTestClient::escape(text);
  }
  static std::string fields(const std::string& shop, const std::string& ssid,
                            const std::string& content) {
    return "shop_id=" + shop + "&content=" + content + "&ssid=" + ssid +
           "&terminal_type=3&xda_from=iPhone&xda_page=Broadcast&xda_did=device-1";
  }
};

TEST_F(Broadcast, PostedPhotoIsServedBackWithTheBroadcast) {
  const std::string ssid = login("lokavo", "lokavo123");
  ASSERT_FALSE(ssid.empty());
  const std::string shop = "1000010";
  const auto before = client().json("/client/shop/" + shop + "/info")["intMiniCmtCount"].as_int64();
  const std::string jpeg = service::PictureMaker::jpegTile(640, 480, {30, 160, 90}, "TEST");
  const std::string text = "人好多，排队中";
  auto answer = client().postJson("/client/submit/" + shop + "/addMiniCmt",
                                  fields(shop, ssid, text) + "&img=" + photoField(jpeg));
  ASSERT_EQ(answer["errNo"].as_int64(), 0) << answer["result"];

  auto list = client().json("/client/shop/" + shop + "/minicmt?p=0&n=15&tn=gz");
  const auto& latest = list["cmtlist"].as_array().at(0).as_object();
  EXPECT_EQ(latest.at("content").as_string(), text);
  EXPECT_EQ(latest.at("uname").as_string(), "小吃货");
  EXPECT_EQ(latest.at("shop_id").as_string(), shop);
  EXPECT_TRUE(latest.at("create_time").is_int64());
  const std::string thumb(latest.at("img").as_string());
  ASSERT_NE(thumb.find("abpic"), std::string::npos);
  std::string full = thumb;
  full.replace(full.find("abpic"), 5, "pic");
  const auto photo = client().get(full);
  ASSERT_EQ(photo.status, 200);
  EXPECT_EQ(photo.body, jpeg);
  const auto small = client().get(thumb);
  ASSERT_EQ(small.status, 200);
  EXPECT_LT(small.body.size(), jpeg.size());
  EXPECT_EQ(client().json("/client/shop/" + shop + "/info")["intMiniCmtCount"].as_int64(),
            before + 1);
  // The city list (under "list") and the author's own list show it first.
  auto city = client().json(
      "/client/index/131/minicmt?p=0&n=15&xda_from=iPhone&xda_page=BroadcastList&tn=gz");
  EXPECT_FALSE(city.contains("cmtlist"));
  EXPECT_EQ(city["list"].as_array().at(0).at("content").as_string(), text);
  auto own = client().json("/client/user/0/minicmt?p=0&n=15&ssid=" + ssid + "&tn=gz");
  EXPECT_EQ(own["cmtlist"].as_array().at(0).at("content").as_string(), text);
  // Text only, and a photo alone, are posts too.
  EXPECT_EQ(
      client()
          .postJson("/client/submit/" + shop + "/addMiniCmt", fields(shop, ssid, "好吃"))["errNo"]
          .as_int64(),
      0);
  EXPECT_EQ(client()
                .postJson("/client/submit/" + shop + "/addMiniCmt",
                          fields(shop, ssid, "") + "&img=" + photoField(jpeg))["errNo"]
                .as_int64(),
            0);
}

TEST_F(Broadcast, RefusedPostsLeaveNothingBehind) {
  const std::string ssid = login("lokavo", "lokavo123");
  const std::string shop = "1000011";
  const auto before =
      client().json("/client/shop/" + shop + "/minicmt?p=0&n=15")["total"].as_int64();
  const std::string target = "/client/submit/" + shop + "/addMiniCmt";
  EXPECT_EQ(client().postJson(target, fields(shop, "", "hello"))["errNo"].as_int64(), 1001);
  EXPECT_EQ(client().postJson(target, fields(shop, "0000", "hello"))["errNo"].as_int64(), 1001);
  std::string longText;
  for (int i = 0; i < 141; ++i)
    longText += "字";
  EXPECT_EQ(client().post(target, fields(shop, ssid, ServiceTestClient::escape(longText))).status,
            400);
  std::string exact;
  for (int i = 0; i < 140; ++i)
    exact += "字";
  EXPECT_EQ(client()
                .postJson(target, fields(shop, ssid, ServiceTestClient::escape(exact)))["errNo"]
                .as_int64(),
            0);
  EXPECT_EQ(client().post(target, fields(shop, ssid, "x") + "&img=%25%25notbase64").status, 400);
  EXPECT_EQ(client()
                .post(target, fields(shop, ssid, "x") + "&img=" +
                                  ServiceTestClient::escape(service::Base64::encode("plain text")))
                .status,
            400);
  EXPECT_EQ(client().post(target, fields(shop, ssid, "")).status, 400);
  EXPECT_EQ(client().post(target, fields("1000012", ssid, "x")).status, 400);
  EXPECT_EQ(client().post("/client/submit/999/addMiniCmt", fields("999", ssid, "x")).status, 404);
  EXPECT_EQ(client().json("/client/shop/" + shop + "/minicmt?p=0&n=15")["total"].as_int64(),
            before + 1);
}

}  // namespace
}  // namespace lk::test

namespace lk::test {
namespace {

TEST_F(Broadcast, ConcurrentPostsAreAllCounted) {
  const std::string ssid = login("lokavo", "lokavo123");
  const std::string shop = "1000020";
  const auto before = client().json("/client/shop/" + shop + "/info")["intMiniCmtCount"].as_int64();
  constexpr int kThreads = 4;
  constexpr int kPosts = 10;
  std::vector<std::thread> threads;
  std::atomic<int> accepted{0};
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      for (int i = 0; i < kPosts; ++i) {
        const auto answer =
            client().post("/client/submit/" + shop + "/addMiniCmt",
                          fields(shop, ssid, "t" + std::to_string(t) + "p" + std::to_string(i)));
        if (answer.status == 200 && answer.body.find("\"errNo\":0") != std::string::npos) {
          ++accepted;
        }
      }
    });
  }
  for (auto& thread : threads)
    thread.join();
  EXPECT_EQ(accepted.load(), kThreads * kPosts);
  EXPECT_EQ(client().json("/client/shop/" + shop + "/info")["intMiniCmtCount"].as_int64(),
            before + kThreads * kPosts);
  EXPECT_EQ(client().json("/client/shop/" + shop + "/minicmt?p=0&n=15")["total"].as_int64(),
            before + kThreads * kPosts);
}

}  // namespace
}  // namespace lk::test

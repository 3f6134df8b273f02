#include "tests/service/SharedService.h"

namespace lk::test {
namespace {

class Submit : public SharedService {};

TEST_F(Submit, AddShopNeedsASessionAndTheRequiredFields) {
  const std::string ssid = login("lokavo", "lokavo123");
  const std::string name = ServiceTestClient::escape("老王面馆");
  const std::string area = ServiceTestClient::escape("朝阳区");
  const std::string tail = "&xda_from=iPhone&xda_page=AddShop";
  EXPECT_EQ(
      client()
          .postJson("/client/submit/0/addShop", "ssid=&name=" + name + "&city_id=131&area=" + area +
                                                    "&address=&cat_id=0" + tail)["errNo"]
          .as_int64(),
      1001);
  auto minimal = client().postJson(
      "/client/submit/0/addShop",
      "ssid=" + ssid + "&name=" + name + "&city_id=131&area=" + area + "&address=&cat_id=0" + tail);
  EXPECT_EQ(minimal["errNo"].as_int64(), 0);
  auto full = client().postJson(
      "/client/submit/0/addShop",
      "ssid=" + ssid + "&name=" + name + "&city_id=131&area=" + area +
          "&address=1&cat_id=20001&x=116.404&y=39.915&strTel1=01012345678" + tail);
  EXPECT_EQ(full["errNo"].as_int64(), 0);
  EXPECT_NE(full["id"], minimal["id"]);
  EXPECT_EQ(
      client()
          .post("/client/submit/0/addShop", "ssid=" + ssid + "&name=&city_id=131&area=" + area)
          .status,
      400);
  EXPECT_EQ(
      client()
          .post("/client/submit/0/addShop", "ssid=" + ssid + "&name=" + name + "&city_id=131&area=")
          .status,
      400);
  EXPECT_EQ(client()
                .post("/client/submit/0/addShop",
                      "ssid=" + ssid + "&name=" + name + "&city_id=5&area=" + area)
                .status,
            400);
  EXPECT_EQ(client()
                .post("/client/submit/0/addShop",
                      "ssid=" + ssid + "&name=" + name + "&city_id=131&area=" + area + "&x=1")
                .status,
            400);
}

TEST_F(Submit, FeedbackAndErrorReports) {
  const std::string content = ServiceTestClient::escape("地址不对");
  auto feedback =
      client().postJson("/client/submit/0/reportInfo",
                        "mode=3&content=" + content + "&email=a%40b.cn&xda_did=device-1");
  EXPECT_EQ(feedback["errNo"].as_int64(), 0);
  auto report = client().postJson(
      "/client/submit/0/reportError",
      "shop_id=1000001&content=" + content +
          "&email=a%40b.cn&xda_did=device-1&xda_from=iPhone&xda_page=ReportError");
  EXPECT_EQ(report["errNo"].as_int64(), 0);
  EXPECT_EQ(client().post("/client/submit/0/reportInfo", "mode=3&content=&email=a").status, 400);
  EXPECT_EQ(client().post("/client/submit/0/reportInfo", "mode=x&content=a&email=a").status, 400);
  EXPECT_EQ(client().post("/client/submit/0/reportError", "shop_id=42&content=a&email=a").status,
            400);
}

}  // namespace
}  // namespace lk::test

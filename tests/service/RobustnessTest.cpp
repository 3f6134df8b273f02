#include <fstream>

#include "tests/service/SharedService.h"

namespace lk::test {
namespace {

class Robustness : public SharedService {};

TEST_F(Robustness, UnknownPathsMethodsAndOversizedBodies) {
  EXPECT_EQ(client().get("/client/nothing/here").status, 404);
  EXPECT_EQ(client().get("/").status, 404);
  EXPECT_EQ(client().get("/client/shop//info").status, 404);
  EXPECT_EQ(client().post("/client/search/0/q?ci=131", "").status, 405);
  EXPECT_EQ(client().get("/client/submit/0/addShop").status, 405);
  const std::string huge(9u * 1024u * 1024u, 'a');
  EXPECT_EQ(client().post("/client/submit/0/reportInfo", "content=" + huge).status, 413);
  // Odd escapes and bytes are handled as text, and the service keeps answering.
  EXPECT_EQ(client().get("/client/search/0/q?ci=131&k=%ZZ%&p=0&n=1").status, 200);
  EXPECT_EQ(client().get("/client/shop/%00/info").status, 404);
  EXPECT_EQ(client().post("/client/submit/0/reportInfo", "%%%&&&===").status, 400);
  EXPECT_EQ(client().get("/client/index/0/province").status, 200);
}

TEST_F(Robustness, AnswersAreCompressedExactlyWhenAsked) {
  const auto plain = client().get("/client/index/0/province");
  const auto packed = client().get("/client/index/0/province?tn=gz");
  ASSERT_EQ(packed.status, 200);
  EXPECT_EQ(plain.body.front(), '{');
  EXPECT_EQ(ServiceTestClient::gunzip(packed.body).value_or(""), plain.body);
  // The shop information is requested plain and comes plain.
  EXPECT_EQ(
      client().get("/client/shop/1000001/info?xda_from=iPhone&xda_page=ShopInfo").body.front(),
      '{');
  // Errors asked for compressed are compressed too, so the client's one decoding path holds.
  EXPECT_TRUE(
      ServiceTestClient::gunzip(client().get("/client/shop/9/info?tn=gz").body).has_value());
}

TEST(ServiceProgram, LengthPrefixedZlibOnRequest) {
  ServiceLauncher::Options options;
  options.arguments = {"--zlib"};
  ServiceLauncher service(options);
  ASSERT_TRUE(service.running()) << service.errorOutput();
  ServiceTestClient client(service);
  const auto plain = client.get("/client/index/131/citymore");
  const auto packed = client.get("/client/index/131/citymore?tn=gz");
  EXPECT_NE(static_cast<unsigned char>(packed.body[0]), 0x1F);
  EXPECT_EQ(ServiceTestClient::unzlibPrefixed(packed.body).value_or(""), plain.body);
  // Pictures stay raw.
  EXPECT_EQ(static_cast<unsigned char>(client.get("/pic/1.jpg?tn=gz").body[0]), 0xFF);
}

TEST(ServiceProgram, ReusesItsDatabaseAndResetsOnRequest) {
  TempDir dir;
  ServiceLauncher::Options options;
  options.database = dir / "kept.sqlite";
  std::string ssid;
  {
    ServiceLauncher first(options);
    ASSERT_TRUE(first.running()) << first.errorOutput();
    ServiceTestClient client(first);
    const auto answer =
        client.post("/passport/?login&", "login_username=lokavo&login_loginpass=lokavo123");
    const auto at = answer.body.find("value=\"");
    ASSERT_NE(at, std::string::npos);
    ssid = answer.body.substr(at + 7, 32);
    EXPECT_EQ(first.stop(), 0);
  }
  {
    ServiceLauncher second(options);
    ASSERT_TRUE(second.running()) << second.errorOutput();
    ServiceTestClient client(second);
    EXPECT_EQ(client.get("/client/user/0/info?ssid=" + ssid).status, 200);  // same store
  }
  options.arguments = {"--reset"};
  ServiceLauncher third(options);
  ASSERT_TRUE(third.running()) << third.errorOutput();
  ServiceTestClient client(third);
  EXPECT_EQ(client.get("/client/user/0/info?ssid=" + ssid).status, 403);  // a new store
  EXPECT_GT(client.json("/client/search/0/q?ci=131&p=0&n=1")["total"].as_int64(), 0);
}

TEST(ServiceProgram, LogsEachRequestWithSecretsHidden) {
  TempDir dir;
  ServiceLauncher::Options options;
  options.arguments = {"--log", (dir / "requests.log").string()};
  ServiceLauncher service(options);
  ASSERT_TRUE(service.running()) << service.errorOutput();
  ServiceTestClient client(service);
  (void)client.post("/passport/?login&", "login_username=lokavo&login_loginpass=lokavo123&tpl=wc");
  (void)client.get("/client/user/0/want?p=0&n=15&ssid=abcdef&tn=gz");
  (void)client.get("/client/search/0/q?k=%E5%B7%9D&ci=131&p=0&n=15");
  (void)client.get("/client/missing");
  EXPECT_EQ(service.stop(), 0);
  const std::string log = readFile(dir / "requests.log");
  EXPECT_NE(
      log.find("POST\t/passport/?login&\tlogin_username=lokavo&login_loginpass=***&tpl=wc\t200"),
      std::string::npos)
      << log;
  EXPECT_NE(log.find("GET\t/client/user/0/want?p=0&n=15&ssid=***&tn=gz\t-\t200"),
            std::string::npos);
  EXPECT_NE(log.find("GET\t/client/search/0/q?k=%E5%B7%9D&ci=131&p=0&n=15\t-\t200"),
            std::string::npos);
  EXPECT_NE(log.find("GET\t/client/missing\t-\t404"), std::string::npos);
  EXPECT_EQ(log.find("lokavo123"), std::string::npos);
  EXPECT_EQ(log.find("abcdef"), std::string::npos);
}

TEST(ServiceProgram, RefusesBadOptions) {
  ServiceLauncher::Options options;
  options.arguments = {"--fault", "nonsense"};
  options.startTimeoutSeconds = 10;
  ServiceLauncher service(options);
  EXPECT_FALSE(service.running());
  EXPECT_NE(service.errorOutput().find("usage"), std::string::npos);
}

}  // namespace
}  // namespace lk::test

#include <httplib.h>
#include <sqlite3.h>

#include "tests/service/RawConnection.h"
#include "tests/service/SharedService.h"

namespace lk::test {
namespace {

using namespace std::chrono_literals;
namespace json = boost::json;

class HostileInput : public SharedService {
 protected:
  static std::string esc(const std::string& text) { return ServiceTestClient::escape(text); }
};

TEST_F(HostileInput, TextThatIsNotStrictUtf8IsRefusedWhereverItComes) {
  const std::string ssid = login("lokavo", "lokavo123");
  ASSERT_FALSE(ssid.empty());
  // A surrogate, an overlong "/", a code point above U+10FFFF, a lone continuation byte.
  for (const std::string bad : {"%ED%A0%80", "%E0%80%AF", "%F4%90%80%80", "%80"}) {
    EXPECT_EQ(client().get("/client/search/0/q?ci=131&p=0&n=15&k=" + bad).status, 400) << bad;
    EXPECT_EQ(client().get("/client/index/0/province?xda_from=" + bad).status, 400) << bad;
    const auto broadcast = client().post("/client/submit/1000020/addMiniCmt",
                                         "shop_id=1000020&ssid=" + ssid + "&content=ok" + bad);
    EXPECT_EQ(broadcast.status, 400) << bad;
    const auto body = ServiceTestClient::parseObject(broadcast.body);
    ASSERT_TRUE(body.has_value()) << broadcast.body;
    EXPECT_EQ(body->at("errNo").as_int64(), 400);
    EXPECT_EQ(client().post("/client/submit/0/reportInfo", "content=" + bad).status, 400) << bad;
  }
  // Every answer that lists the shop's broadcasts is still JSON.
  (void)client().json("/client/shop/1000020/minicmt?p=0&n=100");
  // Four-byte characters are text like any other.
  EXPECT_EQ(client().get("/client/search/0/q?ci=131&p=0&n=15&k=%F0%9F%98%80").status, 200);
}

TEST_F(HostileInput, FieldCountsAndStatisticsValuesAreBounded) {
  std::string query = "/client/search/0/q?ci=131&p=0&n=1";
  for (int i = 0; i < 300; ++i)
    query += "&f" + std::to_string(i) + "=1";
  EXPECT_EQ(client().get(query).status, 400);
  std::string form = "content=hello";
  for (int i = 0; i < 500; ++i)
    form += "&f" + std::to_string(i) + "=1";
  EXPECT_EQ(client().post("/client/submit/0/reportInfo", form).status, 400);
  // Two hundred fields are still a request.
  std::string fair = "content=hello";
  for (int i = 0; i < 200; ++i)
    fair += "&f" + std::to_string(i) + "=1";
  EXPECT_EQ(client().post("/client/submit/0/reportInfo", fair).status, 200);

  EXPECT_EQ(client().get("/client/user/0/info?xda_did=d1&xda_os=" + std::string(65, 'o')).status,
            400);
  EXPECT_EQ(client().get("/client/user/0/info?xda_did=d1&xda_os=" + std::string(64, 'o')).status,
            200);
  EXPECT_EQ(
      client()
          .post("/client/submit/0/reportInfo", "content=hello&xda_did=" + std::string(129, 'd'))
          .status,
      400);
}

TEST_F(HostileInput, PlusInFormTextIsASpace) {
  // Two words of a shop's name joined as a form sends them (the test client would escape "+").
  httplib::Client raw("127.0.0.1", service().port());
  raw.set_url_encode(false);
  const auto found =
      raw.Get("/client/search/0/q?ci=131&p=0&n=15&k=" + esc("羊肉串") + "+" + esc("三里屯"));
  ASSERT_TRUE(found);
  const auto answer = ServiceTestClient::parseObject(found->body).value_or(json::object());
  ASSERT_GT(answer.at("total").as_int64(), 0) << found->body;
  for (const auto& item : answer.at("searchlist").as_array()) {
    const std::string name(item.at("shop_name").as_string());
    EXPECT_NE(name.find("羊肉串"), std::string::npos) << name;
    EXPECT_NE(name.find("三里屯"), std::string::npos) << name;
  }
  const std::string ssid = login("lokavo", "lokavo123");
  auto posted = client().postJson("/client/submit/1000021/addMiniCmt",
                                  "shop_id=1000021&ssid=" + ssid + "&content=hot+pot%2B1");
  ASSERT_EQ(posted.at("errNo").as_int64(), 0);
  auto list = client().json("/client/shop/1000021/minicmt?p=0&n=1");
  EXPECT_EQ(list.at("cmtlist").as_array().at(0).at("content").as_string(), "hot pot+1");
}

TEST_F(HostileInput, OnlyTheDocumentedPictureNamesServeAPicture) {
  // Picture 22 is a JPEG, 35 a PNG.
  EXPECT_EQ(client().get("/pic/22.jpg").status, 200);
  EXPECT_EQ(client().get("/abpic/22.jpg").status, 200);
  EXPECT_EQ(client().get("/pic/35.png").status, 200);
  for (const std::string odd : {"/pic/22.exe", "//pic/22.jpg", "/pic%2f22.jpg", "/pic%2F22.jpg",
                                "/pic/22", "/pic/22.jpg.exe", "/pic/22.png", "/pic/35.jpg",
                                "/pic/+22.jpg", "/pic/22.jpg/", "/abpic//22.jpg"}) {
    EXPECT_EQ(client().get(odd).status, 404) << odd;
  }
}

TEST_F(HostileInput, AbsoluteUrlsNeverComeFromTheHostHeader) {
  httplib::Client raw("127.0.0.1", service().port());
  const httplib::Headers forged = {{"Host", "attacker-host:1234"}};
  const auto list = raw.Get("/client/index/131/minicmt?p=0&n=1", forged);
  ASSERT_TRUE(list);
  EXPECT_EQ(list->body.find("attacker"), std::string::npos);
  EXPECT_NE(list->body.find("\"base\":\"" + service().origin() + "\""), std::string::npos);
  const auto shop = raw.Get("/client/shop/1000001/info", forged);
  ASSERT_TRUE(shop);
  EXPECT_EQ(shop->body.find("attacker"), std::string::npos);
  EXPECT_NE(shop->body.find(service().origin() + "/pic/"), std::string::npos);
}

TEST(HostileInputProgram, OriginOptionNamesThePictureHost) {
  ServiceLauncher::Options options;
  options.templateDatabase = ServiceLauncher::sharedTemplate();
  options.arguments = {"--origin", "http://pictures.example:8080"};
  ServiceLauncher service(options);
  ASSERT_TRUE(service.running()) << service.errorOutput();
  auto shop = ServiceTestClient(service).json("/client/shop/1000001/info");
  EXPECT_EQ(shop.at("base").as_string(), "http://pictures.example:8080");

  ServiceLauncher::Options bad;
  bad.arguments = {"--origin", "http://x/\"}"};
  bad.startTimeoutSeconds = 10;
  EXPECT_FALSE(ServiceLauncher(bad).running());
}

TEST(HostileInputProgram, LogMasksSecretsByDecodedNameAndEscapesControls) {
  TempDir dir;
  ServiceLauncher::Options options;
  options.templateDatabase = ServiceLauncher::sharedTemplate();
  options.arguments = {"--log", (dir / "requests.log").string()};
  ServiceLauncher service(options);
  ASSERT_TRUE(service.running()) << service.errorOutput();
  ServiceTestClient client(service);
  const auto login =
      client.post("/passport/?login&", "login_username=lokavo&login%5Floginpass=lokavo123");
  const auto at = login.body.find("value=\"");
  ASSERT_NE(at, std::string::npos) << login.body;
  const std::string ssid = login.body.substr(at + 7, 32);
  EXPECT_EQ(client.get("/client/user/0/utrail?%73sid=" + ssid).status, 200);
  (void)client.post("/client/submit/0/reportInfo", "content=a%0Ab&s%73id=" + ssid);
  RawConnection raw(service.port());
  ASSERT_TRUE(raw.send("GET /client/tab\there\x1b[31m HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n"));
  (void)raw.receiveAnswers(1, 5s);
  EXPECT_EQ(service.stop(), 0);

  const std::string log = readFile(dir / "requests.log");
  EXPECT_EQ(log.find("lokavo123"), std::string::npos) << log;
  EXPECT_EQ(log.find(ssid), std::string::npos) << log;
  EXPECT_NE(log.find("login%5Floginpass=***"), std::string::npos) << log;
  EXPECT_NE(log.find("/client/user/0/utrail?%73sid=***\t"), std::string::npos) << log;
  EXPECT_EQ(log.find('\x1b'), std::string::npos);
  EXPECT_NE(log.find("GET\t/client/tab\\x09here\\x1b[31m\t-\t404"), std::string::npos) << log;
}

TEST(HostileInputProgram, FailedLoginsKeepAFewLiveChallengesThatExpire) {
  TempDir dir;
  ServiceLauncher::Options options;
  options.templateDatabase = ServiceLauncher::sharedTemplate();
  options.database = dir / "challenges.sqlite";
  options.arguments = {"--verify-code", "1234"};
  auto countChallenges = [&] {
    sqlite3* handle = nullptr;
    int count = -1;
    if (sqlite3_open_v2(options.database.c_str(), &handle, SQLITE_OPEN_READONLY, nullptr) ==
        SQLITE_OK) {
      sqlite3_stmt* stmt = nullptr;
      sqlite3_prepare_v2(handle, "SELECT COUNT(*) FROM challenge", -1, &stmt, nullptr);
      if (sqlite3_step(stmt) == SQLITE_ROW) count = sqlite3_column_int(stmt, 0);
      sqlite3_finalize(stmt);
    }
    sqlite3_close(handle);
    return count;
  };
  auto element = [](const std::string& xml, const std::string& name) {
    const auto open = xml.find("<" + name + ">");
    if (open == std::string::npos) return std::string();
    const auto start = open + name.size() + 2;
    return xml.substr(start, xml.find("</" + name + ">") - start);
  };
  std::string first;
  std::string last;
  std::string lastForm;
  {
    ServiceLauncher service(options);
    ASSERT_TRUE(service.running()) << service.errorOutput();
    ServiceTestClient client(service);
    for (int i = 0; i < 30; ++i) {
      const auto answer =
          client.post("/passport/?login&", "login_username=guarded&login_loginpass=guarded123");
      last = element(answer.body, "qzVcodeString");
      ASSERT_FALSE(last.empty()) << answer.body;
      if (first.empty()) first = last;
      lastForm =
          "login_username=guarded&login_loginpass=guarded123&login_verifycode=1234"
          "&login_qzverify=" +
          last + "&login_qzstoken=" + element(answer.body, "qzQzstoken") +
          "&login_qztime=" + element(answer.body, "qzTime");
    }
    EXPECT_LE(countChallenges(), 3);
    EXPECT_EQ(client.get("/cgi-bin/genimage?" + first).status, 404);
    EXPECT_EQ(client.get("/cgi-bin/genimage?" + last).status, 200);
    EXPECT_EQ(service.stop(), 0);
  }
  // Ten minutes later the newest challenge is no good either.
  {
    sqlite3* handle = nullptr;
    ASSERT_EQ(sqlite3_open(options.database.c_str(), &handle), SQLITE_OK);
    sqlite3_exec(handle, "UPDATE challenge SET created = created - 601", nullptr, nullptr, nullptr);
    sqlite3_close(handle);
  }
  ServiceLauncher service(options);
  ASSERT_TRUE(service.running()) << service.errorOutput();
  ServiceTestClient client(service);
  EXPECT_EQ(client.get("/cgi-bin/genimage?" + last).status, 404);
  const auto late = client.post("/passport/?login=vc", lastForm);
  EXPECT_NE(late.body.find("<reason id=\"204\">"), std::string::npos) << late.body;
  EXPECT_EQ(countChallenges(), 1);  // the expired ones went when the new one came
}

}  // namespace
}  // namespace lk::test

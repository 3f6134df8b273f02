#include <sqlite3.h>

#include "tests/service/SharedService.h"

namespace lk::test {
namespace {

class Passport : public SharedService {
 protected:
  struct Context {
    std::string verify, stoken, time;
  };
  static std::string form(const std::string& user, const std::string& password,
                          const std::string& code = "", const Context& context = {}) {
    return "cip=127.0.0.1&tpl=wc&login_username=" + user + "&login_loginpass=" + password +
           "&phoneid=iPhoneClient&login_verifycode=" + code + "&login_qzverify=" + context.verify +
           "&login_qzstoken=" + context.stoken + "&login_qztime=" + context.time;
  }
  static std::string element(const std::string& xml, const std::string& name) {
    const auto open = xml.find("<" + name + ">");
    if (open == std::string::npos) return {};
    const auto start = open + name.size() + 2;
    return xml.substr(start, xml.find("</" + name + ">") - start);
  }
  static int reason(const std::string& xml) {
    const std::string marker = "<reason id=\"";
    const auto at = xml.find(marker);
    return at == std::string::npos ? -1 : std::stoi(xml.substr(at + marker.size()));
  }
  static ServiceTestClient::Answer login(const std::string& body, bool withCode = false) {
    return client().post(withCode ? "/passport/?login=vc" : "/passport/?login&", body);
  }
};

TEST_F(Passport, ActiveAccountGetsASessionThatTheServiceKnows) {
  const auto answer = login(form("lokavo", "lokavo123"));
  ASSERT_EQ(answer.status, 200);
  EXPECT_NE(answer.body.find("<login_succ><param name=\"ssid\" value=\""), std::string::npos);
  const std::string ssid = SharedService::login("lokavo", "lokavo123");
  ASSERT_EQ(ssid.size(), 32u);
  auto state = client().json("/client/user/0/info?ssid=" + ssid);
  EXPECT_EQ(state["login"].as_string(), "小吃货");
  // A session id that was never handed out is refused, and so is none.
  EXPECT_EQ(client().get("/client/user/0/info?ssid=0123456789abcdef0123456789abcdef").status, 403);
  EXPECT_EQ(client().get("/client/user/0/info?ssid=").status, 403);
}

TEST_F(Passport, RefusalsCarryTheirReasonIds) {
  EXPECT_EQ(reason(login(form("nobody", "x")).body), 2);
  EXPECT_EQ(reason(login(form("lokavo", "wrong")).body), 4);
  EXPECT_EQ(reason(login(form("", "x")).body), 1);
  EXPECT_EQ(reason(login(form("bad%20name", "x")).body), 1);
  EXPECT_EQ(reason(login(form("badday", "badday123")).body), 5);
  EXPECT_EQ(reason(login(form("glitch", "glitch123")).body), 7);
  EXPECT_EQ(reason(login(form("suspended", "suspended123")).body), 16);
  EXPECT_EQ(reason(login(form("crowded", "crowded123")).body), 20);
  EXPECT_EQ(reason(login(form("oddity", "oddity123")).body), 3);
  const auto answer = login(form("nobody", "x"));
  EXPECT_NE(answer.body.find("<login_fail>"), std::string::npos);
  EXPECT_EQ(client().post("/passport/", form("lokavo", "lokavo123")).status, 404);
}

TEST_F(Passport, VerificationCodeExchange) {
  // First the passport asks for a code and hands out its context.
  const auto first = login(form("guarded", "guarded123"));
  ASSERT_EQ(reason(first.body), 204);
  Context context{element(first.body, "qzVcodeString"), element(first.body, "qzQzstoken"),
                  element(first.body, "qzTime")};
  ASSERT_FALSE(context.verify.empty());
  ASSERT_FALSE(context.stoken.empty());
  ASSERT_FALSE(context.time.empty());
  // The code picture is a PNG, sent raw even when compression is allowed.
  const auto png = client().get("/cgi-bin/genimage?" + context.verify);
  ASSERT_EQ(png.status, 200);
  ASSERT_GT(png.body.size(), 8u);
  EXPECT_EQ(png.body.substr(1, 3), "PNG");
  EXPECT_EQ(png.contentType, "image/png");
  const auto asked = client().get("/cgi-bin/genimage?" + context.verify + "&tn=gz");
  EXPECT_EQ(asked.status, 200);
  EXPECT_EQ(asked.body, png.body);
  EXPECT_EQ(client().get("/cgi-bin/genimage?unknown").status, 404);
  // The code itself, read from the service's store as a person reads the picture.
  const std::string code = [&] {
    auto db = service().databasePath();
    std::string value;
    sqlite3* handle = nullptr;
    if (sqlite3_open_v2(db.c_str(), &handle, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
      sqlite3_stmt* stmt = nullptr;
      sqlite3_prepare_v2(handle, "SELECT code FROM challenge WHERE token = ?", -1, &stmt, nullptr);
      sqlite3_bind_text(stmt, 1, context.verify.c_str(), -1, SQLITE_TRANSIENT);
      if (sqlite3_step(stmt) == SQLITE_ROW) {
        value = reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0));
      }
      sqlite3_finalize(stmt);
    }
    sqlite3_close(handle);
    return value;
  }();
  ASSERT_EQ(code.size(), 4u);
  const std::string wrong = code == "0000" ? "1111" : "0000";
  EXPECT_EQ(reason(login(form("guarded", "guarded123", wrong, context), true).body), 6);
  EXPECT_EQ(reason(login(form("guarded", "wrong", code, context), true).body), 4);
  const auto success = login(form("guarded", "guarded123", code, context), true);
  EXPECT_NE(success.body.find("<login_succ>"), std::string::npos) << success.body;
  // A spent context earns a fresh code request.
  EXPECT_EQ(reason(login(form("guarded", "guarded123", code, context), true).body), 204);
}

TEST_F(Passport, InactiveAccountIsActivatedWithANickname) {
  const std::string ssid = SharedService::login("newbie", "newbie123");
  ASSERT_FALSE(ssid.empty());
  EXPECT_EQ(client().json("/client/user/0/info?ssid=" + ssid)["login"].as_string(), "");
  const std::string fields = "&xda_did=device-1&xda_from=iPhone&xda_page=ActivedUser";
  auto empty = client().postJson("/client/user/0/active", "nickName=&ssid=" + ssid + fields);
  EXPECT_NE(empty["errNo"].as_int64(), 0);
  EXPECT_TRUE(empty["result"].is_string());
  auto taken =
      client().postJson("/client/user/0/active", "nickName=" + ServiceTestClient::escape("小吃货") +
                                                     "&ssid=" + ssid + fields);
  EXPECT_EQ(taken["errNo"].as_int64(), 2);
  auto stranger = client().postJson("/client/user/0/active", "nickName=abc&ssid=feed" + fields);
  EXPECT_NE(stranger["errNo"].as_int64(), 0);
  auto done =
      client().postJson("/client/user/0/active", "nickName=" + ServiceTestClient::escape("新来的") +
                                                     "&ssid=" + ssid + fields);
  EXPECT_EQ(done["errNo"].as_int64(), 0);
  EXPECT_EQ(client().json("/client/user/0/info?ssid=" + ssid)["login"].as_string(), "新来的");
}

}  // namespace
}  // namespace lk::test

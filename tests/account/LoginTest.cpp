// The login exchange, the verification code, activation and the automatic login, through the
// front end against the stand-in service; the service's request log shows what went on the wire.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>

#include "Classes/Account/AccountNotifications.h"
#include "Classes/Account/LoginViewController.h"
#include "Classes/Account/LoginViewControllerDelegate.h"
#include "Classes/LocalState/CacheCenter.h"
#include "Platform/Notifications/NotificationCenter.h"
#include "Platform/Storage/UserDefaults.h"
#include "tests/account/AccountSession.h"

namespace lk::test {
namespace {

using Login = AccountSession;

// Counts the notifications of one name while it lives.
class NotificationCount {
 public:
  explicit NotificationCount(const char* name)
      : token_(NotificationCenter::defaultCenter().addObserver(
            name, [this](const Notification&) { ++count_; })) {}
  [[nodiscard]] int count() const { return count_; }

 private:
  int count_ = 0;
  ObserverToken token_;
};

bool startsWith(const std::string& text, const std::string& prefix) {
  return text.rfind(prefix, 0) == 0;
}

// The index of the first target at or after `from` that starts with `prefix`, or -1.
int indexOf(const std::vector<std::string>& targets, const std::string& prefix) {
  for (std::size_t i = 0; i < targets.size(); ++i) {
    if (startsWith(targets[i], prefix)) return static_cast<int>(i);
  }
  return -1;
}

constexpr const char* kStatistics = "/client/user/0/info?xda_os=";
constexpr const char* kPassport = "/passport/?login&";

TEST_F(Login, EveryRefusalShowsItsReason) {
  ASSERT_TRUE(service.running()) << service.errorOutput();
  run("tab 个人中心");
  struct Case {
    const char* name;
    const char* password;
    const char* message;
  };
  const Case cases[] = {
      {"a<b>", "x", "用户名格式错误"},
      {"nosuchuser", "x", "用户名不存在"},
      {"lokavo", "wrong", "密码不正确"},
      {"badday", "badday123", "今日登陆次数过多"},
      {"glitch", "glitch123", "登录时发生未知错误"},
      {"suspended", "suspended123", "对不起，您现在无法登录，请稍候再试"},
      {"crowded", "crowded123", "此账号已登录人数过多"},
      {"oddity", "oddity123", "未知错误,Code=3"},
  };
  for (const Case& c : cases) {
    login().setUsername(c.name);
    login().setPassword(c.password);
    login().login();
    session->settle();
    EXPECT_EQ(alertTitle(), "登录失败") << c.name;
    EXPECT_EQ(alertMessage(), c.message) << c.name;
    EXPECT_FALSE(login().isLogin()) << c.name;
    dismissAlert();
  }
  // A wrong verification code.
  login().setUsername("guarded");
  login().setPassword("guarded123");
  login().login();
  session->settle();
  ASSERT_TRUE(login().requiresVerifyCode());
  run("type 9999");
  run("return");
  EXPECT_EQ(alertTitle(), "登录失败");
  EXPECT_EQ(alertMessage(), "验证码不匹配");
}

TEST_F(Login, MissingInputsAreAskedForAndNothingIsSent) {
  run("tab 个人中心");
  run("tap 密码");
  run("type secret");
  run("return");
  EXPECT_EQ(alertTitle(), "");
  EXPECT_EQ(alertMessage(), "请输入用户名");
  dismissAlert();
  login().setUsername("lokavo");
  login().setPassword("");
  login().login();
  EXPECT_EQ(alertMessage(), "请输入密码");
  EXPECT_TRUE(received("/passport").empty());
  EXPECT_EQ(login().request(), nullptr);
}

TEST_F(Login, VerificationCodeAddsARowAndGoesToTheServicePassport) {
  const std::string asked = loginThroughScreen("guarded", "guarded123");
  EXPECT_EQ(alertMessage(), "") << "a code request is no failure";
  EXPECT_NE(asked.find("label: 验证码"), std::string::npos) << asked;
  EXPECT_NE(asked.find("image: 100x40 bitmap"), std::string::npos);
  ASSERT_TRUE(login().qzVerify().has_value());
  const std::string token = *login().qzVerify();
  EXPECT_FALSE(token.empty());

  const auto first = received(kPassport, 1);
  ASSERT_EQ(first.size(), 1u);
  EXPECT_EQ(first[0].method, "POST");
  EXPECT_NE(first[0].body.find("login_verifycode=&"), std::string::npos) << first[0].body;
  EXPECT_EQ(received("/cgi-bin/genimage?" + token, 1).size(), 1u);

  run("type 1234");
  const std::string done = run("return");
  const auto second = received("/passport/?login=vc", 1);
  ASSERT_EQ(second.size(), 1u);
  const std::string& body = second[0].body;
  EXPECT_NE(body.find("login_verifycode=1234"), std::string::npos) << body;
  EXPECT_NE(body.find("login_qzverify=" + token), std::string::npos) << body;
  EXPECT_NE(body.find("login_qzstoken=" + *login().qzStoken()), std::string::npos);
  EXPECT_NE(body.find("login_qztime=" + *login().qzTime()), std::string::npos);
  EXPECT_FALSE(login().qzStoken()->empty());
  EXPECT_FALSE(login().qzTime()->empty());
  EXPECT_TRUE(login().isLogin());
  EXPECT_EQ(done.find("label: 用户名"), std::string::npos) << "the user centre shows";
}

TEST_F(Login, ActivationAsksForANicknameUntilAFreeOneIsGiven) {
  NotificationCount succeeded(kLoginSucceed);
  const std::string asked = loginThroughScreen("newbie", "newbie123");
  EXPECT_NE(asked.find("message: 您的帐号还未激活,请输入昵称激活"), std::string::npos) << asked;
  EXPECT_NE(asked.find("buttons: [取消] [激活]"), std::string::npos);
  run("type 小吃货");
  run("alert 激活");
  EXPECT_EQ(alertTitle(), "激活失败");
  EXPECT_EQ(alertMessage(), "该昵称已被使用");
  EXPECT_EQ(succeeded.count(), 0);
  dismissAlert();

  // Logging in again asks again.
  run("tap 密码");
  const std::string again = run("return");
  EXPECT_NE(again.find("您的帐号还未激活"), std::string::npos) << again;
  run("type 新人甲");
  const std::string shown = run("alert 激活");
  EXPECT_EQ(succeeded.count(), 1);
  EXPECT_TRUE(login().isLogin());
  EXPECT_NE(shown.find("label: 新人甲"), std::string::npos) << shown;
  const auto activation = received("/client/user/0/active", 2);
  ASSERT_EQ(activation.size(), 2u);
  EXPECT_NE(activation[1].body.find("xda_page=ActivedUser"), std::string::npos);
  EXPECT_NE(activation[1].body.find("xda_from=iPhone"), std::string::npos);
  EXPECT_EQ(CacheCenter::sharedInstance().username(), "newbie");
}

TEST_F(Login, CancelledActivationKeepsTheSessionWithoutAnnouncingALogin) {
  NotificationCount succeeded(kLoginSucceed);
  loginThroughScreen("newbie", "newbie123");
  run("alert 取消");
  EXPECT_TRUE(login().isLogin());
  EXPECT_EQ(succeeded.count(), 0);
  EXPECT_TRUE(received("/client/user/0/active").empty());
}

TEST_F(Login, SuccessRecordsTheAccountThenAnnouncesThenTellsTheDelegate) {
  struct Recorder : LoginViewControllerDelegate {
    void loginSucceed(LoginViewController& /*controller*/) override { steps.push_back("delegate"); }
    std::vector<std::string> steps;
  } recorder;
  auto token = NotificationCenter::defaultCenter().addObserver(
      kLoginSucceed, [&recorder](const Notification&) {
        const auto& stored = CacheCenter::sharedInstance();
        recorder.steps.push_back(stored.username() == "lokavo" && stored.password() == "lokavo123"
                                     ? "announced after recording"
                                     : "announced before recording");
      });
  run("tab 个人中心");
  login().setDelegate(&recorder);
  login().setUsername("lokavo");
  login().setPassword("lokavo123");
  login().login();
  session->settle();
  EXPECT_EQ(recorder.steps, (std::vector<std::string>{"announced after recording", "delegate"}));
  login().setDelegate(nullptr);
}

TEST_F(Login, ActivationsSendStatisticsThenLogInAgainUntilLogout) {
  loginThroughScreen("lokavo", "lokavo123");
  ASSERT_TRUE(login().isLogin());
  // The order in which the client sent them (the service logs answers as they finish).
  const auto sent = [](const LogCapture& log) {
    std::vector<std::string> requests;
    for (const auto& line : log.lines()) {
      if (startsWith(line, "GET: ") || startsWith(line, "POST: ")) {
        const auto path = line.find("/", line.find("//") + 2);
        requests.push_back(line.substr(path));
      }
    }
    return requests;
  };

  // A new start: statistics first, then the passport with the stored account.
  std::optional<LogCapture> log(std::in_place);
  restartClient();
  auto all = sent(*log);
  int stat = indexOf(all, kStatistics);
  int pass = indexOf(all, kPassport);
  ASSERT_GE(stat, 0);
  ASSERT_GE(pass, 0);
  EXPECT_LT(stat, pass);
  EXPECT_TRUE(login().isLogin());
  const auto firstSsid = login().ssid();

  // Back from the background: the same again, with a new session.
  log.emplace();
  run("background");
  run("foreground");
  all = sent(*log);
  stat = indexOf(all, kStatistics);
  pass = indexOf(all, kPassport);
  ASSERT_GE(stat, 0);
  ASSERT_GE(pass, 0);
  EXPECT_LT(stat, pass);
  EXPECT_TRUE(login().isLogin());
  EXPECT_NE(login().ssid(), firstSsid);

  // After logout only the statistics go out; the name stays for the next login.
  login().logout();
  log.emplace();
  run("background");
  run("foreground");
  all = sent(*log);
  EXPECT_GE(indexOf(all, kStatistics), 0);
  EXPECT_EQ(indexOf(all, kPassport), -1);
  EXPECT_FALSE(login().isLogin());
  EXPECT_EQ(CacheCenter::sharedInstance().username(), "lokavo");
  EXPECT_EQ(CacheCenter::sharedInstance().password(), std::nullopt);
}

TEST_F(Login, StatisticsAreNeverAnsweredFromTheResponseCache) {
  const std::size_t before = received(kStatistics, 1).size();
  run("background");
  run("foreground");
  run("background");
  run("foreground");
  EXPECT_EQ(received(kStatistics, before + 2).size(), before + 2);
  for (const auto& r : received(kStatistics)) {
    EXPECT_NE(r.target.find("&xda_page=DailyUser&xda_from=iPhone&tn=gz"), std::string::npos)
        << r.target;
  }
}

TEST_F(Login, AutomaticLoginWithAWrongStoredPasswordStaysSilent) {
  CacheCenter::sharedInstance().recordUsername("lokavo");
  CacheCenter::sharedInstance().recordPassword("wrong");
  run("tab 个人中心");  // the view is loaded before the next activation
  restartClient();
  EXPECT_EQ(received(kPassport, 1).size(), 1u);
  EXPECT_FALSE(login().isLogin());
  EXPECT_EQ(alertTitle(), "");
}

TEST_F(Login, LogoutEndsTheSessionAndKeepsTheName) {
  NotificationCount loggedOut(kLogoutSucceed);
  loginThroughScreen("lokavo", "lokavo123");
  ASSERT_TRUE(login().isLogin());
  login().logout();
  EXPECT_FALSE(login().isLogin());
  EXPECT_EQ(loggedOut.count(), 1);
  EXPECT_EQ(CacheCenter::sharedInstance().password(), std::nullopt);
  EXPECT_EQ(CacheCenter::sharedInstance().username(), "lokavo");
  EXPECT_EQ(storage.store().stringForKey(kPassword), std::nullopt);
  run("tab 搜索");
  const std::string again = run("tab 个人中心");
  EXPECT_NE(again.find("field: lokavo"), std::string::npos) << again;
  EXPECT_NE(again.find("label: 密码"), std::string::npos);
}

TEST_F(Login, AccountCommandShowsTheNameButNoSecret) {
  EXPECT_EQ(run("account"), "not logged in\n");
  loginThroughScreen("lokavo", "lokavo123");
  const std::string shown = run("account");
  EXPECT_EQ(shown, "logged in as lokavo\n");
  EXPECT_EQ(shown.find(*login().ssid()), std::string::npos);
  login().logout();
  EXPECT_EQ(run("account"), "not logged in (remembered name: lokavo)\n");
}

TEST_F(Login, DebugLinesCarryNoPasswordNameNicknameOrSession) {
  LogCapture log;
  loginThroughScreen("newbie", "newbie123");
  run("type 新人乙");
  run("alert 激活");
  ASSERT_TRUE(login().isLogin());
  const std::string ssid = *login().ssid();
  const auto lines = log.lines();
  ASSERT_FALSE(lines.empty());
  for (const auto& line : lines) {
    EXPECT_EQ(line.find("newbie"), std::string::npos) << line;
    EXPECT_EQ(line.find(ssid), std::string::npos) << line;
    EXPECT_EQ(line.find("%E6%96%B0%E4%BA%BA%E4%B9%99"), std::string::npos) << line;  // 新人乙
    EXPECT_EQ(line.find("新人乙"), std::string::npos) << line;
    EXPECT_EQ(line.find("login_succ"), std::string::npos) << line;
  }
  EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [](const std::string& l) {
    return l.find("login_loginpass=***") != std::string::npos &&
           l.find("login_username=***") != std::string::npos;
  }));
  EXPECT_TRUE(log.contains("nickName=***"));
}

}  // namespace
}  // namespace lk::test

// The login controller against a scripted passport: refused and damaged answers, late answers of
// earlier exchanges, logout during a login, hostile XML, and a delegate that went away.
#include <gtest/gtest.h>

#include <memory>
#include <optional>

#include "Classes/Account/AccountNotifications.h"
#include "Classes/Account/LKPopupTextField.h"
#include "Classes/Account/LoginViewController.h"
#include "Classes/Account/LoginViewControllerDelegate.h"
#include "Classes/LocalState/CacheCenter.h"
#include "Classes/ServiceClient/HttpRequestCacheCenter.h"
#include "Classes/ServiceClient/ServiceEndpoints.h"
#include "Classes/Toolkit/AlertCenter.h"
#include "Platform/Notifications/NotificationCenter.h"
#include "Platform/UI/AlertView.h"
#include "Platform/UI/Application.h"
#include "Platform/UI/NavigationController.h"
#include "Platform/UI/Window.h"
#include "tests/account/ScriptedPassport.h"
#include "tests/support/ScopedClientStorage.h"
#include "tests/support/TestSupport.h"

namespace lk::test {
namespace {

using Answer = ScriptedPassport::Answer;
using std::chrono::milliseconds;

// The login screen on screen in a window, talking to a scripted passport through the real
// request engine.
class LoginMends : public ::testing::Test {
 protected:
  LoginMends() {
    ui::Application::resetSharedInstanceForTesting();
    AlertCenter::resetSharedInstanceForTesting();
    HttpRequestCacheCenter::resetSharedInstanceForTesting();
    ServiceEndpoints::setServiceURL(passport.baseURL());
    loginSucceeded = NotificationCenter::defaultCenter().addObserver(
        kLoginSucceed, [this](const Notification&) { ++succeeded; });
  }
  ~LoginMends() override {
    window.reset();
    nav.reset();
    LoginViewController::resetSharedInstanceForTesting();
    ServiceEndpoints::setServiceURL("");
    HttpRequestCacheCenter::resetSharedInstanceForTesting();
    AlertCenter::resetSharedInstanceForTesting();
    ui::Application::resetSharedInstanceForTesting();
  }

  static LoginViewController& login() { return LoginViewController::sharedInstance(); }

  void showScreen() {
    nav = std::make_shared<ui::NavigationController>(LoginViewController::sharedPointer());
    window = std::make_unique<ui::Window>();
    window->setRootViewController(nav);
    window->makeKeyAndVisible();
  }
  void loginAs(const std::string& name, const std::string& password = "pw") {
    login().setUsername(name);
    login().setPassword(password);
    login().login();
  }
  // Until no request of the login controller is in flight, then a little longer.
  void settle() {
    ASSERT_TRUE(loop->runUntil(
        [] {
          return login().request() == nullptr && login().activeRequest() == nullptr &&
                 login().statRequest() == nullptr;
        },
        seconds(10)));
    loop->runFor(milliseconds(50));
  }
  static std::string alertTitle() {
    auto& a = AlertCenter::sharedInstance();
    return a.isShow() ? a.sharedAlertView()->title() : "(none)";
  }
  static std::string alertMessage() {
    auto& a = AlertCenter::sharedInstance();
    return a.isShow() ? a.sharedAlertView()->message() : "(none)";
  }
  static void dismissAlert() {
    auto& a = AlertCenter::sharedInstance();
    if (a.isShow()) a.sharedAlertView()->tapButton(0);
  }
  void activateWith(const std::string& nickname) {
    ASSERT_NE(login().activationPrompt(), nullptr);
    auto prompt = login().activationPrompt();
    prompt->textField()->setText(nickname);
    prompt->tapButton("激活");
    settle();
  }

  ScopedMainLoop loop{false};
  ScopedClientStorage storage;
  ScriptedPassport passport;
  std::shared_ptr<ui::NavigationController> nav;
  std::unique_ptr<ui::Window> window;
  int succeeded = 0;
  ObserverToken loginSucceeded;
};

TEST_F(LoginMends, RefusedOrDamagedAccountStateIsAFailedLoginNotAnInactiveAccount) {
  showScreen();
  for (const Answer& answer :
       {Answer{403, R"({"errNo":403,"result":"登录已失效"})"}, Answer{500, R"({"login":""})"},
        Answer{200, "<html>"}, Answer{200, R"(["login"])"}}) {
    passport.answerAccountState(answer);
    loginAs("lokavo");
    settle();
    EXPECT_EQ(alertTitle(), "登录失败") << answer.body;
    EXPECT_EQ(alertMessage(), "服务器连接失败") << answer.body;
    EXPECT_EQ(login().activationPrompt(), nullptr) << answer.body;
    EXPECT_EQ(succeeded, 0);
    dismissAlert();
  }
  // An empty nickname in a good answer is what asks for activation.
  passport.answerAccountState({200, R"({"login":""})"});
  loginAs("lokavo");
  settle();
  EXPECT_NE(login().activationPrompt(), nullptr);
}

TEST_F(LoginMends, ActivationSucceedsOnlyWithANumericZeroErrNo) {
  showScreen();
  passport.answerAccountState({200, R"({"login":""})"});
  struct Case {
    Answer answer;
    const char* message;
  };
  const Case cases[] = {
      {{200, R"({"result":"昵称不合适"})"}, "昵称不合适"},
      {{200, R"({"errNo":"0","result":"激活成功"})"}, "激活成功"},
      {{200, R"({"errNo":2,"result":"该昵称已被使用"})"}, "该昵称已被使用"},
      {{500, R"({"errNo":0})"}, "服务器返回数据错误"},
      {{200, "errNo=0"}, "服务器返回数据错误"},
      {{200, R"({"errNo":null})"}, "服务器返回数据错误"},
  };
  for (const Case& c : cases) {
    passport.answerActivation(c.answer);
    loginAs("newbie");
    settle();
    activateWith("新人");
    EXPECT_EQ(alertTitle(), "激活失败") << c.answer.body;
    EXPECT_EQ(alertMessage(), c.message) << c.answer.body;
    EXPECT_EQ(succeeded, 0) << c.answer.body;
    dismissAlert();
  }
  passport.answerActivation({200, R"({"errNo":0,"result":"激活成功"})"});
  loginAs("newbie");
  settle();
  activateWith("新人");
  EXPECT_EQ(succeeded, 1);
  EXPECT_EQ(alertTitle(), "(none)");
}

TEST_F(LoginMends, StatisticsAnswerDoesNotEndTheLoginsAccountQuery) {
  CacheCenter::sharedInstance().recordUsername("lokavo");
  CacheCenter::sharedInstance().recordPassword("pw");
  // The statistics answer arrives while the account state is still on its way.
  passport.answerStatistics({200, R"({"errNo":0})", milliseconds(200)});
  passport.answerAccountState({200, R"({"login":"小吃货"})", milliseconds(600)});
  login().activedUserStat();
  login().autoLogin();
  settle();
  EXPECT_EQ(succeeded, 1);
  EXPECT_EQ(login().ssid(), "S-lokavo");
  EXPECT_EQ(passport.requestsTo("/client/user/0/info").size(), 2u);
}

TEST_F(LoginMends, OnlyTheNewestLoginCounts) {
  showScreen();
  // The first exchange would answer last.
  passport.answerLogin("first", {200, ScriptedPassport::successXml("S-first"), milliseconds(400)});
  loginAs("first", "pw-first");
  loop->runFor(milliseconds(50));
  loginAs("second", "pw-second");
  settle();
  loop->runFor(milliseconds(600));
  EXPECT_EQ(login().ssid(), "S-second");
  EXPECT_EQ(succeeded, 1);
  EXPECT_EQ(CacheCenter::sharedInstance().username(), "second");
  EXPECT_EQ(CacheCenter::sharedInstance().password(), "pw-second");
  const auto states = passport.requestsTo("/client/user/0/info");
  ASSERT_EQ(states.size(), 1u);
  EXPECT_EQ(states[0].query, "?ssid=S-second");
}

TEST_F(LoginMends, TheRecordedAccountIsTheOneThatWasSent) {
  showScreen();
  passport.answerAccountState({200, R"({"login":"小吃货"})", milliseconds(300)});
  loginAs("lokavo", "secret");
  // Typing goes on while the answer is on its way.
  login().setUsername("someone-else");
  settle();
  EXPECT_EQ(succeeded, 1);
  EXPECT_EQ(CacheCenter::sharedInstance().username(), "lokavo");
  EXPECT_EQ(CacheCenter::sharedInstance().password(), "secret");
}

TEST_F(LoginMends, LogoutDuringAnAutomaticLoginStaysLoggedOut) {
  CacheCenter::sharedInstance().recordUsername("lokavo");
  CacheCenter::sharedInstance().recordPassword("pw");
  int loggedOut = 0;
  auto token = NotificationCenter::defaultCenter().addObserver(
      kLogoutSucceed, [&loggedOut](const Notification&) { ++loggedOut; });
  passport.answerLogin("lokavo",
                       {200, ScriptedPassport::successXml("S-lokavo"), milliseconds(300)});
  login().autoLogin();
  loop->runFor(milliseconds(20));
  login().logout();
  loop->runFor(milliseconds(700));
  EXPECT_FALSE(login().isLogin());
  EXPECT_EQ(succeeded, 0);
  EXPECT_EQ(loggedOut, 1);
  EXPECT_TRUE(passport.requestsTo("/client/user/0/info").empty());
  EXPECT_EQ(CacheCenter::sharedInstance().password(), std::nullopt);

  // Also while the account state is on its way.
  CacheCenter::sharedInstance().recordPassword("pw");
  passport.answerLogin("lokavo", {200, ScriptedPassport::successXml("S-lokavo")});
  passport.answerAccountState({200, R"({"login":"小吃货"})", milliseconds(300)});
  login().autoLogin();
  ASSERT_TRUE(loop->runUntil([] { return login().activeRequest() != nullptr; }, seconds(5)));
  login().logout();
  loop->runFor(milliseconds(700));
  EXPECT_FALSE(login().isLogin());
  EXPECT_EQ(succeeded, 0);
}

TEST_F(LoginMends, StatisticsFailuresStaySilentLoginFailuresDoNot) {
  showScreen();
  ServiceEndpoints::setServiceURL("http://127.0.0.1:" + std::to_string(unusedLoopbackPort()) +
                                  "/client");
  login().activedUserStat();
  settle();
  EXPECT_EQ(alertTitle(), "(none)");

  loginAs("lokavo");
  settle();
  EXPECT_EQ(alertTitle(), "登录失败");
  EXPECT_EQ(alertMessage(), "服务器连接失败");
}

TEST_F(LoginMends, AnAutomaticLoginBeforeTheScreenWasShownStaysSilent) {
  ServiceEndpoints::setServiceURL("http://127.0.0.1:" + std::to_string(unusedLoopbackPort()) +
                                  "/client");
  CacheCenter::sharedInstance().recordUsername("lokavo");
  CacheCenter::sharedInstance().recordPassword("pw");
  login().autoLogin();
  settle();
  EXPECT_FALSE(login().isViewLoaded());
  EXPECT_EQ(alertTitle(), "(none)");
}

TEST_F(LoginMends, UnusableCodePicturesAndIncompleteAnswersAreReported) {
  showScreen();
  const std::string challenge =
      "<login_fail><reason id=\"204\"/><qzVcodeString>tok</qzVcodeString>"
      "<qzQzstoken>st</qzQzstoken><qzTime>17</qzTime></login_fail>";
  passport.answerLogin("guarded", {200, challenge});
  for (const Answer& picture : {Answer{404, "no"}, Answer{200, "not a picture"}}) {
    passport.answerVerifyImage(picture);
    loginAs("guarded");
    settle();
    EXPECT_EQ(alertTitle(), "登录失败") << picture.status;
    EXPECT_EQ(alertMessage(), "服务器连接失败") << picture.status;
    EXPECT_FALSE(login().requiresVerifyCode());
    dismissAlert();
  }
  const auto pictures = passport.requestsTo("/cgi-bin/genimage");
  ASSERT_EQ(pictures.size(), 2u);
  EXPECT_EQ(pictures[0].query, "?tok&tn=gz");

  // A code request without its context, a session without value.
  for (const std::string& reply :
       {std::string("<login_fail><reason id=\"204\"/></login_fail>"),
        std::string("<login_fail><reason id=\"204\"/><qzVcodeString/></login_fail>"),
        std::string("<login_succ><param name=\"ssid\"/></login_succ>"),
        std::string("<login_succ><param name=\"ssid\" value=\"\"/></login_succ>"),
        std::string("<login_succ/>"), std::string("<welcome/>")}) {
    passport.answerLogin("odd", {200, reply});
    loginAs("odd");
    settle();
    EXPECT_EQ(alertTitle(), "登录失败") << reply;
    EXPECT_EQ(alertMessage(), "服务器返回数据错误") << reply;
    EXPECT_FALSE(login().isLogin()) << reply;
    dismissAlert();
  }
  EXPECT_EQ(passport.requestsTo("/cgi-bin/genimage").size(), 2u);
  EXPECT_TRUE(passport.requestsTo("/client/user/0/info").empty());
}

TEST_F(LoginMends, CodePictureAddsTheThirdRow) {
  showScreen();
  passport.answerLogin("guarded",
                       {200,
                        "<login_fail><reason id=\"204\"/><qzVcodeString>a b&amp;c</qzVcodeString>"
                        "<qzQzstoken>st</qzQzstoken><qzTime>17</qzTime></login_fail>"});
  loginAs("guarded");
  settle();
  EXPECT_EQ(alertTitle(), "(none)");
  EXPECT_TRUE(login().requiresVerifyCode());
  EXPECT_EQ(login().tableView()->numberOfRowsInSection(0), 3);
  ASSERT_NE(login().fieldAtRow(2), nullptr);
  EXPECT_TRUE(login().fieldAtRow(2)->isFirstResponder());
  EXPECT_EQ(login().verifyImageView()->superview(),
            login().tableView()->cellForRowAtIndexPath({0, 2})->contentView().get());
  EXPECT_EQ(login().fieldAtRow(1)->returnKeyType, ui::TextInput::ReturnKey::kNext);
  // The verification string is escaped into the picture's address.
  EXPECT_EQ(passport.requestsTo("/cgi-bin/genimage").at(0).query, "?a+b%26c&tn=gz");

  // Without a code the login is not sent; with one it goes to "?login=vc".
  login().setVerifyCode("");
  login().login();
  EXPECT_EQ(alertMessage(), "请输入验证码");
  dismissAlert();
  login().setVerifyCode("1234");
  login().login();
  settle();
  const auto logins = passport.requestsTo("/passport/");
  ASSERT_EQ(logins.size(), 2u);
  EXPECT_EQ(logins[1].query, "?login=vc");
  EXPECT_NE(logins[1].body.find("login_verifycode=1234"), std::string::npos);
  EXPECT_NE(logins[1].body.find("login_qzverify=a+b%26c"), std::string::npos);
  EXPECT_NE(logins[1].body.find("login_qzstoken=st"), std::string::npos);
  EXPECT_NE(logins[1].body.find("login_qztime=17"), std::string::npos);
}

TEST_F(LoginMends, HostileRepliesAreDroppedWithoutFetchingAnything) {
  showScreen();
  const std::string dtd = passport.origin() + "/evil.dtd";
  const std::string replies[] = {
      "<?xml version=\"1.0\"?><!DOCTYPE login_succ [<!ENTITY s \"stolen\">]>"
      "<login_succ><param value=\"&s;\"/></login_succ>",
      "<?xml version=\"1.0\"?><!DOCTYPE login_succ SYSTEM \"" + dtd +
          "\"><login_succ><param value=\"&s;\"/></login_succ>",
      "<login_succ><param value=\"S\"/>" + std::string(70 * 1024, ' ') + "</login_succ>",
      "<login_succ><param value=\"S\"/>",
  };
  for (const auto& reply : replies) {
    passport.answerLogin("lokavo", {200, reply});
    loginAs("lokavo");
    settle();
    EXPECT_FALSE(login().isLogin()) << reply.substr(0, 60);
    EXPECT_EQ(alertTitle(), "(none)") << reply.substr(0, 60);
  }
  EXPECT_TRUE(passport.requestsTo("/evil.dtd").empty());
  EXPECT_TRUE(passport.requestsTo("/client/user/0/info").empty());

  // Another status than 200 is dropped as well.
  passport.answerLogin("lokavo", {500, ScriptedPassport::successXml("S")});
  loginAs("lokavo");
  settle();
  EXPECT_FALSE(login().isLogin());
}

TEST_F(LoginMends, NothingIsLeftInFlightWhenTheApplicationEnds) {
  passport.answerLogin("lokavo", {200, ScriptedPassport::successXml("S"), milliseconds(300)});
  login().activedUserStat();
  loginAs("lokavo");
  ASSERT_NE(login().request(), nullptr);
  ui::Application::shared().terminate();
  EXPECT_EQ(login().request(), nullptr);
  EXPECT_EQ(login().statRequest(), nullptr);
  loop->runFor(milliseconds(500));
  EXPECT_FALSE(login().isLogin());
}

TEST_F(LoginMends, ADelegateThatWentAwayIsNeverCalled) {
  struct Screen : LoginViewControllerDelegate {
    void loginSucceed(LoginViewController& /*controller*/) override { ++calls; }
    int calls = 0;
  };
  {
    Screen gone;
    login().setDelegate(&gone);
    EXPECT_EQ(login().delegate(), &gone);
  }
  EXPECT_EQ(login().delegate(), nullptr);
  Screen kept;
  login().setDelegate(&kept);
  {
    Screen other;  // never the delegate: its end changes nothing
  }
  EXPECT_EQ(login().delegate(), &kept);
  loginAs("lokavo");
  settle();
  EXPECT_EQ(kept.calls, 1);
  login().setDelegate(nullptr);
}

TEST_F(LoginMends, PresentedModallyTheScreenCancelsAndLeavesAfterALogin) {
  auto host = std::make_shared<ui::ViewController>();
  window = std::make_unique<ui::Window>();
  window->setRootViewController(host);
  window->makeKeyAndVisible();
  login().showLoginInController(*host);
  ASSERT_NE(host->modalViewController(), nullptr);
  ASSERT_NE(login().navigationItem().leftBarButtonItem, nullptr);
  login().cancel();
  EXPECT_EQ(host->modalViewController(), nullptr);

  login().showLoginInController(*host);
  loginAs("lokavo");
  settle();
  EXPECT_EQ(succeeded, 1);
  EXPECT_EQ(host->modalViewController(), nullptr);
}

}  // namespace
}  // namespace lk::test

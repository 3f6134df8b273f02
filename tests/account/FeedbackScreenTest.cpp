// The feedback screen and the shop error report on the fake transport, in virtual time: when
// "提交" shows, what goes out, which answers count as success, the keyboard's room and the pop
// after a success.
#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "Classes/Account/FeedbackViewController.h"
#include "Classes/ServiceClient/FormValue.h"
#include "Classes/ServiceClient/HttpRequestCacheCenter.h"
#include "Classes/ServiceClient/ServiceEndpoints.h"
#include "Platform/Device/DeviceInfo.h"
#include "Platform/Notifications/NotificationCenter.h"
#include "Platform/UI/Application.h"
#include "Platform/UI/Keyboard.h"
#include "Platform/UI/NavigationController.h"
#include "Platform/UI/TableView.h"
#include "Platform/UI/TextField.h"
#include "Platform/UI/TextView.h"
#include "Platform/UI/Window.h"
#include "tests/support/FakeTransport.h"
#include "tests/support/ScopedClientStorage.h"
#include "tests/support/TestSupport.h"

namespace lk::test {
namespace {

constexpr const char* kBase = "http://directory.test/client";
const std::string kFeedbackURL = std::string(kBase) + "/submit/0/reportInfo";
const std::string kErrorURL = std::string(kBase) + "/submit/0/reportError";

class FeedbackScreen : public ::testing::Test {
 protected:
  FeedbackScreen() {
    ui::Application::resetSharedInstanceForTesting();
    HttpRequestCacheCenter::resetSharedInstanceForTesting();
    ServiceEndpoints::setServiceURL(kBase);
  }
  ~FeedbackScreen() override {
    ui::Keyboard::shared().dismiss();
    window.reset();
    nav.reset();
    screen.reset();
    loop->runFor(seconds(1));
    ServiceEndpoints::setServiceURL("");
    HttpRequestCacheCenter::resetSharedInstanceForTesting();
    ui::Application::resetSharedInstanceForTesting();
  }

  // The screen pushed over a root titled "更多"; `shopId` makes it an error report.
  void open(std::optional<std::string> shopId = std::nullopt) {
    screen = std::make_shared<FeedbackViewController>();
    screen->shopId = std::move(shopId);
    auto root = std::make_shared<ui::ViewController>();
    root->setTitle("更多");
    nav = std::make_shared<ui::NavigationController>(root);
    window = std::make_unique<ui::Window>();
    window->setRootViewController(nav);
    window->makeKeyAndVisible();
    nav->pushViewController(screen, false);
  }
  // Types into the text view and the field as a finger does.
  void fill(const std::string& content, const std::string& email) {
    ASSERT_TRUE(screen->tv()->becomeFirstResponder());
    ui::Keyboard::shared().type(content);
    ASSERT_TRUE(screen->tf()->becomeFirstResponder());
    ui::Keyboard::shared().type(email);
  }
  bool submitShown() { return screen->navigationItem().rightBarButtonItem != nullptr; }
  std::string body(std::size_t index = 0) {
    std::size_t seen = 0;
    for (const auto& r : transport.requests()) {
      if (r.httpMethod != "POST") continue;
      if (seen++ == index) return r.body.value_or("");
    }
    return {};
  }
  std::vector<std::string> announced() { return ui::Application::shared().announcements(); }

  ScopedMainLoop loop;
  ScopedClientStorage storage;
  FakeTransport transport;
  std::shared_ptr<FeedbackViewController> screen;
  std::shared_ptr<ui::NavigationController> nav;
  std::unique_ptr<ui::Window> window;
};

TEST_F(FeedbackScreen, SubmitShowsOnlyWhileBothTrimmedTextsAreFilled) {
  open();
  EXPECT_EQ(screen->title(), "意见反馈");
  EXPECT_FALSE(submitShown());
  ASSERT_TRUE(screen->tv()->becomeFirstResponder());
  ui::Keyboard::shared().type("  \n");
  ASSERT_TRUE(screen->tf()->becomeFirstResponder());
  ui::Keyboard::shared().type("a@b.c");
  EXPECT_FALSE(submitShown()) << "blank content";
  ASSERT_TRUE(screen->tv()->becomeFirstResponder());
  ui::Keyboard::shared().type(" 太慢了 ");
  EXPECT_EQ(screen->content(), "太慢了");
  EXPECT_TRUE(submitShown());
  ASSERT_TRUE(screen->tf()->becomeFirstResponder());
  for (int i = 0; i < 5; ++i)
    ui::Keyboard::shared().deleteBackward();
  ui::Keyboard::shared().type("   ");
  EXPECT_EQ(screen->email(), "");
  EXPECT_FALSE(submitShown()) << "an address of spaces only";
}

TEST_F(FeedbackScreen, FeedbackSendsModeThreeAndNoShop) {
  transport.answer(kFeedbackURL, R"({"errNo": 0, "result": "ok"})");
  open();
  fill("菜单 & 价格", "me@example.com");
  screen->submit();
  EXPECT_FALSE(screen->tv()->isFirstResponder());
  EXPECT_FALSE(screen->tf()->isFirstResponder());
  EXPECT_FALSE(ui::Keyboard::shared().isShown()) << "the keyboard goes when it is sent";
  EXPECT_NE(ui::Application::shared().dumpScreen().find("label: 正在提交"), std::string::npos);
  loop->runFor(seconds(0.1));
  ASSERT_EQ(transport.requests().back().url, kFeedbackURL);
  EXPECT_EQ(body(), "mode=3&content=" + FormValue::escape("菜单 & 价格") +
                        "&email=me%40example.com&xda_did=" +
                        FormValue::escape(DeviceInfo::uniqueIdentifier()));
}

TEST_F(FeedbackScreen, ErrorReportSendsTheShopAndItsPageName) {
  transport.answer(kErrorURL, R"({"errNo": 0})");
  open("1000042");
  EXPECT_EQ(screen->title(), "报错");
  EXPECT_NE(ui::Application::shared().dumpScreen().find("section: 错误内容"), std::string::npos);
  fill("电话打不通", "me@example.com");
  screen->submit();
  loop->runFor(seconds(0.1));
  ASSERT_EQ(transport.requests().back().url, kErrorURL);
  EXPECT_EQ(body(), "shop_id=1000042&content=" + FormValue::escape("电话打不通") +
                        "&email=me%40example.com&xda_did=" +
                        FormValue::escape(DeviceInfo::uniqueIdentifier()) +
                        "&xda_from=iPhone&xda_page=ReportError");
}

// Only an "errNo" of 0 is a success; the texts stay after a failure for another try.
TEST_F(FeedbackScreen, AnswersWithoutAZeroErrNoFailAndKeepTheTexts) {
  const std::vector<std::pair<std::string, FakeTransport::Answer>> failures{
      {"no errNo", {200, {}, R"({"result": "ok"})"}},
      {"null errNo", {200, {}, R"({"errNo": null})"}},
      {"errNo as text", {200, {}, R"({"errNo": "0"})"}},
      {"errNo 2", {200, {}, R"({"errNo": 2, "result": "bad"})"}},
      {"not JSON", {200, {}, "<html>"}},
      {"status 500", {500, {}, R"({"errNo": 0})"}},
      {"no connection", {200, {}, "", FakeTransport::Body::kRaw, Duration::zero(), -1004}},
  };
  open();
  fill("内容", "me@example.com");
  for (const auto& [what, answer] : failures) {
    transport.clearAnswers();
    transport.answer(kFeedbackURL, answer);
    const std::size_t before = announced().size();
    screen->submit();
    loop->runFor(seconds(2));
    ASSERT_EQ(announced().size(), before + 1) << what;
    EXPECT_EQ(announced().back(), "提交失败") << what;
    EXPECT_EQ(nav->topViewController(), screen.get()) << what;
    EXPECT_EQ(screen->tv()->text(), "内容") << what;
    EXPECT_EQ(screen->tf()->text(), "me@example.com") << what;
    EXPECT_TRUE(submitShown()) << what;
    EXPECT_EQ(screen->request(), nullptr) << what;
  }
  transport.clearAnswers();
  transport.answer(kFeedbackURL, R"({"errNo": 0, "result": "ok"})");
  screen->submit();
  loop->runFor(seconds(0.2));
  EXPECT_EQ(announced().back(), "提交成功");
  loop->runFor(seconds(0.3));
  EXPECT_NE(nav->topViewController(), screen.get()) << "popped 0.3 s after the success";
}

TEST_F(FeedbackScreen, ASecondSubmitReplacesTheOneOnItsWay) {
  FakeTransport::Answer slow{200, {}, R"({"errNo": 0})"};
  slow.delay = seconds(1);
  transport.answer(kFeedbackURL, slow);
  open();
  fill("内容", "me@example.com");
  screen->submit();
  loop->runFor(seconds(0.5));
  screen->submit();
  loop->runFor(seconds(3));
  EXPECT_EQ(transport.requests().size(), 2u);
  EXPECT_EQ(announced(), std::vector<std::string>{"提交成功"}) << "one answer, one box";
}

// The pop after a success is the screen's own, and only while it is on top of its stack.
TEST_F(FeedbackScreen, ThePopAfterASuccessLeavesOtherScreensAlone) {
  transport.answer(kFeedbackURL, R"({"errNo": 0})");
  open();
  auto root = nav->viewControllers().front();
  fill("内容", "me@example.com");
  screen->submit();
  loop->runFor(seconds(0.1));
  ASSERT_TRUE(screen->isPopScheduled());
  // The user went back already: the root stays where it is.
  nav->popViewController(false);
  loop->runFor(seconds(1));
  EXPECT_EQ(nav->topViewController(), root.get());
  EXPECT_EQ(nav->viewControllers().size(), 1u);

  // Another screen opened over the feedback keeps its place.
  nav->pushViewController(screen, false);
  auto over = std::make_shared<ui::ViewController>();
  screen->submit();
  loop->runFor(seconds(0.1));
  nav->pushViewController(over, false);
  loop->runFor(seconds(1));
  EXPECT_EQ(nav->topViewController(), over.get());
  EXPECT_EQ(nav->viewControllers().size(), 3u);

  // Gone before its time: nothing runs.
  nav->popToViewController(screen.get(), false);
  screen->submit();
  loop->runFor(seconds(0.1));
  ASSERT_TRUE(screen->isPopScheduled());
  std::weak_ptr<FeedbackViewController> weak = screen;
  nav->popToRootViewController(false);
  screen.reset();
  loop->runFor(seconds(1));
  EXPECT_TRUE(weak.expired());
  EXPECT_EQ(nav->viewControllers().size(), 1u);
}

// The keyboard's room is set, never added up: unpaired shows and hides leave the right height.
TEST_F(FeedbackScreen, KeyboardShowsAndHidesSetTheTableHeight) {
  open();
  const double full = screen->tableView()->frame().height();
  ASSERT_EQ(full, screen->fullTableHeight());
  auto& center = NotificationCenter::defaultCenter();
  center.post(ui::kKeyboardDidShowNotification);
  center.post(ui::kKeyboardDidShowNotification);
  EXPECT_EQ(screen->tableView()->frame().height(), full - 165);
  center.post(ui::kKeyboardWillHideNotification);
  EXPECT_EQ(screen->tableView()->frame().height(), full);
  center.post(ui::kKeyboardWillHideNotification);
  EXPECT_EQ(screen->tableView()->frame().height(), full);

  // A focused field that goes away with its screen: the next one starts at full height.
  ASSERT_TRUE(screen->tv()->becomeFirstResponder());
  EXPECT_EQ(screen->tableView()->frame().height(), full - 165);
  nav->popViewController(false);
  loop->runFor(seconds(0.1));
  open();
  EXPECT_EQ(screen->tableView()->frame().height(), screen->fullTableHeight());
}

}  // namespace
}  // namespace lk::test

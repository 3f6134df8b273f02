#include "Classes/Toolkit/AlertCenter.h"

#include <gtest/gtest.h>

#include "Platform/UI/AlertView.h"
#include "Platform/UI/Application.h"
#include "Platform/UI/Window.h"
#include "tests/support/TestSupport.h"

namespace lk {
namespace {

class AlertCenterTest : public ::testing::Test {
 protected:
  AlertCenterTest() {
    ui::Application::resetSharedInstanceForTesting();
    AlertCenter::resetSharedInstanceForTesting();
    window_ = std::make_unique<ui::Window>();
    window_->makeKeyAndVisible();
  }
  ~AlertCenterTest() override {
    AlertCenter::resetSharedInstanceForTesting();
    window_.reset();
    ui::Application::resetSharedInstanceForTesting();
  }
  ui::AlertView& box() { return *AlertCenter::sharedInstance().sharedAlertView(); }
  void pressOk() { ASSERT_TRUE(box().tapButton("好的")); }

  test::ScopedMainLoop loop_;
  std::unique_ptr<ui::Window> window_;
};

TEST_F(AlertCenterTest, OneBoxAtATimeWithTheFirstTexts) {
  AlertCenter& alerts = AlertCenter::sharedInstance();
  EXPECT_EQ(&alerts, &AlertCenter::sharedInstance());
  alerts.showAlertWithErrorCode(-1009);
  alerts.showAlertWithErrorCode(404);
  EXPECT_TRUE(alerts.isShow());
  EXPECT_TRUE(box().isVisible());
  EXPECT_EQ(box().title(), "网络错误");
  EXPECT_EQ(box().message(), "您还没有联网, 请检查您的网络连接后重试.");
  EXPECT_EQ(box().buttonTitles(), (std::vector<std::string>{"好的"}));
  EXPECT_EQ(box().cancelButtonIndex(), -1);
  pressOk();
  EXPECT_FALSE(alerts.isShow());
  EXPECT_FALSE(box().isVisible());
  alerts.showAlertWithErrorCode(404);
  EXPECT_TRUE(box().isVisible());
  EXPECT_EQ(box().title(), "错误");
  EXPECT_EQ(box().message(), "请求的资源无法找到.");
}

TEST_F(AlertCenterTest, ScreensOwnWarningIsDroppedWhileAnErrorShows) {
  AlertCenter& alerts = AlertCenter::sharedInstance();
  alerts.showAlertWithErrorCode(-1001);
  EXPECT_EQ(box().title(), "") << "a time-out has no title";
  EXPECT_EQ(box().message(), "请求超时");
  alerts.showAlertWithTitle(std::nullopt, "请输入关键字");
  EXPECT_EQ(box().message(), "请求超时");
  pressOk();
  alerts.showAlertWithTitle(std::nullopt, "请输入关键字");
  EXPECT_EQ(box().message(), "请输入关键字");
  EXPECT_EQ(box().title(), "");
}

TEST_F(AlertCenterTest, ErrorCodeTableExactly) {
  using Texts = AlertCenter::Texts;
  const auto texts = [](int code) { return AlertCenter::textsForErrorCode(code); };
  const std::string cannot = "无法连接到服务器, 请检查您的网络连接后重试.";
  for (const int code : {-1003, -1004, 400}) {
    EXPECT_EQ(texts(code).title, "网络错误") << code;
    EXPECT_EQ(texts(code).message, cannot) << code;
  }
  EXPECT_EQ(texts(-1001).title, std::nullopt);
  EXPECT_EQ(texts(403).title, "错误");
  EXPECT_EQ(texts(403).message, "帐号验证失败, 用户名或密码错误.");
  const Texts server = texts(500);
  EXPECT_EQ(server.title, "错误");
  EXPECT_EQ(server.message, "未知错误,Code:500");
  EXPECT_EQ(texts(-1005).message, "未知错误,Code:-1005");
  EXPECT_EQ(texts(0).message, "未知错误,Code:0");
  EXPECT_EQ(texts(INT_MIN).message, "未知错误,Code:-2147483648");
}

TEST_F(AlertCenterTest, WithoutAWindowLaterBoxesAreNotBlocked) {
  window_.reset();
  ui::Application::resetSharedInstanceForTesting();
  AlertCenter& alerts = AlertCenter::sharedInstance();
  alerts.showAlertWithErrorCode(500);
  EXPECT_FALSE(alerts.isShow());
  window_ = std::make_unique<ui::Window>();
  window_->makeKeyAndVisible();
  alerts.showAlertWithErrorCode(403);
  EXPECT_TRUE(box().isVisible());
  EXPECT_EQ(box().message(), "帐号验证失败, 用户名或密码错误.");
}

TEST_F(AlertCenterTest, SecondDirectConstructionIsReported) {
  AlertCenter::sharedInstance();
  test::LogCapture log;
  { AlertCenter second; }
  EXPECT_TRUE(log.contains("Duplicate alloc a singleton class"));
}

}  // namespace
}  // namespace lk

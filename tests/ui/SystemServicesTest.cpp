#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "Platform/UI/Application.h"
#include "Platform/UI/ImagePickerController.h"
#include "Platform/UI/MessageComposeViewController.h"
#include "Platform/UI/NavigationController.h"
#include "Platform/UI/SegmentedControl.h"
#include "Platform/UI/WebView.h"
#include "Platform/UI/Window.h"
#include "tests/support/TestSupport.h"

namespace lk::ui {
namespace {

TEST(SegmentedControl, OnlyAChangedSelectionRunsTheAction) {
  auto seg = std::make_shared<SegmentedControl>(std::vector<std::string>{"搜索", "周边"});
  std::vector<int> changes;
  seg->setAction([&](SegmentedControl& s) { changes.push_back(s.selectedSegmentIndex()); });
  seg->setSelectedSegmentIndex(0);
  EXPECT_TRUE(changes.empty());
  EXPECT_TRUE(seg->tapSegment("周边"));
  EXPECT_TRUE(seg->tapSegment(1));
  EXPECT_FALSE(seg->tapSegment(2));
  EXPECT_EQ(changes, std::vector<int>{1});
  EXPECT_EQ(seg->dumpLine(), "segments: 搜索 | [周边]");
}

class PageLog : public WebViewDelegate {
 public:
  void webViewDidStartLoad(WebView&) override { events.push_back("start"); }
  void webViewDidFinishLoad(WebView& w) override {
    events.push_back("finish");
    w.stringByEvaluatingJavaScriptFromString("javascript:map(116.4, 39.9);");
  }
  std::vector<std::string> events;
};

TEST(WebView, FinishesOnTheNextTurnAndOnlyForTheLatestPage) {
  test::ScopedMainLoop loop;
  auto web = std::make_shared<WebView>(Rect{0, 0, 320, 416});
  PageLog log;
  web->setDelegate(&log);
  web->setScriptHandler([](const std::string& s) {
    return s == "getMarkerPosition()" ? std::string("116.5,39.8") : std::string();
  });
  web->loadHTMLString("<html>old</html>");
  web->loadHTMLString("<html>map</html>");
  EXPECT_TRUE(web->isLoading());
  loop->runUntilIdle();
  EXPECT_EQ(log.events, (std::vector<std::string>{"start", "start", "finish"}));
  EXPECT_EQ(web->evaluatedScripts(), std::vector<std::string>{"javascript:map(116.4, 39.9);"});
  EXPECT_EQ(web->stringByEvaluatingJavaScriptFromString("getMarkerPosition()"), "116.5,39.8");
}

TEST(WebView, AViewThatWentAwayHearsNothing) {
  test::ScopedMainLoop loop;
  PageLog log;
  {
    auto web = std::make_shared<WebView>();
    web->setDelegate(&log);
    web->loadHTMLString("x");
  }
  loop->runUntilIdle();
  EXPECT_EQ(log.events, std::vector<std::string>{"start"});
}

class SystemSheets : public ::testing::Test {
 protected:
  void SetUp() override { Application::resetSharedInstanceForTesting(); }
  void TearDown() override {
    window.reset();
    ImagePickerController::setCameraAvailable(false);
    Application::resetSharedInstanceForTesting();
  }
  test::ScopedMainLoop loop;
  std::unique_ptr<Window> window;
};

struct Dismisser : MessageComposeDelegate, ImagePickerDelegate {
  void messageComposeDidFinish(MessageComposeViewController& sheet, ComposeResult r) override {
    results.push_back(r == ComposeResult::kSent ? "sent" : "cancelled");
    sheet.dismissModalViewController(true);
  }
  void imagePickerDidFinishPickingImage(ImagePickerController& p, const Image& image) override {
    results.push_back("picked " + image.describe());
    p.dismissModalViewController(true);
  }
  std::vector<std::string> results;
};

TEST_F(SystemSheets, SmsSheetShowsItsMessageUntilTheDelegateDismissesIt) {
  auto root = std::make_shared<ViewController>();
  auto nav = std::make_shared<NavigationController>(root);
  window = std::make_unique<Window>();
  window->setRootViewController(nav);
  window->makeKeyAndVisible();
  Dismisser d;
  auto sms = std::make_shared<MessageComposeViewController>();
  sms->messageComposeDelegate = &d;
  sms->recipients = {"13800000000"};
  sms->body = "优惠券";
  root->presentModalViewController(sms, true);
  EXPECT_NE(window->dumpText().find("label: sms to: 13800000000"), std::string::npos);
  sms->send();
  EXPECT_EQ(d.results, std::vector<std::string>{"sent"});
  EXPECT_EQ(nav->modalViewController(), nullptr);
  EXPECT_EQ(window->dumpText().find("sms"), std::string::npos);
}

TEST_F(SystemSheets, CameraOnlyWhereTheDeviceHasOne) {
  EXPECT_TRUE(ImagePickerController::isSourceTypeAvailable(
      ImagePickerController::SourceType::kPhotoLibrary));
  EXPECT_FALSE(
      ImagePickerController::isSourceTypeAvailable(ImagePickerController::SourceType::kCamera));
  ImagePickerController::setCameraAvailable(true);
  EXPECT_TRUE(
      ImagePickerController::isSourceTypeAvailable(ImagePickerController::SourceType::kCamera));
  auto root = std::make_shared<ViewController>();
  window = std::make_unique<Window>();
  window->setRootViewController(root);
  window->makeKeyAndVisible();
  Dismisser d;
  auto picker = std::make_shared<ImagePickerController>();
  picker->pickerDelegate = &d;
  root->presentModalViewController(picker, true);
  picker->pickImage(Image::named("photo.jpg"));
  EXPECT_EQ(d.results, std::vector<std::string>{"picked photo.jpg"});
  EXPECT_EQ(root->modalViewController(), nullptr);
}

TEST_F(SystemSheets, OpenedUrlsAreRecordedAndTheOpenerDecides) {
  auto& app = Application::shared();
  EXPECT_TRUE(app.openURL("tel:010-12345678"));
  EXPECT_FALSE(app.openURL("weird:x"));
  app.setURLOpener([](const std::string&) { return false; });
  EXPECT_FALSE(app.openURL("http://example.invalid/"));
  EXPECT_EQ(app.openedURLs().size(), 3u);
}

}  // namespace
}  // namespace lk::ui

#include "Classes/Pictures/LKImageDownloader.h"

#include <gtest/gtest.h>

#include "Platform/Image/ImageCodec.h"
#include "Platform/Net/UrlTransfer.h"
#include "Platform/Notifications/NotificationCenter.h"
#include "tests/support/PictureHttpServer.h"
#include "tests/support/TestSupport.h"

namespace lk {
namespace {

struct Events : LKImageDownloaderDelegate {
  void imageDownloaderDidFinish(LKImageDownloader&) override { log.push_back("finish"); }
  void imageDownloaderDidFinishWithImage(LKImageDownloader& d, const ImagePtr& image) override {
    log.push_back(image ? "image" : "no image");
    bytes = d.imageData().size();
    if (destroyOnImage) owner.reset();
  }
  void imageDownloaderDidFailWithError(LKImageDownloader&, const PlatformError* error) override {
    log.push_back("fail " + std::to_string(error != nullptr ? error->code : 0));
  }
  std::vector<std::string> log;
  std::size_t bytes = 0;
  bool destroyOnImage = false;
  std::unique_ptr<LKImageDownloader> owner;
};

class ImageDownloaderTest : public ::testing::Test {
 protected:
  ImageDownloaderTest() {
    start_ = NotificationCenter::defaultCenter().addObserver(
        kLKImageDownloadStartNotification, [this](const Notification& n) {
          notes_.push_back(std::any_cast<LKImageDownloader*>(n.object) != nullptr ? "start" : "?");
        });
    stop_ = NotificationCenter::defaultCenter().addObserver(
        kLKImageDownloadStopNotification,
        [this](const Notification&) { notes_.push_back("stop"); });
  }
  bool runUntil(const std::function<bool()>& done) {
    return loop_->runUntil(done, std::chrono::seconds(10));
  }

  // Transfers run on the real clock: the transport's own timers must fire while waiting.
  test::ScopedMainLoop loop_{false};
  test::PictureHttpServer server_;
  std::vector<std::string> notes_;
  ObserverToken start_;
  ObserverToken stop_;
};

TEST_F(ImageDownloaderTest, FinishesThenDecodesWithNotificationsAround) {
  const std::string png = ImageCodec::encodePng(Image(4, 4));
  server_.serve("/a.png", png);
  Events events;
  auto downloader = LKImageDownloader::downloaderWithURL(server_.url("/a.png"), &events, 42);
  EXPECT_EQ(std::any_cast<int>(downloader->userInfo()), 42);
  EXPECT_EQ(notes_, (std::vector<std::string>{"start"}));
  ASSERT_TRUE(runUntil([&] { return events.log.size() == 2; }));
  EXPECT_EQ(events.log, (std::vector<std::string>{"finish", "image"}));
  EXPECT_EQ(events.bytes, png.size());
  EXPECT_EQ(notes_, (std::vector<std::string>{"start", "stop"}));
  EXPECT_FALSE(downloader->isRunning());
  downloader->cancel();  // nothing is running: no second stop
  EXPECT_EQ(notes_.size(), 2u);
}

TEST_F(ImageDownloaderTest, FailureIsReportedWithItsCode) {
  Events events;
  auto downloader = LKImageDownloader::downloaderWithURL(
      "http://127.0.0.1:" + std::to_string(test::unusedLoopbackPort()) + "/x.png", &events);
  ASSERT_TRUE(runUntil([&] { return !events.log.empty(); }));
  EXPECT_EQ(events.log, (std::vector<std::string>{"fail -1004"}));
  EXPECT_EQ(notes_, (std::vector<std::string>{"start", "stop"}));
  EXPECT_TRUE(downloader->imageData().empty());
}

TEST_F(ImageDownloaderTest, CancelledDownloadTellsNothing) {
  server_.serve("/a.png", ImageCodec::encodePng(Image(1, 1)));
  Events events;
  auto downloader = LKImageDownloader::downloaderWithURL(server_.url("/a.png"), &events);
  EXPECT_TRUE(downloader->isRunning());
  downloader->cancel();
  EXPECT_FALSE(downloader->isRunning());
  EXPECT_EQ(notes_, (std::vector<std::string>{"start", "stop"}));
  loop_->runFor(std::chrono::milliseconds(50));
  EXPECT_TRUE(events.log.empty());
}

TEST_F(ImageDownloaderTest, DelegateMayDestroyTheDownloaderInItsCallback) {
  server_.serve("/a.png", ImageCodec::encodePng(Image(2, 2)));
  Events events;
  events.destroyOnImage = true;
  events.owner = LKImageDownloader::downloaderWithURL(server_.url("/a.png"), &events);
  ASSERT_TRUE(runUntil([&] { return events.owner == nullptr; }));
  EXPECT_EQ(events.log, (std::vector<std::string>{"finish", "image"}));
}

}  // namespace
}  // namespace lk

#include <gtest/gtest.h>

#include <chrono>

#include "Classes/Pictures/LKImageCache.h"
#include "Classes/Pictures/LKImageDownloader.h"
#include "Classes/Pictures/LKImageManager.h"
#include "Platform/Image/ImageCodec.h"
#include "Platform/Net/UrlTransfer.h"
#include "Platform/Notifications/NotificationCenter.h"
#include "tests/support/PictureHttpServer.h"
#include "tests/support/TestSupport.h"

namespace lk {
namespace {

std::string pngOf(std::uint32_t rgba) {
  Image image(3, 2);
  for (int y = 0; y < 2; ++y) {
    for (int x = 0; x < 3; ++x)
      image.setPixel(x, y, rgba);
  }
  return ImageCodec::encodePng(image);
}

// A view waiting for pictures; records what it was shown, and the order across views.
struct View : LKImageManagerDelegate {
  explicit View(std::string n, std::vector<std::string>* log = nullptr)
      : name(std::move(n)), order(log) {}
  void webImageManager(LKImageManager&, const ImagePtr& image) override {
    shown.push_back(image);
    if (order != nullptr) order->push_back(name);
  }
  void webImageManagerDidFail(LKImageManager&, const std::string& url) override {
    failed.push_back(url);
  }
  std::string name;
  std::vector<std::string>* order;
  std::vector<ImagePtr> shown;
  std::vector<std::string> failed;
};

class ImageManagerTest : public ::testing::Test {
 protected:
  ImageManagerTest() : cache_(std::make_unique<LKImageCache>(dir_.path())), manager_(*cache_) {}

  bool runUntil(const std::function<bool()>& done) {
    return loop_->runUntil(done, std::chrono::seconds(10));
  }

  // Transfers run on the real clock: the transport's own timers must fire while waiting.
  test::ScopedMainLoop loop_{false};
  test::TempDir dir_;
  test::PictureHttpServer server_;
  std::unique_ptr<LKImageCache> cache_;
  LKImageManager manager_;
};

TEST_F(ImageManagerTest, ViewsWaitingForOneUrlShareOneDownloadLaterRegisteredFirst) {
  server_.serve("/a.png", pngOf(0xFF0000FFu));
  server_.hold("/a.png");
  std::vector<std::string> order;
  View first("first", &order);
  View second("second", &order);
  const std::string url = server_.url("/a.png");
  manager_.downloadWithURL(url, &first);
  manager_.downloadWithURL(url, &second);
  ASSERT_TRUE(runUntil([&] { return manager_.waitingCount() == 2; }));
  EXPECT_EQ(manager_.downloadCount(), 1u);
  server_.open("/a.png");
  ASSERT_TRUE(runUntil([&] { return order.size() == 2; }));
  EXPECT_EQ(order, (std::vector<std::string>{"second", "first"}));
  ASSERT_NE(first.shown[0], nullptr);
  EXPECT_EQ(first.shown[0], second.shown[0]);
  EXPECT_EQ(first.shown[0]->pixelAt(2, 1), 0xFF0000FFu);
  EXPECT_EQ(server_.requestCount("/a.png"), 1);
  EXPECT_EQ(manager_.downloadCount(), 0u);
  EXPECT_EQ(manager_.waitingCount(), 0u);

  // Stored with the downloaded bytes: the next view is answered by the store.
  View third("third");
  manager_.downloadWithURL(url, &third);
  ASSERT_EQ(third.shown.size(), 1u) << "memory answers at once";
  cache_->waitUntilDiskJobsAreFinished();
  EXPECT_EQ(test::readFile(cache_->cachePathForKey(url)), pngOf(0xFF0000FFu));
  EXPECT_EQ(server_.requestCount("/a.png"), 1);
}

TEST_F(ImageManagerTest, ReusedViewNeverReceivesItsFirstPicture) {
  server_.serve("/old.png", pngOf(0x111111FFu));
  server_.serve("/new.png", pngOf(0x222222FFu));
  server_.hold("/old.png");
  View cell("cell");
  View other("other");
  manager_.downloadWithURL(server_.url("/old.png"), &cell);
  manager_.downloadWithURL(server_.url("/old.png"), &other);
  ASSERT_TRUE(runUntil([&] { return manager_.waitingCount() == 2; }));
  // The cell scrolls away and is reused for another shop.
  manager_.cancelForDelegate(&cell);
  manager_.downloadWithURL(server_.url("/new.png"), &cell);
  ASSERT_TRUE(runUntil([&] { return cell.shown.size() == 1; }));
  server_.open("/old.png");
  ASSERT_TRUE(runUntil([&] { return other.shown.size() == 1; }));
  loop_->runUntilIdle();
  ASSERT_EQ(cell.shown.size(), 1u);
  EXPECT_EQ(cell.shown[0]->pixelAt(0, 0), 0x222222FFu);
}

TEST_F(ImageManagerTest, ViewReusedDuringTheDiskLookUpGetsOnlyItsNewPicture) {
  const std::string oldUrl = "http://127.0.0.1:1/on-disk.png";
  LKImageCache(dir_.path())
      .storeImage(std::make_shared<Image>(1, 1), pngOf(0x333333FFu), oldUrl, true);
  server_.serve("/new.png", pngOf(0x444444FFu));
  View cell("cell");
  manager_.downloadWithURL(oldUrl, &cell);  // answered later, from the read queue
  manager_.cancelForDelegate(&cell);
  manager_.downloadWithURL(server_.url("/new.png"), &cell);
  ASSERT_TRUE(runUntil([&] { return !cell.shown.empty(); }));
  cache_->waitUntilDiskJobsAreFinished();
  loop_->runUntilIdle();
  ASSERT_EQ(cell.shown.size(), 1u);
  EXPECT_EQ(cell.shown[0]->pixelAt(0, 0), 0x444444FFu);
}

TEST_F(ImageManagerTest, LastViewCancellingStopsTheDownload) {
  server_.serve("/slow.png", pngOf(0x555555FFu));
  server_.hold("/slow.png");
  std::vector<std::string> notes;
  auto start = NotificationCenter::defaultCenter().addObserver(
      kLKImageDownloadStartNotification, [&](const Notification&) { notes.push_back("start"); });
  auto stop = NotificationCenter::defaultCenter().addObserver(
      kLKImageDownloadStopNotification, [&](const Notification&) { notes.push_back("stop"); });
  View cell("cell");
  manager_.downloadWithURL(server_.url("/slow.png"), &cell);
  ASSERT_TRUE(runUntil([&] { return manager_.downloadCount() == 1; }));
  manager_.cancelForDelegate(&cell);
  EXPECT_EQ(manager_.downloadCount(), 0u);
  EXPECT_EQ(notes, (std::vector<std::string>{"start", "stop"}));
  server_.open("/slow.png");
  loop_->runFor(std::chrono::milliseconds(50));
  EXPECT_TRUE(cell.shown.empty());
}

TEST_F(ImageManagerTest, UrlWithUndecodableBytesIsNeverRequestedAgain) {
  server_.serve("/broken.png", "<html>not a picture</html>", 200, "text/html");
  View first("first");
  const std::string url = server_.url("/broken.png");
  manager_.downloadWithURL(url, &first);
  ASSERT_TRUE(runUntil([&] { return manager_.failedURLs().contains(url); }));
  EXPECT_TRUE(first.shown.empty());
  EXPECT_EQ(manager_.waitingCount(), 0u);
  View second("second");
  manager_.downloadWithURL(url, &second);
  loop_->runFor(std::chrono::milliseconds(50));
  EXPECT_EQ(server_.requestCount("/broken.png"), 1);
  EXPECT_EQ(manager_.downloadCount(), 0u);
  EXPECT_TRUE(second.shown.empty());
}

TEST_F(ImageManagerTest, FailedTransferDropsTheWaitersAndALaterRequestTriesAgain) {
  const std::string url =
      "http://127.0.0.1:" + std::to_string(test::unusedLoopbackPort()) + "/p.png";
  View cell("cell");
  manager_.downloadWithURL(url, &cell);
  ASSERT_TRUE(runUntil([&] { return manager_.downloadCount() == 1; }));
  ASSERT_TRUE(runUntil([&] { return manager_.downloadCount() == 0; }));
  EXPECT_EQ(manager_.waitingCount(), 0u);
  EXPECT_TRUE(cell.shown.empty());
  EXPECT_EQ(cell.failed, std::vector<std::string>{url}) << "the waiting view is told";
  EXPECT_FALSE(manager_.failedURLs().contains(url));
  manager_.downloadWithURL(url, &cell);
  EXPECT_TRUE(runUntil([&] { return manager_.downloadCount() == 1; })) << "tries again";
}

TEST_F(ImageManagerTest, ADownloadThatFailsAtOnceIsNeitherKeptNorPaired) {
  // A picture URL that is no web address fails before any transfer starts.
  const std::string url = "file:///etc/passwd";
  View first("first");
  View second("second");
  const auto transfers = UrlTransfer::startedCount();
  manager_.downloadWithURL(url, &first);
  manager_.downloadWithURL(url, &second);
  ASSERT_TRUE(runUntil([&] { return first.failed.size() == 1 && second.failed.size() == 1; }));
  EXPECT_EQ(UrlTransfer::startedCount(), transfers) << "nothing went to the transport";
  EXPECT_EQ(manager_.downloadCount(), 0u);
  EXPECT_EQ(manager_.waitingCount(), 0u);
  EXPECT_TRUE(first.shown.empty());
  // The manager stays usable for the same views.
  server_.serve("/ok.png", pngOf(0x00FF00FFu));
  manager_.downloadWithURL(server_.url("/ok.png"), &first);
  EXPECT_TRUE(runUntil([&] { return first.shown.size() == 1; }));
}

TEST_F(ImageManagerTest, NothingHappensWithoutUrlOrView) {
  View cell("cell");
  manager_.downloadWithURL("", &cell);
  manager_.downloadWithURL(server_.url("/x.png"), nullptr);
  manager_.cancelForDelegate(&cell);
  loop_->runFor(std::chrono::milliseconds(20));
  EXPECT_EQ(manager_.downloadCount(), 0u);
  EXPECT_EQ(server_.requestCount("/x.png"), 0);
}

TEST_F(ImageManagerTest, ViewDestroyedWhileWaitingIsNotCalled) {
  server_.serve("/c.png", pngOf(0x666666FFu));
  server_.hold("/c.png");
  View survivor("survivor");
  {
    View doomed("doomed");
    manager_.downloadWithURL(server_.url("/c.png"), &doomed);
    manager_.downloadWithURL(server_.url("/c.png"), &survivor);
    ASSERT_TRUE(runUntil([&] { return manager_.waitingCount() == 2; }));
    manager_.forgetDelegate(&doomed);
  }
  server_.open("/c.png");
  ASSERT_TRUE(runUntil([&] { return survivor.shown.size() == 1; }));
}

}  // namespace
}  // namespace lk

namespace lk {
namespace {

TEST_F(ImageManagerTest, OversizedAnswerIsCutAndCountsAsNoPicture) {
  // A real picture followed by padding: it would decode, were it read to the end.
  server_.serve("/huge.png",
                pngOf(0x123456FFu) + std::string(LKImageDownloader::kMaxImageBytes, '\0'));
  View cell("cell");
  const std::string url = server_.url("/huge.png");
  manager_.downloadWithURL(url, &cell);
  ASSERT_TRUE(runUntil([&] { return manager_.failedURLs().contains(url); }));
  EXPECT_TRUE(cell.shown.empty());
  EXPECT_EQ(manager_.downloadCount(), 0u);
}

}  // namespace
}  // namespace lk

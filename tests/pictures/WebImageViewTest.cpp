#include "Classes/Pictures/LKWebImageView.h"

#include <gtest/gtest.h>

#include "Classes/Pictures/LKImageCache.h"
#include "Classes/Pictures/LKImageManager.h"
#include "Platform/Image/ImageCodec.h"
#include "Platform/Storage/AppDirectories.h"
#include "tests/support/PictureHttpServer.h"
#include "tests/support/TestSupport.h"

namespace lk {
namespace {

std::string pngOf(std::uint32_t rgba, int width) {
  Image image(width, 2);
  for (int x = 0; x < width; ++x) {
    image.setPixel(x, 0, rgba);
    image.setPixel(x, 1, rgba);
  }
  return ImageCodec::encodePng(image);
}

class WebImageViewTest : public ::testing::Test {
 protected:
  WebImageViewTest() : cache_(dir_.path()), manager_(cache_) {}
  bool runUntil(const std::function<bool()>& done) {
    return loop_->runUntil(done, std::chrono::seconds(10));
  }

  // Transfers run on the real clock: the transport's own timers must fire while waiting.
  test::ScopedMainLoop loop_{false};
  test::TempDir dir_;
  test::PictureHttpServer server_;
  LKImageCache cache_;
  LKImageManager manager_;
  const ui::Image placeholder_ = ui::Image::named("placeholder");
};

TEST_F(WebImageViewTest, ShowsThePlaceholderThenTheDownloadedPicture) {
  server_.serve("/p.png", pngOf(0x10203040u, 5));
  LKWebImageView view({}, LKWebImageView::LookUp::kPlain, &manager_);
  view.setImageWithURL(server_.url("/p.png"), placeholder_);
  EXPECT_EQ(view.image(), placeholder_);
  ASSERT_TRUE(runUntil([&] { return view.image().bitmap() != nullptr; }));
  EXPECT_EQ(view.image().size(), (ui::Size{5, 2}));
  EXPECT_EQ(view.image().bitmap()->rgba[0], 0x10);
}

TEST_F(WebImageViewTest, PhotoBrowserViewShowsAStoredPictureAtOnce) {
  const std::string url = "http://127.0.0.1:1/stored.png";
  // The memory copy (7 x 3) differs from the file (7 x 2): the view shows what the disk holds.
  cache_.storeImage(std::make_shared<Image>(7, 3), pngOf(0xFFu, 7), url, true);
  cache_.waitUntilDiskJobsAreFinished();
  cache_.clearMemory();
  LKWebImageView view({}, LKWebImageView::LookUp::kSynchronous, &manager_);
  view.setImageWithURL(url, placeholder_);
  ASSERT_NE(view.image().bitmap(), nullptr);
  EXPECT_EQ(view.image().size(), (ui::Size{7, 2}));
}

TEST_F(WebImageViewTest, ReusedViewKeepsOnlyItsLatestPicture) {
  server_.serve("/old.png", pngOf(0x111111FFu, 3));
  server_.serve("/new.png", pngOf(0x222222FFu, 4));
  server_.hold("/old.png");
  LKWebImageView view({}, LKWebImageView::LookUp::kPlain, &manager_);
  view.setImageWithURL(server_.url("/old.png"), placeholder_);
  ASSERT_TRUE(runUntil([&] { return manager_.waitingCount() == 1; }));
  view.setImageWithURL(server_.url("/new.png"), placeholder_);
  ASSERT_TRUE(runUntil([&] { return view.image().bitmap() != nullptr; }));
  server_.open("/old.png");
  loop_->runFor(std::chrono::milliseconds(50));
  EXPECT_EQ(view.image().size(), (ui::Size{4, 2}));
  EXPECT_EQ(manager_.downloadCount(), 0u) << "nobody waits for the old picture any more";
}

TEST_F(WebImageViewTest, DestroyedViewLeavesNothingWaiting) {
  server_.serve("/d.png", pngOf(0x333333FFu, 2));
  server_.hold("/d.png");
  {
    LKWebImageView view({}, LKWebImageView::LookUp::kPlain, &manager_);
    view.setImageWithURL(server_.url("/d.png"));
    ASSERT_TRUE(runUntil([&] { return manager_.waitingCount() == 1; }));
  }
  EXPECT_EQ(manager_.waitingCount(), 0u);
  EXPECT_EQ(manager_.downloadCount(), 0u);
  server_.open("/d.png");
}

}  // namespace
}  // namespace lk

namespace lk {
namespace {

TEST(SharedPictureServices, ManagerWorksOnTheSharedStoreAndEndsWithIt) {
  test::ScopedMainLoop loop(false);
  test::TempDir dir;
  AppDirectories::setCacheDirectory(dir.path());
  LKImageCache::resetSharedInstanceForTesting();
  LKImageManager& manager = LKImageManager::sharedManager();
  EXPECT_EQ(&manager.cache(), &LKImageCache::sharedImageCache());
  const auto image = std::make_shared<Image>(1, 1);
  LKImageCache::sharedImageCache().storeImage(image, "http://127.0.0.1:1/p.png", false);
  EXPECT_EQ(manager.imageWithURL("http://127.0.0.1:1/p.png"), image);
  LKImageCache::resetSharedInstanceForTesting();
  EXPECT_EQ(LKImageManager::sharedManager().imageWithURL("http://127.0.0.1:1/p.png"), nullptr);
  LKImageCache::resetSharedInstanceForTesting();
  AppDirectories::setCacheDirectory({});
}

}  // namespace
}  // namespace lk

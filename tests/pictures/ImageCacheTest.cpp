#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

#include "Classes/Pictures/LKImageCache.h"
#include "Platform/Crypto/Md5.h"
#include "Platform/Image/ImageCodec.h"
#include "Platform/Notifications/NotificationCenter.h"
#include "Platform/Storage/AppDirectories.h"
#include "Platform/UI/Application.h"
#include "tests/support/TestSupport.h"

namespace lk {
namespace {

namespace fs = std::filesystem;

ImagePtr picture(std::uint32_t rgba = 0x336699FFu) {
  auto image = std::make_shared<Image>(4, 3);
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 4; ++x)
      image->setPixel(x, y, rgba + static_cast<std::uint32_t>(x));
  }
  return image;
}

struct Answers : LKImageCacheDelegate {
  void imageCacheDidFindImage(LKImageCache&, const ImagePtr& image, const std::string& key,
                              const std::any& userInfo) override {
    found.push_back({key, image, userInfo.has_value() ? std::any_cast<int>(userInfo) : -1});
  }
  void imageCacheDidNotFindImageForKey(LKImageCache&, const std::string& key,
                                       const std::any& userInfo) override {
    missing.push_back({key, nullptr, userInfo.has_value() ? std::any_cast<int>(userInfo) : -1});
  }
  struct Answer {
    std::string key;
    ImagePtr image;
    int info;
  };
  std::vector<Answer> found;
  std::vector<Answer> missing;
  [[nodiscard]] std::size_t count() const { return found.size() + missing.size(); }
};

class ImageCacheTest : public ::testing::Test {
 protected:
  void settle(const Answers& answers, std::size_t expected) {
    loop_->runUntil([&] { return answers.count() >= expected; }, std::chrono::seconds(5));
  }
  void ageFile(const fs::path& path, std::chrono::hours age) {
    fs::last_write_time(path, fs::file_time_type::clock::now() - age);
  }

  test::ScopedMainLoop loop_;
  test::TempDir dir_;
  const std::string key_ = "http://img.example/shop/1.png";
};

TEST_F(ImageCacheTest, StoredPictureIsFoundAfterRestartThroughItsMd5File) {
  const ImagePtr image = picture();
  const std::string bytes = ImageCodec::encodePng(*image);
  {
    LKImageCache cache(dir_.path());
    cache.storeImage(image, bytes, key_, true);
    EXPECT_EQ(cache.imageFromKey(key_, false), image);
  }  // ending the store lets its queued write finish
  const fs::path file = dir_.path() / md5Hex(key_);
  ASSERT_TRUE(fs::exists(file));
  EXPECT_EQ(test::readFile(file), bytes);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_.path()), fs::directory_iterator()), 1)
      << "no temporary file is left behind";

  LKImageCache restarted(dir_.path());
  EXPECT_EQ(restarted.imageFromKey(key_, false), nullptr);
  const ImagePtr fromDisk = restarted.imageFromKey(key_);
  ASSERT_NE(fromDisk, nullptr);
  EXPECT_EQ(*fromDisk, *image);
  EXPECT_EQ(restarted.imageFromKey(key_, false), fromDisk) << "a disk hit is kept in memory";
}

TEST_F(ImageCacheTest, StoringWithoutBytesToDiskStoresNothing) {
  LKImageCache cache(dir_.path());
  cache.storeImage(picture(), key_);
  cache.storeImage(picture(), key_, true);
  cache.waitUntilDiskJobsAreFinished();
  EXPECT_EQ(cache.imageFromKey(key_), nullptr);
  EXPECT_EQ(cache.memoryCount(), 0u);

  cache.storeImage(picture(), key_, false);
  cache.storeImage(nullptr, "other", false);
  cache.storeImage(picture(), "", false);
  cache.waitUntilDiskJobsAreFinished();
  EXPECT_NE(cache.imageFromKey(key_, false), nullptr);
  EXPECT_EQ(cache.memoryCount(), 1u);
  EXPECT_FALSE(fs::exists(cache.cachePathForKey(key_)));
}

TEST_F(ImageCacheTest, CleaningRemovesFilesOfAWeekOrMoreAtTermination) {
  LKImageCache cache(dir_.path());
  const std::string bytes = ImageCodec::encodePng(*picture());
  cache.storeImage(picture(), bytes, "old", true);
  cache.storeImage(picture(), bytes, "recent", true);
  cache.waitUntilDiskJobsAreFinished();
  fs::create_directories(dir_.path() / "nested");
  test::writeFile(dir_.path() / "nested" / "stale", "x");
  ageFile(cache.cachePathForKey("old"), std::chrono::hours(8 * 24));
  ageFile(cache.cachePathForKey("recent"), std::chrono::hours(6 * 24));
  ageFile(dir_.path() / "nested" / "stale", std::chrono::hours(7 * 24 + 1));

  ui::Application::resetSharedInstanceForTesting();
  ui::Application::shared().launch();
  ui::Application::shared().terminate();
  EXPECT_FALSE(fs::exists(cache.cachePathForKey("old")));
  EXPECT_TRUE(fs::exists(cache.cachePathForKey("recent")));
  EXPECT_FALSE(fs::exists(dir_.path() / "nested" / "stale"));
  ui::Application::resetSharedInstanceForTesting();
}

TEST_F(ImageCacheTest, MemoryWarningAndBackgroundEmptyTheMemoryOnly) {
  LKImageCache cache(dir_.path());
  const std::string bytes = ImageCodec::encodePng(*picture());
  cache.storeImage(picture(), bytes, key_, true);
  cache.waitUntilDiskJobsAreFinished();
  ui::Application::resetSharedInstanceForTesting();
  ui::Application& app = ui::Application::shared();
  app.launch();
  app.receiveMemoryWarning();
  EXPECT_EQ(cache.memoryCount(), 0u);
  EXPECT_NE(cache.imageFromKey(key_), nullptr);
  EXPECT_EQ(cache.memoryCount(), 1u);
  app.enterBackground();
  EXPECT_EQ(cache.memoryCount(), 0u);
  EXPECT_TRUE(fs::exists(cache.cachePathForKey(key_))) << "the disk keeps it";
  ui::Application::resetSharedInstanceForTesting();
}

TEST_F(ImageCacheTest, LookUpAnswersFromMemoryAtOnceAndFromDiskLater) {
  LKImageCache cache(dir_.path());
  Answers answers;
  const ImagePtr image = picture();
  cache.storeImage(image, ImageCodec::encodePng(*image), key_, true);
  cache.queryDiskCacheForKey(key_, &answers, 7);
  ASSERT_EQ(answers.found.size(), 1u) << "memory answers on the calling thread";
  EXPECT_EQ(answers.found[0].image, image);
  EXPECT_EQ(answers.found[0].info, 7);

  cache.waitUntilDiskJobsAreFinished();
  cache.clearMemory();
  cache.queryDiskCacheForKey(key_, &answers, 8);
  cache.queryDiskCacheForKey("http://img.example/none.png", &answers, 9);
  EXPECT_EQ(answers.count(), 1u) << "the disk answers come through the main loop";
  settle(answers, 3);
  ASSERT_EQ(answers.found.size(), 2u);
  EXPECT_EQ(*answers.found[1].image, *image);
  EXPECT_EQ(answers.found[1].info, 8);
  ASSERT_EQ(answers.missing.size(), 1u);
  EXPECT_EQ(answers.missing[0].info, 9);
  EXPECT_NE(cache.imageFromKey(key_, false), nullptr) << "a disk answer is kept in memory";
}

TEST_F(ImageCacheTest, LookUpWithoutKeyOrDelegateAndCancelledLookUps) {
  LKImageCache cache(dir_.path());
  Answers answers;
  cache.queryDiskCacheForKey("", &answers, 1);
  EXPECT_EQ(answers.missing.size(), 1u);
  cache.queryDiskCacheForKey(key_, nullptr, 2);

  Answers cancelled;
  cache.queryDiskCacheForKey(key_, &cancelled, 3);
  cache.queryDiskCacheForKey(key_, &answers, 4);
  cache.cancelQueriesForDelegate(&cancelled);
  settle(answers, 2);
  loop_->runUntilIdle();
  EXPECT_EQ(cancelled.count(), 0u);
  EXPECT_EQ(answers.missing.size(), 2u);
}

TEST_F(ImageCacheTest, DamagedFileCountsAsNotFound) {
  LKImageCache cache(dir_.path());
  test::writeFile(cache.cachePathForKey(key_), "\x89PNG\r\n\x1A\n truncated");
  EXPECT_EQ(cache.imageFromKey(key_), nullptr);
  Answers answers;
  cache.queryDiskCacheForKey(key_, &answers);
  settle(answers, 1);
  EXPECT_EQ(answers.missing.size(), 1u);
}

TEST_F(ImageCacheTest, RemoveAndClearDisk) {
  LKImageCache cache(dir_.path());
  const std::string bytes = ImageCodec::encodePng(*picture());
  cache.storeImage(picture(), bytes, key_, true);
  cache.storeImage(picture(), bytes, "b", true);
  cache.removeImageForKey(key_);
  cache.waitUntilDiskJobsAreFinished();
  EXPECT_EQ(cache.imageFromKey(key_), nullptr) << "a queued write does not bring it back";
  EXPECT_TRUE(fs::exists(cache.cachePathForKey("b")));
  cache.clearDisk();
  EXPECT_TRUE(fs::is_directory(dir_.path()));
  EXPECT_FALSE(fs::exists(cache.cachePathForKey("b")));
}

TEST_F(ImageCacheTest, SharedStoreLivesInTheCachesDirectory) {
  AppDirectories::setCacheDirectory(dir_.path());
  LKImageCache::resetSharedInstanceForTesting();
  LKImageCache& shared = LKImageCache::sharedImageCache();
  EXPECT_EQ(&shared, &LKImageCache::sharedImageCache());
  EXPECT_EQ(shared.diskCachePath(), dir_.path() / "ImageCache");
  EXPECT_TRUE(fs::is_directory(dir_.path() / "ImageCache"));
  LKImageCache::resetSharedInstanceForTesting();
  AppDirectories::setCacheDirectory({});
}

}  // namespace
}  // namespace lk

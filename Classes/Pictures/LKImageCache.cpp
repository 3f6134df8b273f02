#include "Classes/Pictures/LKImageCache.h"

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <mutex>

#include "Classes/Pictures/LKImageManager.h"
#include "Platform/Crypto/Md5.h"
#include "Platform/Image/ImageCodec.h"
#include "Platform/Log/Log.h"
#include "Platform/RunLoop/RunLoop.h"
#include "Platform/Storage/AppDirectories.h"
#include "Platform/UI/Application.h"

namespace lk {
namespace {

std::mutex sharedMutex;
std::unique_ptr<LKImageCache> sharedCache;

// No picture the client stores comes near this; a larger file is no picture of ours.
constexpr std::uintmax_t kMaxFileSize = 32u * 1024u * 1024u;

ImagePtr readPicture(const std::filesystem::path& path) {
  std::error_code ec;
  const std::uintmax_t size = std::filesystem::file_size(path, ec);
  if (ec || size == 0 || size > kMaxFileSize) return nullptr;
  std::ifstream in(path, std::ios::binary);
  std::string bytes(static_cast<std::size_t>(size), '\0');
  if (!in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()))) return nullptr;
  auto image = ImageCodec::decode(bytes);
  if (!image) return nullptr;
  return std::make_shared<const Image>(std::move(*image));
}

// Writes next to the target and renames, so that a crash never leaves half a picture behind.
void writeAtomically(const std::filesystem::path& path, const std::string& bytes) {
  std::error_code ec;
  std::filesystem::create_directories(path.parent_path(), ec);
  std::filesystem::path temporary = path;
  temporary += ".tmp" + std::to_string(::getpid());
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.flush();
    if (!out) {
      out.close();
      std::filesystem::remove(temporary, ec);
      return;
    }
  }
  std::filesystem::rename(temporary, path, ec);
  if (ec) std::filesystem::remove(temporary, ec);
}

}  // namespace

LKImageCache& LKImageCache::sharedImageCache() {
  std::lock_guard lock(sharedMutex);
  if (!sharedCache) {
    sharedCache = std::make_unique<LKImageCache>(AppDirectories::cacheDirectory() / kDirectoryName);
  }
  return *sharedCache;
}

bool LKImageCache::hasPendingDiskJobs() {
  std::lock_guard lock(sharedMutex);
  return sharedCache && (sharedCache->cacheInQueue_.pendingCount() +
                         sharedCache->cacheOutQueue_.pendingCount()) > 0;
}

void LKImageCache::resetSharedInstanceForTesting() {
  // The shared manager works on the shared store: it goes first.
  LKImageManager::resetSharedInstanceForTesting();
  std::unique_ptr<LKImageCache> old;
  {
    std::lock_guard lock(sharedMutex);
    old = std::move(sharedCache);
  }
}

LKImageCache::LKImageCache(std::filesystem::path diskCachePath)
    : diskCachePath_(std::move(diskCachePath)), self_(std::make_shared<LKImageCache*>(this)) {
  std::error_code ec;
  std::filesystem::create_directories(diskCachePath_, ec);
  if (ec) logf("Cannot create the picture cache directory %s", diskCachePath_.string().c_str());
  auto& center = NotificationCenter::defaultCenter();
  memoryWarningObserver_ = center.addObserver(ui::kApplicationDidReceiveMemoryWarningNotification,
                                              [this](const Notification&) { clearMemory(); });
  backgroundObserver_ = center.addObserver(ui::kApplicationDidEnterBackgroundNotification,
                                           [this](const Notification&) { clearMemory(); });
  terminateObserver_ = center.addObserver(ui::kApplicationWillTerminateNotification,
                                          [this](const Notification&) { cleanDisk(); });
}

LKImageCache::~LKImageCache() {
  self_.reset();
  // Pictures already handed over for writing still reach the disk.
  cacheInQueue_.waitUntilAllJobsAreFinished();
}

std::filesystem::path LKImageCache::cachePathForKey(const std::string& key) const {
  return diskCachePath_ / md5Hex(key);
}

ImagePtr LKImageCache::imageFromKey(const std::string& key, bool fromDisk) {
  if (key.empty()) return nullptr;
  if (auto it = memCache_.find(key); it != memCache_.end()) return it->second;
  if (!fromDisk) return nullptr;
  ImagePtr image = readPicture(cachePathForKey(key));
  if (image) memCache_[key] = image;
  return image;
}

void LKImageCache::storeImage(const ImagePtr& image, std::string imageData, const std::string& key,
                              bool toDisk) {
  if (!image || key.empty()) return;
  if (toDisk && imageData.empty()) return;
  memCache_[key] = image;
  if (toDisk) {
    cacheInQueue_.add([path = cachePathForKey(key), bytes = std::move(imageData)] {
      writeAtomically(path, bytes);
    });
  }
}

void LKImageCache::queryDiskCacheForKey(const std::string& key, LKImageCacheDelegate* delegate,
                                        std::any userInfo) {
  if (delegate == nullptr) return;
  if (key.empty()) {
    delegate->imageCacheDidNotFindImageForKey(*this, key, userInfo);
    return;
  }
  if (auto it = memCache_.find(key); it != memCache_.end()) {
    const ImagePtr image = it->second;
    delegate->imageCacheDidFindImage(*this, image, key, userInfo);
    return;
  }
  const std::uint64_t id = ++lastQueryId_;
  pendingQueries_.push_back({id, delegate});
  RunLoop* loop = &RunLoop::main();
  cacheOutQueue_.add([loop, id, key, path = cachePathForKey(key),
                      info = std::make_shared<std::any>(std::move(userInfo)),
                      weak = std::weak_ptr<LKImageCache*>(self_)] {
    ImagePtr image = readPicture(path);
    loop->post([weak, id, key, image = std::move(image), info] {
      if (const auto self = weak.lock()) (*self)->finishQuery(id, key, image, *info);
    });
  });
}

void LKImageCache::finishQuery(std::uint64_t id, const std::string& key, const ImagePtr& image,
                               const std::any& userInfo) {
  auto it = std::find_if(pendingQueries_.begin(), pendingQueries_.end(),
                         [id](const PendingQuery& q) { return q.id == id; });
  if (it == pendingQueries_.end()) return;  // cancelled
  LKImageCacheDelegate* delegate = it->delegate;
  pendingQueries_.erase(it);
  if (image) {
    memCache_[key] = image;
    delegate->imageCacheDidFindImage(*this, image, key, userInfo);
  } else {
    delegate->imageCacheDidNotFindImageForKey(*this, key, userInfo);
  }
}

void LKImageCache::cancelQueriesForDelegate(const LKImageCacheDelegate* delegate) {
  std::erase_if(pendingQueries_,
                [delegate](const PendingQuery& q) { return q.delegate == delegate; });
}

void LKImageCache::removeImageForKey(const std::string& key) {
  if (key.empty()) return;
  memCache_.erase(key);
  const auto path = cachePathForKey(key);
  std::error_code ec;
  std::filesystem::remove(path, ec);
  // A write still queued for the key would bring the file back; delete after it too.
  cacheInQueue_.add([path] {
    std::error_code ignored;
    std::filesystem::remove(path, ignored);
  });
}

void LKImageCache::clearMemory() {
  cacheInQueue_.cancelAll();
  memCache_.clear();
}

void LKImageCache::clearDisk() {
  cacheInQueue_.cancelAll();
  cacheInQueue_.waitUntilAllJobsAreFinished();
  std::error_code ec;
  std::filesystem::remove_all(diskCachePath_, ec);
  std::filesystem::create_directories(diskCachePath_, ec);
}

void LKImageCache::cleanDisk() {
  const auto expiry = std::filesystem::file_time_type::clock::now() -
                      std::chrono::duration_cast<std::filesystem::file_time_type::duration>(
                          std::chrono::duration<double>(kMaxCacheAge));
  std::error_code ec;
  std::vector<std::filesystem::path> expired;
  for (std::filesystem::recursive_directory_iterator it(diskCachePath_, ec), end; !ec && it != end;
       it.increment(ec)) {
    std::error_code statError;
    if (!it->is_regular_file(statError)) continue;
    const auto modified = it->last_write_time(statError);
    if (!statError && modified <= expiry) expired.push_back(it->path());
  }
  for (const auto& path : expired)
    std::filesystem::remove(path, ec);
}

void LKImageCache::waitUntilDiskJobsAreFinished() {
  cacheInQueue_.waitUntilAllJobsAreFinished();
  cacheOutQueue_.waitUntilAllJobsAreFinished();
}

}  // namespace lk

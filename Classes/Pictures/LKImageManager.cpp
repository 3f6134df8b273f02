#include "Classes/Pictures/LKImageManager.h"

#include <algorithm>
#include <mutex>

#include "Classes/Pictures/LKImageCache.h"
#include "Classes/Pictures/LKImageDownloader.h"

namespace lk {
namespace {

std::mutex sharedMutex;
std::unique_ptr<LKImageManager> sharedInstance;

}  // namespace

LKImageManager& LKImageManager::sharedManager() {
  std::lock_guard lock(sharedMutex);
  if (!sharedInstance) {
    sharedInstance = std::make_unique<LKImageManager>(LKImageCache::sharedImageCache());
  }
  return *sharedInstance;
}

void LKImageManager::resetSharedInstanceForTesting() {
  std::unique_ptr<LKImageManager> old;
  std::lock_guard lock(sharedMutex);
  old = std::move(sharedInstance);
}

LKImageManager::LKImageManager(LKImageCache& cache) : cache_(cache) {}

LKImageManager::~LKImageManager() {
  cache_.cancelQueriesForDelegate(this);
  for (auto& [url, downloader] : downloaderForURL_)
    downloader->setDelegate(nullptr);
}

ImagePtr LKImageManager::imageWithURL(const std::string& url) {
  return cache_.imageFromKey(url);
}

void LKImageManager::downloadWithURL(const std::string& url, LKImageManagerDelegate* delegate) {
  if (url.empty() || delegate == nullptr || failedURLs_.contains(url)) return;
  const std::uint64_t id = ++lastLookUpId_;
  lookUps_.push_back({id, delegate, url});
  cache_.queryDiskCacheForKey(url, this, id);
}

std::optional<LKImageManager::LookUp> LKImageManager::takeLookUp(const std::any& userInfo) {
  const auto* id = std::any_cast<std::uint64_t>(&userInfo);
  if (id == nullptr) return std::nullopt;
  auto it =
      std::find_if(lookUps_.begin(), lookUps_.end(), [id](const LookUp& l) { return l.id == *id; });
  if (it == lookUps_.end()) return std::nullopt;
  LookUp lookUp = *it;
  lookUps_.erase(it);
  return lookUp;
}

void LKImageManager::imageCacheDidFindImage(LKImageCache& /*cache*/, const ImagePtr& image,
                                            const std::string& /*key*/, const std::any& userInfo) {
  if (const auto lookUp = takeLookUp(userInfo)) lookUp->delegate->webImageManager(*this, image);
}

void LKImageManager::imageCacheDidNotFindImageForKey(LKImageCache& /*cache*/,
                                                     const std::string& /*key*/,
                                                     const std::any& userInfo) {
  const auto lookUp = takeLookUp(userInfo);
  if (!lookUp) return;
  LKImageDownloader* downloader = nullptr;
  if (const auto running = downloaderForURL_.find(lookUp->url);
      running != downloaderForURL_.end()) {
    downloader = running->second.get();
  } else {
    // Made before it is registered: a download that fails at once reports inside this call,
    // and must find no entry of its own to erase.
    auto created = LKImageDownloader::downloaderWithURL(lookUp->url, this);
    if (!created->isRunning()) {
      lookUp->delegate->webImageManagerDidFail(*this, lookUp->url);
      return;
    }
    downloader = created.get();
    downloaderForURL_.emplace(lookUp->url, std::move(created));
  }
  delegates_.push_back(lookUp->delegate);
  downloaders_.push_back(downloader);
}

void LKImageManager::removePairAt(std::size_t index) {
  delegates_.erase(delegates_.begin() + static_cast<std::ptrdiff_t>(index));
  downloaders_.erase(downloaders_.begin() + static_cast<std::ptrdiff_t>(index));
}

std::unique_ptr<LKImageDownloader> LKImageManager::unregister(const std::string& url) {
  auto it = downloaderForURL_.find(url);
  if (it == downloaderForURL_.end()) return nullptr;
  auto downloader = std::move(it->second);
  downloaderForURL_.erase(it);
  return downloader;
}

void LKImageManager::cancelForDelegate(LKImageManagerDelegate* delegate) {
  std::erase_if(lookUps_, [delegate](const LookUp& l) { return l.delegate == delegate; });
  const auto it = std::find(delegates_.begin(), delegates_.end(), delegate);
  if (it == delegates_.end()) return;
  const auto index = static_cast<std::size_t>(it - delegates_.begin());
  LKImageDownloader* downloader = downloaders_[index];
  removePairAt(index);
  if (std::find(downloaders_.begin(), downloaders_.end(), downloader) == downloaders_.end()) {
    const std::string url = downloader->url();
    unregister(url);  // destroying the download cancels it
  }
}

void LKImageManager::forgetDelegate(LKImageManagerDelegate* delegate) {
  while (std::find(delegates_.begin(), delegates_.end(), delegate) != delegates_.end()) {
    cancelForDelegate(delegate);
  }
  cancelForDelegate(delegate);
}

void LKImageManager::imageDownloaderDidFinishWithImage(LKImageDownloader& downloader,
                                                       const ImagePtr& image) {
  const std::string url = downloader.url();
  const std::string bytes = downloader.imageData();
  // Later-registered views first. Each pair goes before its view is told, so that a view that
  // cancels or goes away in its callback finds nothing of this download left.
  for (;;) {
    const auto it = std::find(downloaders_.rbegin(), downloaders_.rend(), &downloader);
    if (it == downloaders_.rend()) break;
    const auto index = static_cast<std::size_t>(downloaders_.rend() - it - 1);
    LKImageManagerDelegate* view = delegates_[index];
    removePairAt(index);
    if (image) view->webImageManager(*this, image);
  }
  if (image) {
    cache_.storeImage(image, bytes, url, true);
  } else {
    failedURLs_.insert(url);
  }
  // The downloader is inside its own callback: it touches nothing after this returns.
  unregister(url);
}

void LKImageManager::imageDownloaderDidFailWithError(LKImageDownloader& downloader,
                                                     const PlatformError* /*error*/) {
  // A transfer that failed may work later: the waiting views keep their placeholder and the
  // next request for the URL starts a new download.
  const std::string url = downloader.url();
  // As for a finished download: each pair goes before its view is told, so that a view that
  // goes away in its callback (and forgets its other pairs) is never told again.
  for (;;) {
    const auto it = std::find(downloaders_.rbegin(), downloaders_.rend(), &downloader);
    if (it == downloaders_.rend()) break;
    const auto index = static_cast<std::size_t>(downloaders_.rend() - it - 1);
    LKImageManagerDelegate* view = delegates_[index];
    removePairAt(index);
    view->webImageManagerDidFail(*this, url);
  }
  // The downloader is inside its own callback: it touches nothing after this returns.
  unregister(url);
}

}  // namespace lk

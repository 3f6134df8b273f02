#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "Classes/Pictures/LKImageCacheDelegate.h"
#include "Classes/Pictures/LKImageDownloaderDelegate.h"
#include "Classes/Pictures/LKImageManagerDelegate.h"

namespace lk {

class LKImageCache;
class LKImageDownloader;

// Joins the picture store and the downloads for views: a view asks for a URL, is answered from
// memory or disk, or waits for the one download of that URL shared by every view that wants it.
// Views are not owned; a view that goes away calls forgetDelegate (the view binding does).
class LKImageManager : private LKImageCacheDelegate, private LKImageDownloaderDelegate {
 public:
  static LKImageManager& sharedManager();
  static void resetSharedInstanceForTesting();

  explicit LKImageManager(LKImageCache& cache);
  LKImageManager(const LKImageManager&) = delete;
  LKImageManager& operator=(const LKImageManager&) = delete;
  ~LKImageManager() override;

  // The stored picture (memory, then a synchronous disk read), or null.
  [[nodiscard]] ImagePtr imageWithURL(const std::string& url);
  // Answers `delegate` with the picture later. Does nothing without a URL or a delegate, or for
  // a URL that once gave bytes that are no picture.
  void downloadWithURL(const std::string& url, LKImageManagerDelegate* delegate);
  // The view stops waiting: its look-ups in progress and its first waiting entry are dropped;
  // the download goes on only while another view waits for it.
  void cancelForDelegate(LKImageManagerDelegate* delegate);
  // Drops everything the view waits for (before it is destroyed).
  void forgetDelegate(LKImageManagerDelegate* delegate);

  [[nodiscard]] const std::set<std::string>& failedURLs() const { return failedURLs_; }
  [[nodiscard]] std::size_t waitingCount() const { return delegates_.size(); }
  [[nodiscard]] std::size_t downloadCount() const { return downloaderForURL_.size(); }
  [[nodiscard]] LKImageCache& cache() const { return cache_; }

 private:
  struct LookUp {
    std::uint64_t id;
    LKImageManagerDelegate* delegate;
    std::string url;
  };

  void imageCacheDidFindImage(LKImageCache& cache, const ImagePtr& image, const std::string& key,
                              const std::any& userInfo) override;
  void imageCacheDidNotFindImageForKey(LKImageCache& cache, const std::string& key,
                                       const std::any& userInfo) override;
  void imageDownloaderDidFinishWithImage(LKImageDownloader& downloader,
                                         const ImagePtr& image) override;
  void imageDownloaderDidFailWithError(LKImageDownloader& downloader,
                                       const PlatformError* error) override;

  // Takes the look-up out of the pending list; null when it was cancelled.
  std::optional<LookUp> takeLookUp(const std::any& userInfo);
  void removePairAt(std::size_t index);
  std::unique_ptr<LKImageDownloader> unregister(const std::string& url);

  LKImageCache& cache_;
  // Entry i: the view delegates_[i] waits for the download downloaders_[i].
  std::vector<LKImageManagerDelegate*> delegates_;
  std::vector<LKImageDownloader*> downloaders_;
  std::map<std::string, std::unique_ptr<LKImageDownloader>> downloaderForURL_;
  std::set<std::string> failedURLs_;
  // Views registered before the store answers, so that a reused view can be cancelled then too.
  std::vector<LookUp> lookUps_;
  std::uint64_t lastLookUpId_ = 0;
};

}  // namespace lk

#pragma once

#include <any>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "Classes/Pictures/LKImageCacheDelegate.h"
#include "Platform/Dispatch/SerialQueue.h"
#include "Platform/Image/Image.h"
#include "Platform/Notifications/NotificationCenter.h"

namespace lk {

class RunLoop;

// The two-level picture store keyed by URL text: decoded pictures in memory, and their encoded
// bytes on disk in one file per key named by the key's MD5. Disk reads and writes each run on
// a background queue of their own; every answer and every change of the memory map happens on
// the main thread.
class LKImageCache {
 public:
  static constexpr double kMaxCacheAge = 604800;  // seconds: a week
  static constexpr const char* kDirectoryName = "ImageCache";

  // The shared store, in "ImageCache" under the application's caches directory.
  static LKImageCache& sharedImageCache();
  // Ends the shared manager and the shared store (waiting for its disk jobs); the next call
  // builds a new one.
  static void resetSharedInstanceForTesting();
  // True while the shared store (if one was built) has disk jobs queued or running.
  [[nodiscard]] static bool hasPendingDiskJobs();

  // A store on `diskCachePath` (created when missing). It observes the life-cycle
  // notifications: a memory warning and the background empty the memory, termination cleans the
  // disk.
  explicit LKImageCache(std::filesystem::path diskCachePath);
  LKImageCache(const LKImageCache&) = delete;
  LKImageCache& operator=(const LKImageCache&) = delete;
  ~LKImageCache();

  // The memory picture, else (with `fromDisk`) the file read and decoded on the calling thread
  // and kept in memory. Nothing for an empty key.
  [[nodiscard]] ImagePtr imageFromKey(const std::string& key) { return imageFromKey(key, true); }
  [[nodiscard]] ImagePtr imageFromKey(const std::string& key, bool fromDisk);

  // Keeps `image` in memory under `key` and, with `toDisk`, writes `imageData` (the encoded
  // bytes) to the key's file in the background. Asking for the disk without bytes stores
  // nothing at all; so does a missing image or key.
  void storeImage(const ImagePtr& image, std::string imageData, const std::string& key,
                  bool toDisk);
  void storeImage(const ImagePtr& image, const std::string& key) {
    storeImage(image, std::string(), key, true);
  }
  void storeImage(const ImagePtr& image, const std::string& key, bool toDisk) {
    storeImage(image, std::string(), key, toDisk);
  }

  // Looks the key up: from memory the answer comes at once; otherwise the file is read in the
  // background and the answer arrives later on the main loop. The delegate must outlive the
  // answer or call cancelQueriesForDelegate first.
  void queryDiskCacheForKey(const std::string& key, LKImageCacheDelegate* delegate,
                            std::any userInfo = {});
  void cancelQueriesForDelegate(const LKImageCacheDelegate* delegate);

  void removeImageForKey(const std::string& key);
  // Drops the pending disk writes and empties the memory.
  void clearMemory();
  // Drops the pending disk writes and empties the directory.
  void clearDisk();
  // Deletes every file whose modification date is a week old or older.
  void cleanDisk();

  [[nodiscard]] const std::filesystem::path& diskCachePath() const { return diskCachePath_; }
  [[nodiscard]] std::filesystem::path cachePathForKey(const std::string& key) const;
  [[nodiscard]] std::size_t memoryCount() const { return memCache_.size(); }
  // Blocks until the queued disk writes and reads ran (their answers may still be posted).
  void waitUntilDiskJobsAreFinished();

 private:
  struct PendingQuery {
    std::uint64_t id;
    LKImageCacheDelegate* delegate;
  };
  void finishQuery(std::uint64_t id, const std::string& key, const ImagePtr& image,
                   const std::any& userInfo);

  std::unordered_map<std::string, ImagePtr> memCache_;
  std::filesystem::path diskCachePath_;
  SerialQueue cacheInQueue_{"ImageCache.in"};
  SerialQueue cacheOutQueue_{"ImageCache.out"};
  std::vector<PendingQuery> pendingQueries_;
  std::uint64_t lastQueryId_ = 0;
  // Answers posted from the read queue find the store through this and stop when it is gone.
  std::shared_ptr<LKImageCache*> self_;
  ObserverToken memoryWarningObserver_;
  ObserverToken backgroundObserver_;
  ObserverToken terminateObserver_;
};

}  // namespace lk

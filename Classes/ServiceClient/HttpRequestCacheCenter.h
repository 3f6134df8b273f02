#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <unordered_map>

namespace lk {

// The process-wide, in-memory store of raw GET answers, keyed by the escaped absolute URL of the
// request (query and "tn=gz" included). Emptied on every entry into the background, and
// wholesale whenever it would grow past 500 entries. Main thread only.
class HttpRequestCacheCenter {
 public:
  static constexpr std::size_t kMaxEntries = 500;
  using Data = std::shared_ptr<const std::string>;  // shared, read-only bytes

  static HttpRequestCacheCenter& sharedInstance();
  // Tests start from an empty store.
  static void resetSharedInstanceForTesting();

  // Use sharedInstance(); a second instance is reported as a programming error.
  HttpRequestCacheCenter();
  HttpRequestCacheCenter(const HttpRequestCacheCenter&) = delete;
  HttpRequestCacheCenter& operator=(const HttpRequestCacheCenter&) = delete;
  ~HttpRequestCacheCenter();

  // Stores the bytes under `url`, replacing an entry of the same URL. When the store already
  // holds 500 entries it is emptied first.
  void cacheData(Data data, const std::string& url);
  void cacheData(std::string data, const std::string& url);
  // The stored bytes, or null.
  [[nodiscard]] Data dataForURL(const std::string& url) const;
  // Removes the entry of `url`, if any.
  void removeDataForURL(const std::string& url);
  // Removes every entry.
  void distoryCacheData();

  [[nodiscard]] const std::unordered_map<std::string, Data>& dataDictionary() const {
    return dataDictionary_;
  }

 private:
  std::unordered_map<std::string, Data> dataDictionary_;
};

}  // namespace lk

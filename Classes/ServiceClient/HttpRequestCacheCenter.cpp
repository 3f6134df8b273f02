#include "Classes/ServiceClient/HttpRequestCacheCenter.h"

#include <atomic>
#include <mutex>

#include "Platform/Log/Log.h"

namespace lk {
namespace {

std::mutex gInstanceMutex;
std::unique_ptr<HttpRequestCacheCenter> gInstanceOwner;
std::atomic<HttpRequestCacheCenter*> gInstance{nullptr};
std::atomic<int> gLiveInstances{0};

}  // namespace

HttpRequestCacheCenter& HttpRequestCacheCenter::sharedInstance() {
  if (HttpRequestCacheCenter* instance = gInstance.load(std::memory_order_acquire))
    return *instance;
  std::lock_guard lock(gInstanceMutex);
  if (!gInstanceOwner) {
    gInstanceOwner = std::make_unique<HttpRequestCacheCenter>();
    gInstance.store(gInstanceOwner.get(), std::memory_order_release);
  }
  return *gInstanceOwner;
}

void HttpRequestCacheCenter::resetSharedInstanceForTesting() {
  std::lock_guard lock(gInstanceMutex);
  gInstance.store(nullptr, std::memory_order_release);
  gInstanceOwner.reset();
}

HttpRequestCacheCenter::HttpRequestCacheCenter() {
  if (gLiveInstances.fetch_add(1) > 0) logLine("Duplicate alloc a singleton class");
}

HttpRequestCacheCenter::~HttpRequestCacheCenter() {
  gLiveInstances.fetch_sub(1);
}

void HttpRequestCacheCenter::cacheData(Data data, const std::string& url) {
  if (dataDictionary_.size() >= kMaxEntries) dataDictionary_.clear();
  dataDictionary_[url] = std::move(data);
}

void HttpRequestCacheCenter::cacheData(std::string data, const std::string& url) {
  cacheData(std::make_shared<const std::string>(std::move(data)), url);
}

HttpRequestCacheCenter::Data HttpRequestCacheCenter::dataForURL(const std::string& url) const {
  auto it = dataDictionary_.find(url);
  return it == dataDictionary_.end() ? nullptr : it->second;
}

void HttpRequestCacheCenter::removeDataForURL(const std::string& url) {
  dataDictionary_.erase(url);
}

void HttpRequestCacheCenter::distoryCacheData() {
  dataDictionary_.clear();
}

}  // namespace lk

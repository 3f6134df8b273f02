#pragma once

#include <any>
#include <string>

#include "Platform/Image/Image.h"

namespace lk {

class LKImageCache;

// Answers of the picture store's asynchronous look-up, on the main thread. Both optional.
class LKImageCacheDelegate {
 public:
  LKImageCacheDelegate() = default;
  LKImageCacheDelegate(const LKImageCacheDelegate&) = delete;
  LKImageCacheDelegate& operator=(const LKImageCacheDelegate&) = delete;
  virtual ~LKImageCacheDelegate() = default;

  virtual void imageCacheDidFindImage(LKImageCache& /*cache*/, const ImagePtr& /*image*/,
                                      const std::string& /*key*/, const std::any& /*userInfo*/) {}
  virtual void imageCacheDidNotFindImageForKey(LKImageCache& /*cache*/, const std::string& /*key*/,
                                               const std::any& /*userInfo*/) {}
};

}  // namespace lk

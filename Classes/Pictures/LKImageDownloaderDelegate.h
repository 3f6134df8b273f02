#pragma once

#include "Platform/Image/Image.h"
#include "Platform/Net/PlatformError.h"

namespace lk {

class LKImageDownloader;

// Events of one picture download, on the main thread. All optional. The delegate may destroy the
// downloader inside any of them.
class LKImageDownloaderDelegate {
 public:
  LKImageDownloaderDelegate() = default;
  LKImageDownloaderDelegate(const LKImageDownloaderDelegate&) = delete;
  LKImageDownloaderDelegate& operator=(const LKImageDownloaderDelegate&) = delete;
  virtual ~LKImageDownloaderDelegate() = default;

  virtual void imageDownloaderDidFinish(LKImageDownloader& /*downloader*/) {}
  // `image` is null when the bytes are no picture.
  virtual void imageDownloaderDidFinishWithImage(LKImageDownloader& /*downloader*/,
                                                 const ImagePtr& /*image*/) {}
  // `error` is null when the transfer could not even be created.
  virtual void imageDownloaderDidFailWithError(LKImageDownloader& /*downloader*/,
                                               const PlatformError* /*error*/) {}
};

}  // namespace lk

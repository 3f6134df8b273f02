#include "Classes/Pictures/LKImageDownloader.h"

#include <cctype>
#include <string_view>

#include "Platform/Image/ImageCodec.h"
#include "Platform/Net/UrlTransfer.h"
#include "Platform/Notifications/NotificationCenter.h"

namespace lk {

std::unique_ptr<LKImageDownloader> LKImageDownloader::downloaderWithURL(
    const std::string& url, LKImageDownloaderDelegate* delegate, std::any userInfo) {
  auto downloader =
      std::make_unique<LKImageDownloader>(Token(), url, delegate, std::move(userInfo));
  downloader->start();
  return downloader;
}

LKImageDownloader::LKImageDownloader(Token, std::string url, LKImageDownloaderDelegate* delegate,
                                     std::any userInfo)
    : url_(std::move(url)), delegate_(delegate), userInfo_(std::move(userInfo)) {}

LKImageDownloader::~LKImageDownloader() {
  *alive_ = false;
  cancel();
}

namespace {

// Pictures come over the web only: a URL of another kind (a local file, say) is never fetched.
bool isWebURL(const std::string& url) {
  const auto startsWith = [&url](std::string_view prefix) {
    if (url.size() < prefix.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
      if (std::tolower(static_cast<unsigned char>(url[i])) != prefix[i]) return false;
    }
    return true;
  };
  return startsWith("http://") || startsWith("https://");
}

}  // namespace

void LKImageDownloader::start() {
  if (!isWebURL(url_)) {
    if (delegate_ != nullptr) delegate_->imageDownloaderDidFailWithError(*this, nullptr);
    return;
  }
  UrlRequest request;
  request.url = url_;
  request.cachePolicy = UrlCachePolicy::kReloadIgnoringLocalCacheData;
  request.timeoutInterval = seconds(kTimeout);
  request.maximumBodyLength = kMaxImageBytes;
  connection_ = UrlTransfer::start(request, this);
  if (!connection_) {
    if (delegate_ != nullptr) delegate_->imageDownloaderDidFailWithError(*this, nullptr);
    return;
  }
  imageData_.clear();
  postNotification(kLKImageDownloadStartNotification);
}

void LKImageDownloader::cancel() {
  if (!connection_) return;
  connection_->cancel();
  connection_.reset();
  postNotification(kLKImageDownloadStopNotification);
}

void LKImageDownloader::postNotification(const char* name) {
  NotificationCenter::defaultCenter().post(Notification{name, this, {}});
}

void LKImageDownloader::transferDidReceiveData(UrlTransfer& /*transfer*/, std::string_view chunk) {
  imageData_.append(chunk);  // the transport stops the answer at kMaxImageBytes
}

void LKImageDownloader::transferDidFinish(UrlTransfer& /*transfer*/) {
  const auto alive = alive_;
  connection_.reset();
  postNotification(kLKImageDownloadStopNotification);
  if (!*alive || delegate_ == nullptr) return;
  delegate_->imageDownloaderDidFinish(*this);
  if (!*alive || delegate_ == nullptr) return;
  ImagePtr image;
  if (!oversized_) {
    if (auto decoded = ImageCodec::decode(imageData_)) {
      image = std::make_shared<const Image>(std::move(*decoded));
    }
  }
  delegate_->imageDownloaderDidFinishWithImage(*this, image);
}

void LKImageDownloader::transferDidFail(UrlTransfer& transfer, const PlatformError& error) {
  if (error.code == UrlError::kDataLengthExceedsMaximum) {
    // A hostile or mistaken answer: it ends as bytes of no picture, not as a failure to retry.
    imageData_.clear();
    imageData_.shrink_to_fit();
    oversized_ = true;
    transferDidFinish(transfer);
    return;
  }
  const auto alive = alive_;
  const PlatformError copy = error;
  connection_.reset();
  imageData_.clear();
  postNotification(kLKImageDownloadStopNotification);
  if (*alive && delegate_ != nullptr) delegate_->imageDownloaderDidFailWithError(*this, &copy);
}

}  // namespace lk

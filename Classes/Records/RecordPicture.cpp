#include "Classes/Records/RecordPicture.h"

#include "Classes/Pictures/LKImageCache.h"
#include "Classes/ServiceClient/HttpRequest.h"
#include "Platform/Image/ImageCodec.h"

namespace lk {

RecordPicture::RecordPicture(std::any extraData) : extraData_(std::move(extraData)) {}

RecordPicture::~RecordPicture() = default;  // the pending request cancels when destroyed

void RecordPicture::setUrl(const std::string& url, bool fetch) {
  if (url == url_) return;
  url_ = url;
  // A download of the previous URL would bring a picture that no longer belongs here.
  request_.reset();
  if (!fetch || url.empty()) return;
  if (ImagePtr cached = LKImageCache::sharedImageCache().imageFromKey(url)) {
    image_.set(std::move(cached));
    return;
  }
  requestedUrl_ = url;
  request_ = std::make_unique<HttpRequest>(static_cast<HttpRequestDelegate*>(this), extraData_);
  request_->requestGET(url);
}

void RecordPicture::requestSucceeded(HttpRequest& request) {
  // Release the request whatever happens; keep what is still needed of it first.
  const std::unique_ptr<HttpRequest> done = std::move(request_);
  if (request.statusCode() != 200) return;
  auto decoded = ImageCodec::decode(request.recievedData());
  if (!decoded) {
    request.forgetStoredAnswer();  // a damaged picture is fetched again next time
    return;
  }
  auto image = std::make_shared<const Image>(std::move(*decoded));
  // The store is keyed by the URL text the record looks up. Store before telling the
  // subscribers: one of them may let the record go.
  LKImageCache::sharedImageCache().storeImage(image, ImageCodec::encodePng(*image), requestedUrl_,
                                              true);
  image_.set(std::move(image));
}

void RecordPicture::requestFailed(HttpRequest& /*request*/, const PlatformError& /*error*/) {
  request_.reset();
}

}  // namespace lk

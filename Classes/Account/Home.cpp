#include "Classes/Account/Home.h"

#include <chrono>

#include "Classes/Json/JsonValue.h"
#include "Classes/Pictures/LKImageCache.h"
#include "Classes/ServiceClient/HttpRequest.h"
#include "Classes/Util/Utility.h"
#include "Platform/Image/ImageCodec.h"

namespace lk {

Home::Home() = default;

Home::~Home() = default;  // a pending avatar download is cancelled with its request

void Home::setImgUrl(const std::string& url) {
  if (url == imgUrl_) return;
  imgUrl_ = url;
  // The old picture and its download belong to another address.
  request_.reset();
  img_.set(nullptr);
  if (url.empty()) return;
  if (ImagePtr cached = LKImageCache::sharedImageCache().imageFromKey(url)) {
    img_.set(std::move(cached));
    return;
  }
  request_ = std::make_unique<HttpRequest>(static_cast<HttpRequestDelegate*>(this), std::any());
  request_->requestGET(url);
}

void Home::cancelImageRequest() {
  if (!request_) return;
  request_.reset();
  imgUrl_.clear();
}

std::string Home::lastBroadcastTimeString() const {
  const auto since1970 = std::chrono::duration_cast<std::chrono::system_clock::duration>(
      std::chrono::duration<double>(lastBroadcastTime.get()));
  return Utility::stringWithDate(Date(since1970));
}

void Home::updateFromProfile(const boost::json::object& answer) {
  const boost::json::object empty;
  const boost::json::object* info = json::objectMember(answer, "userinfo");
  if (info == nullptr) info = &empty;
  uid = json::stringMember(*info, "uid").value_or("");
  name = json::textMember(*info, "name");
  setImgUrl(json::stringMember(*info, "pic").value_or(""));
  level = json::intMember(*info, "grade");
  broadcastCount = json::intMember(*info, "minicmtcount");
  wantCount = json::intMember(answer, "want_to_num");
  beenCount = json::intMember(answer, "been_to_num");
}

void Home::updateFromLatestBroadcasts(const boost::json::object& answer) {
  const boost::json::array* list = json::arrayMember(answer, "cmtlist");
  const boost::json::object* first = list != nullptr && !list->empty() && list->front().is_object()
                                         ? &list->front().get_object()
                                         : nullptr;
  if (first == nullptr) {
    lastBroadcastLocation.set(std::nullopt);
    lastBroadcastTime.set(0);
    return;
  }
  lastBroadcastLocation.set(json::stringMember(*first, "shop_name"));
  lastBroadcastTime.set(json::doubleMember(*first, "create_time"));
}

void Home::requestSucceeded(HttpRequest& request) {
  const std::unique_ptr<HttpRequest> done = std::move(request_);
  if (request.statusCode() != 200) return;
  auto decoded = ImageCodec::decode(request.recievedData());
  if (!decoded) {
    request.forgetStoredAnswer();  // a damaged picture is fetched again next time
    return;
  }
  auto image = std::make_shared<const Image>(std::move(*decoded));
  // Stored under the address the record looks up, so that the next profile finds it.
  LKImageCache::sharedImageCache().storeImage(image, ImageCodec::encodePng(*image), imgUrl_, true);
  img_.set(std::move(image));
}

void Home::requestFailed(HttpRequest& /*request*/, const PlatformError& /*error*/) {
  request_.reset();  // the default avatar stays
}

}  // namespace lk

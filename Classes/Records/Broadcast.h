#pragma once

#include <boost/json/object.hpp>

#include <memory>
#include <string>
#include <string_view>

#include "Classes/Json/JsonNode.h"
#include "Classes/Records/RecordPicture.h"
#include "Platform/Text/DateFormatter.h"

namespace lk {

// A short on-site report about a shop, optionally with a photo. Setting `userImgUrl` fetches the
// author's picture into `userImg`, setting `imgUrl` the photo into `bcImg`.
class Broadcast {
 public:
  // Download tags: the author's picture and the photo.
  static constexpr int kUserImageRequest = 0;
  static constexpr int kPhotoRequest = 1;

  Broadcast();
  Broadcast(const Broadcast&) = delete;
  Broadcast& operator=(const Broadcast&) = delete;

  // One element of a broadcast list; `base` is the URL prefix sent beside the list.
  [[nodiscard]] static std::shared_ptr<Broadcast> fromBroadcastEntry(json::Node entry,
                                                                     std::string_view base);
  [[nodiscard]] static std::shared_ptr<Broadcast> fromBroadcastEntry(
      const boost::json::object& entry, std::string_view base);
  // The latest broadcast inside a shop information answer.
  [[nodiscard]] static std::shared_ptr<Broadcast> fromShopInformation(json::Node entry,
                                                                      std::string_view base);
  [[nodiscard]] static std::shared_ptr<Broadcast> fromShopInformation(
      const boost::json::object& entry, std::string_view base);

  // How long ago `createdTime` (seconds since 1970) was, as the lists show it: "%d分钟前" up to
  // half an hour, "%d小时前" up to a day, "%d天前" up to a week, then the day "yyyy-MM-dd". A time
  // a little in the future (clocks differ) reads as "0分钟前".
  [[nodiscard]] static std::string createdDate(double createdTime);
  [[nodiscard]] static std::string createdDate(double createdTime, Date now);

  [[nodiscard]] const std::string& cmtId() const { return cmtId_; }
  void setCmtId(std::string v) { cmtId_ = std::move(v); }
  [[nodiscard]] const std::string& userId() const { return userId_; }
  void setUserId(std::string v) { userId_ = std::move(v); }
  [[nodiscard]] const std::string& userName() const { return userName_; }
  void setUserName(std::string v) { userName_ = std::move(v); }
  [[nodiscard]] const std::string& content() const { return content_; }
  void setContent(std::string v) { content_ = std::move(v); }
  [[nodiscard]] double createdTime() const { return createdTime_; }
  void setCreatedTime(double v) { createdTime_ = v; }
  [[nodiscard]] const std::string& userImgUrl() const { return userImg_.url(); }
  void setUserImgUrl(const std::string& url) { userImg_.setUrl(url); }
  // "" when the broadcast has no photo.
  [[nodiscard]] const std::string& imgUrl() const { return bcImg_.url(); }
  void setImgUrl(const std::string& url) { bcImg_.setUrl(url); }
  [[nodiscard]] const std::string& shopName() const { return shopName_; }
  void setShopName(std::string v) { shopName_ = std::move(v); }
  [[nodiscard]] const std::string& shopId() const { return shopId_; }
  void setShopId(std::string v) { shopId_ = std::move(v); }

  // Observed by drawn cells.
  [[nodiscard]] Observable<ImagePtr>& userImg() { return userImg_.image(); }
  [[nodiscard]] Observable<ImagePtr>& bcImg() { return bcImg_.image(); }
  [[nodiscard]] const Observable<ImagePtr>& userImg() const { return userImg_.image(); }
  [[nodiscard]] const Observable<ImagePtr>& bcImg() const { return bcImg_.image(); }
  [[nodiscard]] const HttpRequest* userImgRequest() const { return userImg_.request(); }
  [[nodiscard]] const HttpRequest* bcImgRequest() const { return bcImg_.request(); }

 private:
  std::string cmtId_;
  std::string userId_;
  std::string userName_;
  std::string content_;
  double createdTime_ = 0;
  std::string shopName_;
  std::string shopId_;
  RecordPicture userImg_;
  RecordPicture bcImg_;
};

}  // namespace lk

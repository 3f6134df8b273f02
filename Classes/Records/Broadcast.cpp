#include "Classes/Records/Broadcast.h"

#include <array>
#include <chrono>
#include <cmath>

#include "Classes/Json/JsonValue.h"
#include "Classes/Records/RecordJson.h"
#include "Classes/Util/Utility.h"
#include "Platform/Log/Log.h"

namespace lk {

Broadcast::Broadcast() : userImg_(kUserImageRequest), bcImg_(kPhotoRequest) {}

std::shared_ptr<Broadcast> Broadcast::fromBroadcastEntry(json::Node entry, std::string_view base) {
  auto b = std::make_shared<Broadcast>();
  b->setUserImgUrl(urlMember(entry, "pic_url_s", base));
  b->setUserName(json::textMember(entry, "uname"));
  b->setImgUrl(urlMember(entry, "img", base));
  b->setShopId(json::textMember(entry, "shop_id"));
  b->setShopName(json::textMember(entry, "shop_name"));
  b->setCreatedTime(json::doubleMember(entry, "create_time"));
  b->setContent(json::textMember(entry, "content"));
  return b;
}

std::shared_ptr<Broadcast> Broadcast::fromShopInformation(json::Node entry, std::string_view base) {
  static constexpr std::array<std::string_view, 5> kKeys = {"uname", "content", "create_time",
                                                            "pic_url_s", "img"};
  const auto m = entry.pick(kKeys);
  auto b = std::make_shared<Broadcast>();
  b->setUserName(json::toText(m[0]));
  b->setContent(json::toText(m[1]));
  b->setCreatedTime(json::toDouble(m[2]));
  b->setUserImgUrl(urlOf(m[3], base));
  b->setImgUrl(urlOf(m[4], base));
  return b;
}

std::shared_ptr<Broadcast> Broadcast::fromBroadcastEntry(const boost::json::object& entry,
                                                         std::string_view base) {
  return fromBroadcastEntry(json::Node(entry), base);
}

std::shared_ptr<Broadcast> Broadcast::fromShopInformation(const boost::json::object& entry,
                                                          std::string_view base) {
  return fromShopInformation(json::Node(entry), base);
}

std::string Broadcast::createdDate(double createdTime) {
  return createdDate(createdTime, std::chrono::system_clock::now());
}

std::string Broadcast::createdDate(double createdTime, Date now) {
  double age = secondsSince1970(now) - createdTime;
  if (std::isnan(age)) return Utility::stringWithDate(dateFromSeconds(createdTime));
  // A creation time slightly ahead of this clock is "just now", not a negative age.
  if (age < 0) age = 0;
  if (age <= 1800) return strprintf("%d分钟前", static_cast<int>(age / 60));
  if (age <= 86400) return strprintf("%d小时前", static_cast<int>(age / 60 / 60));
  if (age <= 604800) return strprintf("%d天前", static_cast<int>(age / 60 / 60 / 24));
  return Utility::stringWithDate(dateFromSeconds(createdTime));
}

}  // namespace lk

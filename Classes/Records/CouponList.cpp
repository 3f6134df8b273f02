#include "Classes/Records/CouponList.h"

#include "Classes/Json/JsonValue.h"
#include "Classes/Records/Coupon.h"
#include "Classes/Util/Utility.h"

namespace lk {

std::shared_ptr<CouponList> CouponList::fromCouponListEntry(const boost::json::object& entry) {
  auto c = std::make_shared<CouponList>();
  c->setCouponId(json::textMember(entry, "strId"));
  c->setTopic(json::textMember(entry, "strTopic"));
  c->setType(json::intMember(entry, "intGType"));
  c->setDownloadCount(json::intMember(entry, "intDownloadNumber"));
  c->setInterestingCount(json::intMember(entry, "intInterestingNumber"));
  if (const auto* shops = json::arrayMember(entry, "arrShopInUsing");
      shops != nullptr && !shops->empty()) {
    static const boost::json::object kNone;
    const auto& first = (*shops)[0].is_object() ? (*shops)[0].get_object() : kNone;
    c->setShopName(json::textMember(first, "strShopName"));
    c->setShopScore(json::floatMember(first, "intScoreTotal"));
    c->setShopTag(json::textMember(first, "strTag"));
  }
  return c;
}

std::shared_ptr<CouponList> CouponList::fromNearbyShop(const boost::json::object& shop) {
  const auto* offers = json::arrayMember(shop, "cheap_off");
  if (offers == nullptr || offers->empty()) return nullptr;
  static const boost::json::object kNone;
  const auto& offer = (*offers)[0].is_object() ? (*offers)[0].get_object() : kNone;
  auto c = std::make_shared<CouponList>();
  c->setCouponId(json::textMember(offer, "id"));
  c->setTopic(json::textMember(offer, "title"));
  c->setInterestingCount(json::intMember(offer, "interest_num"));
  c->setType(Coupon::typeWithName(json::textMember(offer, "type")));
  c->setShopName(Utility::removeTag("em", json::textMember(shop, "shop_name")));
  c->setShopScore(json::floatMember(shop, "total_score"));
  c->setShopTag(json::textMember(shop, "taglist"));
  return c;
}

}  // namespace lk

#include "Classes/Records/Coupon.h"

#include "Classes/Records/ShopInfo.h"
#include "Classes/Util/Utility.h"

namespace lk {

int Coupon::typeWithName(std::string_view name) {
  if (name == "优惠券") return kCoupon;
  if (name == "折扣信息") return kDiscount;
  if (name == "活动") return kEvent;
  return kUnknown;
}

std::string Coupon::startTimeString() const {
  return Utility::stringWithDate(dateFromSeconds(startTime_));
}

std::string Coupon::endTimeString() const {
  return Utility::stringWithDate(dateFromSeconds(endTime_));
}

}  // namespace lk

#include <gtest/gtest.h>

#include "Classes/Json/JsonValue.h"
#include "Classes/Records/Coupon.h"
#include "Classes/Records/CouponList.h"
#include "tests/support/ScopedTimeZone.h"

namespace lk {
namespace {

boost::json::object object(std::string_view text) {
  return json::parse(text)->get_object();
}

TEST(CouponKinds, ExactKindNamesOnly) {
  EXPECT_EQ(Coupon::typeWithName("优惠券"), 1);
  EXPECT_EQ(Coupon::typeWithName("折扣信息"), 2);
  EXPECT_EQ(Coupon::typeWithName("活动"), 3);
  EXPECT_EQ(Coupon::typeWithName("优惠"), 0);
  EXPECT_EQ(Coupon::typeWithName(""), 0);
  EXPECT_EQ(Coupon::typeWithName("活动 "), 0);
}

TEST(CouponPeriod, DaysInTheUsersTimeZone) {
  test::ScopedTimeZone utc("UTC");
  Coupon coupon;
  EXPECT_EQ(coupon.startTimeString(), "1970-01-01");
  coupon.setEndTime(1277915400);
  EXPECT_EQ(coupon.endTimeString(), "2010-06-30");
  test::ScopedTimeZone beijing("Asia/Shanghai");
  EXPECT_EQ(coupon.endTimeString(), "2010-07-01");
}

TEST(CouponListDecoding, FirstShopWithNullsAsEmpty) {
  const auto row = CouponList::fromCouponListEntry(object(R"({
      "strId": "88", "strTopic": "八折", "intGType": "2", "intDownloadNumber": 10,
      "intInterestingNumber": null,
      "arrShopInUsing": [{"strShopName": null, "intScoreTotal": null, "strTag": null},
                         {"strShopName": "second"}]})"));
  EXPECT_EQ(row->couponId(), "88");
  EXPECT_EQ(row->topic(), "八折");
  EXPECT_EQ(row->type(), 2);
  EXPECT_EQ(row->downloadCount(), 10);
  EXPECT_EQ(row->interestingCount(), 0);
  EXPECT_EQ(row->shopName(), "");
  EXPECT_EQ(row->shopScore(), 0.0f);
  EXPECT_EQ(row->shopTag(), "");

  const auto named = CouponList::fromCouponListEntry(object(
      R"({"arrShopInUsing": [{"strShopName": "茶馆", "intScoreTotal": 4.5, "strTag": "茶"}]})"));
  EXPECT_EQ(named->shopName(), "茶馆");
  EXPECT_FLOAT_EQ(named->shopScore(), 4.5f);
  EXPECT_EQ(named->shopTag(), "茶");
  EXPECT_EQ(CouponList::fromCouponListEntry(object(R"({"arrShopInUsing": [7]})"))->shopName(), "");
}

TEST(CouponListDecoding, NearbyShopWithItsFirstOffer) {
  const auto row = CouponList::fromNearbyShop(object(R"({
      "shop_name": "<em>茶</em>馆", "total_score": "3.5", "taglist": "茶 点心",
      "cheap_off": [{"id": 3, "title": "买一送一", "interest_num": "12", "type": "优惠券"}]})"));
  ASSERT_NE(row, nullptr);
  EXPECT_EQ(row->couponId(), "3");
  EXPECT_EQ(row->topic(), "买一送一");
  EXPECT_EQ(row->interestingCount(), 12);
  EXPECT_EQ(row->type(), Coupon::kCoupon);
  EXPECT_EQ(row->shopName(), "茶馆");
  EXPECT_FLOAT_EQ(row->shopScore(), 3.5f);
  EXPECT_EQ(row->shopTag(), "茶 点心");
  EXPECT_EQ(CouponList::fromNearbyShop(object(R"({"cheap_off": []})")), nullptr);
  EXPECT_EQ(CouponList::fromNearbyShop(object(R"({"shop_name": "x"})")), nullptr);
}

}  // namespace
}  // namespace lk

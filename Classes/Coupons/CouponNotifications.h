#pragma once

namespace lk {

// Posted by the coupon list's header bar, heard by the coupon list on top of its stack. None
// carries an object.
// The category button was tapped: open the chooser.
inline constexpr const char* kCouponSelectChannel = "kCouponSelectChannel";
// Segment "最新" was chosen.
inline constexpr const char* kCouponSwitchToNewestList = "kCouponSwitchToNewestList";
// Segment "最热" was chosen.
inline constexpr const char* kCouponSwitchToHotestList = "kCouponSwitchToHotestList";

// Posted by an offer's first row when its text is expanded or collapsed; the cell view is the
// object and user info "id" (std::string) the offer's id.
inline constexpr const char* kCouponShowAllInfo = "kCouponShowAllInfo";
inline constexpr const char* kCouponIdKey = "id";

}  // namespace lk

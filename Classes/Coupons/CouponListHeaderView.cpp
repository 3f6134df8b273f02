#include "Classes/Coupons/CouponListHeaderView.h"

#include "Classes/Coupons/CouponNotifications.h"
#include "Platform/Notifications/NotificationCenter.h"

namespace lk {

CouponListHeaderView::CouponListHeaderView(ui::Rect frame)
    : ui::ImageView(frame, ui::Image::named("coupon_header_background", frame.size)) {
  setUserInteractionEnabled(true);
  segment_ = std::make_shared<ui::SegmentedControl>(std::vector<std::string>{"最热", "最新"},
                                                    ui::Rect{8, 6, 150, 30});
  segment_->setSelectedSegmentIndex(0);
  segment_->setAction([this](ui::SegmentedControl& s) { switchCoupon(s); });
  addSubview(segment_);
  button_ =
      std::make_shared<LKPickerButton>(ui::Rect{frame.width() - LKPickerButton::kWidth - 8, 5,
                                                LKPickerButton::kWidth, LKPickerButton::kHeight},
                                       kAllChannelsTitle);
  button_->setDelegateAndClickAction([this] { selectChannel(); });
  addSubview(button_);
}

void CouponListHeaderView::switchCoupon(ui::SegmentedControl& segment) {
  NotificationCenter::defaultCenter().post(
      segment.selectedSegmentIndex() == 0 ? kCouponSwitchToHotestList : kCouponSwitchToNewestList);
}

void CouponListHeaderView::selectChannel() {
  NotificationCenter::defaultCenter().post(kCouponSelectChannel);
}

void CouponListHeaderView::setButtonTitle(const std::string& title) {
  button_->setTitle(title);
}

}  // namespace lk

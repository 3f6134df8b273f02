#pragma once

#include <memory>
#include <string>

#include "Classes/Coupons/LKPickerButton.h"
#include "Platform/UI/ImageView.h"
#include "Platform/UI/SegmentedControl.h"

namespace lk {

// The bar above the coupon list: the order ("最热" | "最新") and the category button. It only
// posts notifications; the list decides what to do.
class CouponListHeaderView : public ui::ImageView {
 public:
  static constexpr double kHeight = 42;
  static constexpr const char* kAllChannelsTitle = "全部分类";

  explicit CouponListHeaderView(ui::Rect frame = {0, 0, 320, kHeight});

  [[nodiscard]] const std::shared_ptr<ui::SegmentedControl>& segment() const { return segment_; }
  [[nodiscard]] const std::shared_ptr<LKPickerButton>& button() const { return button_; }
  [[nodiscard]] const std::string& buttonTitle() const { return button_->title(); }

  // The segment changed: posts the order's notification.
  void switchCoupon(ui::SegmentedControl& segment);
  // The category button was tapped.
  void selectChannel();
  void setButtonTitle(const std::string& title);

 private:
  std::shared_ptr<ui::SegmentedControl> segment_;
  std::shared_ptr<LKPickerButton> button_;
};

}  // namespace lk

#pragma once

#include <memory>

#include "Classes/Toolkit/CustomCellView.h"
#include "Platform/UI/Button.h"

namespace lk {

class Coupon;

// The first row of an offer on its detail screen: topic, logo and the offer's text, collapsed
// to 120 points when it is taller than 130, with a button that expands and collapses it.
class CouponInfoCellView : public CustomCellView {
 public:
  static constexpr double kWidth = 320;
  static constexpr double kTextWidth = 280;
  static constexpr double kTextTop = 93;
  // Taller texts collapse to kCollapsedHeight and get the button.
  static constexpr double kCollapseAbove = 130;
  static constexpr double kCollapsedHeight = 120;
  static constexpr double kButtonSize = 26;
  static constexpr const char* kButtonImage = "coupon_button_expand";
  static constexpr const char* kLogoImage = "coupon_logo";

  explicit CouponInfoCellView(ui::Rect frame = {0, 0, kWidth, 100});

  void setDataModel(std::shared_ptr<void> record, const std::type_info& type) override;
  using CustomCellView::setDataModel;
  void drawRect(ui::Canvas& canvas, const ui::Rect& rect) const override;

  // The expand button, present only for long texts.
  [[nodiscard]] const std::shared_ptr<ui::Button>& button() const { return button_; }
  void setButton(std::shared_ptr<ui::Button> button);
  // The button's tap: toggles the offer's showAll and posts kCouponShowAllInfo.
  void showAll();

  // The full text's height (14-point system font, 280 wide).
  [[nodiscard]] static double textHeight(const Coupon& coupon);
  // What of it shows: all of it when expanded or short, else 120 points.
  [[nodiscard]] static double shownTextHeight(const Coupon& coupon);
  [[nodiscard]] static bool hasButton(const Coupon& coupon);
  // 100 + the shown text + 20, less 10 for a text of 130 points or less.
  [[nodiscard]] static double heightOfCell(const Coupon& coupon);

 private:
  void updateButton();

  std::shared_ptr<ui::Button> button_;
};

}  // namespace lk

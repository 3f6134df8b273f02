#include "Classes/Coupons/CouponInfoCellView.h"

#include <algorithm>

#include "Classes/Coupons/CouponNotifications.h"
#include "Classes/Records/Coupon.h"
#include "Platform/Notifications/NotificationCenter.h"
#include "Platform/UI/TextMeasure.h"

namespace lk {

namespace {

const ui::Font kTextFont = ui::Font::system(14);
const ui::Color kRed{0.8, 0, 0, 1};

}  // namespace

CouponInfoCellView::CouponInfoCellView(ui::Rect frame) : CustomCellView(frame) {}

double CouponInfoCellView::textHeight(const Coupon& coupon) {
  if (coupon.content().empty()) return 0;
  return ui::TextMeasure::sizeOfText(coupon.content(), kTextFont, kTextWidth).height;
}

bool CouponInfoCellView::hasButton(const Coupon& coupon) {
  return textHeight(coupon) > kCollapseAbove;
}

double CouponInfoCellView::shownTextHeight(const Coupon& coupon) {
  const double height = textHeight(coupon);
  if (coupon.showAll() || height <= kCollapseAbove) return height;
  return std::min(height, kCollapsedHeight);
}

double CouponInfoCellView::heightOfCell(const Coupon& coupon) {
  const double height = 100 + shownTextHeight(coupon) + 20;
  return textHeight(coupon) <= kCollapseAbove ? height - 10 : height;
}

void CouponInfoCellView::setDataModel(std::shared_ptr<void> record, const std::type_info& type) {
  CustomCellView::setDataModel(std::move(record), type);
  updateButton();
  setNeedsDisplay();
}

void CouponInfoCellView::setButton(std::shared_ptr<ui::Button> button) {
  if (button_ == button) return;
  if (button_) button_->removeFromSuperview();
  button_ = std::move(button);
  if (button_) addSubview(button_);
}

void CouponInfoCellView::updateButton() {
  const auto coupon = dataModel<Coupon>();
  if (!coupon || !hasButton(*coupon)) {
    setButton(nullptr);
    return;
  }
  if (!button_) {
    auto button = std::make_shared<ui::Button>();
    button->setAction([this](ui::Button&) { showAll(); });
    setButton(std::move(button));
  }
  const ui::Image image = ui::Image::named(kButtonImage, {kButtonSize, kButtonSize});
  button_->setImage(coupon->showAll() ? image.flippedUpsideDown() : image);
  const double bottom = kTextTop + shownTextHeight(*coupon);
  button_->setFrame(ui::Rect{265, bottom - 15, kButtonSize, kButtonSize});
}

void CouponInfoCellView::showAll() {
  const auto coupon = dataModel<Coupon>();
  if (!coupon) return;
  coupon->setShowAll(!coupon->showAll());
  updateButton();
  setNeedsDisplay();
  Notification note{kCouponShowAllInfo, std::any(this), {}};
  note.userInfo[kCouponIdKey] = coupon->couponId();
  NotificationCenter::defaultCenter().post(note);
}

void CouponInfoCellView::drawRect(ui::Canvas& canvas, const ui::Rect& /*rect*/) const {
  const auto coupon = dataModel<Coupon>();
  if (!coupon) return;
  const double height = heightOfCell(*coupon);
  // The bottom corners fall below the row, so only the top ones show.
  canvas.fillRect(ui::Rect{0, 0, kWidth, height + 20}, ui::Color::white(), 10);
  canvas.drawText(coupon->topic(), ui::Rect{10, 20, 200, 40}, ui::Font::system(18));
  canvas.drawImage(ui::Image::named(kLogoImage, {100, 85}), ui::Rect{200, -2, 100, 85});
  canvas.drawText("优惠详情:", ui::Rect{10, 70, 220, 20}, ui::Font::system(16),
                  ui::TextAlignment::kLeft, kRed);
  canvas.drawWrappedText(coupon->content(),
                         ui::Rect{10, kTextTop, kTextWidth, shownTextHeight(*coupon)}, kTextFont);
}

}  // namespace lk

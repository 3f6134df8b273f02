#include "Classes/Coupons/CouponListCellView.h"

#include "Classes/Records/Coupon.h"
#include "Classes/Records/CouponList.h"
#include "Classes/Util/Utility.h"
#include "Platform/Log/Log.h"
#include "Platform/UI/TextMeasure.h"

namespace lk {

namespace {

const ui::Color kShopNameColor{0, 0.412, 0.69, 1};
const ui::Color kTagColor = ui::Color::rgb(150, 150, 150);
constexpr ui::Size kStarSize{18, 18};

}  // namespace

CouponListCellView::CouponListCellView(ui::Rect frame) : CustomCellView(frame) {}

void CouponListCellView::setShowCount(bool showCount) {
  if (showCount_ == showCount) return;
  showCount_ = showCount;
  setNeedsDisplay();
}

void CouponListCellView::setDataModel(std::shared_ptr<void> record, const std::type_info& type) {
  CustomCellView::setDataModel(std::move(record), type);
  setNeedsDisplay();
}

double CouponListCellView::heightOfCell(const CouponList& /*coupon*/) {
  return kHeight;
}

std::optional<std::string> CouponListCellView::countText(const CouponList& coupon, bool showCount) {
  if (!showCount) return std::nullopt;
  if (coupon.type() == Coupon::kCoupon) {
    if (coupon.downloadCount() <= 0) return std::nullopt;
    return strprintf("%d人下载", coupon.downloadCount());
  }
  if (coupon.interestingCount() <= 0) return std::nullopt;
  return strprintf("%d人感兴趣", coupon.interestingCount());
}

std::optional<std::string> CouponListCellView::tagText(const std::string& shopTag) {
  if (shopTag.empty()) return std::nullopt;
  std::size_t end = shopTag.size();
  for (const char* separator : {",", " ", "，"}) {
    end = std::min(end, shopTag.find(separator));
  }
  return "[" + shopTag.substr(0, end) + "]";
}

std::string CouponListCellView::typeIconName(int type) {
  return strprintf("coupon_typeicon_%d", type);
}

void CouponListCellView::drawRect(ui::Canvas& canvas, const ui::Rect& /*rect*/) const {
  const auto coupon = dataModel<CouponList>();
  if (!coupon) return;
  canvas.fillRect(ui::Rect{0, 0, kWidth, kHeight},
                  isHighlighted() ? ui::Color::gray(0.85) : ui::Color::white());

  canvas.drawText(coupon->shopName(), ui::Rect{10, 8, 220, 20}, ui::Font::system(18),
                  ui::TextAlignment::kLeft, kShopNameColor);
  if (const auto count = countText(*coupon, showCount_)) {
    canvas.drawText(*count, ui::Rect{230, 8, 80, 20}, ui::Font::system(14),
                    ui::TextAlignment::kRight);
  }

  double x = 10;
  if (const auto tag = tagText(coupon->shopTag())) {
    const ui::Font font = ui::Font::system(16);
    const double width = ui::TextMeasure::widthOfText(*tag, font);
    canvas.drawText(*tag, ui::Rect{x, 33, width, 17}, font, ui::TextAlignment::kLeft, kTagColor);
    x += width + 5;
  }
  Utility::drawStarRate(coupon->shopScore(), ui::Point{x, 33}, kStarSize, canvas);

  canvas.drawImage(ui::Image::named(typeIconName(coupon->type()), {31, 16}),
                   ui::Rect{10, 60, 31, 16});
  canvas.drawText(coupon->topic(), ui::Rect{46, 60, 250, 17}, ui::Font::system(14));

  Utility::drawBreakLine(ui::Rect{0, kHeight - 1, kWidth, 1}, canvas);
}

}  // namespace lk

#include "Classes/Search/SearchResultCellView.h"

#include "Classes/Records/Coupon.h"
#include "Classes/Records/ShopInfo.h"
#include "Classes/Util/Utility.h"
#include "Platform/Log/Log.h"
#include "Platform/UI/TextMeasure.h"

namespace lk {

namespace {

constexpr double kMargin = 10;
constexpr double kContentWidth = SearchResultCellView::kWidth - 2 * kMargin;
constexpr double kDistanceWidth = 80;
const ui::Font kNameFont = ui::Font::boldSystem(16);
const ui::Font kInfoFont = ui::Font::system(13);
const ui::Font kAddressFont = ui::Font::system(13);
constexpr ui::Size kStarSize{12, 12};
constexpr double kLineGap = 4;

}  // namespace

SearchResultCellView::SearchResultCellView(ui::Rect frame) : CustomCellView(frame) {}

void SearchResultCellView::setDataModel(std::shared_ptr<void> record, const std::type_info& type) {
  CustomCellView::setDataModel(std::move(record), type);
  setNeedsDisplay();
}

std::string SearchResultCellView::distanceText(float metres) {
  return strprintf("%.0f米", static_cast<double>(metres));
}

std::string SearchResultCellView::averageText(float average) {
  return strprintf("¥%d", Utility::roundoff(average));
}

double SearchResultCellView::layout(const ShopInfo& shop, bool showDistance, bool highlighted,
                                    ui::Canvas* canvas) {
  if (canvas != nullptr) {
    canvas->fillRect(ui::Rect{0, 0, kWidth, 1000},
                     highlighted ? ui::Color::gray(0.85) : ui::Color::white());
  }
  double y = 8;
  const double nameHeight = ui::TextMeasure::lineHeight(kNameFont);
  const bool distance = showDistance && shop.distance() != 0;
  if (canvas != nullptr) {
    const std::string name = Utility::removeTag("em", shop.strName());
    canvas->drawText(
        name, ui::Rect{kMargin, y, kContentWidth - (distance ? kDistanceWidth : 0), nameHeight},
        kNameFont);
    if (distance) {
      canvas->drawText(distanceText(shop.distance()),
                       ui::Rect{kWidth - kMargin - kDistanceWidth, y, kDistanceWidth, nameHeight},
                       kInfoFont, ui::TextAlignment::kRight, ui::Color::gray(0.4));
    }
  }
  y += nameHeight + kLineGap;

  const double infoHeight = ui::TextMeasure::lineHeight(kInfoFont);
  const auto tag = shop.firstTag();
  const bool hasAverage = shop.fltAverage() != 0;
  if (tag || hasAverage) {
    if (canvas != nullptr) {
      double x = kMargin;
      if (tag) {
        const std::string text = "[" + *tag + "]";
        canvas->drawText(text, ui::Rect{x, y, kContentWidth / 2, infoHeight}, kInfoFont,
                         ui::TextAlignment::kLeft, ui::Color::gray(0.4));
        x += ui::TextMeasure::widthOfText(text, kInfoFont) + 8;
      }
      if (hasAverage) {
        canvas->drawText(averageText(shop.fltAverage()),
                         ui::Rect{x, y, kWidth - kMargin - x, infoHeight}, kInfoFont,
                         ui::TextAlignment::kLeft, ui::Color::rgb(0xCC, 0x33, 0x00));
      }
    }
    y += infoHeight + kLineGap;
  }

  if (canvas != nullptr) {
    Utility::drawStarRate(shop.fltScoreTotal(), ui::Point{kMargin, y + 2}, kStarSize, *canvas);
    if (shop.intCmtCount() > 0) {
      canvas->drawText(strprintf("%d篇点评", shop.intCmtCount()),
                       ui::Rect{kMargin + 5 * kStarSize.width + 10, y, 150, infoHeight}, kInfoFont,
                       ui::TextAlignment::kLeft, ui::Color::gray(0.4));
    }
  }
  y += infoHeight + kLineGap;

  if (!shop.strAddress().empty()) {
    const std::string address = Utility::removeTag("em", shop.strAddress());
    const ui::Rect rect{kMargin, y, kContentWidth, 0};
    const double height =
        canvas != nullptr
            ? canvas->drawWrappedText(address, rect, kAddressFont, ui::TextAlignment::kLeft,
                                      ui::Color::gray(0.35))
            : ui::TextMeasure::sizeOfText(address, kAddressFont, kContentWidth).height;
    y += height + kLineGap;
  }

  if (!shop.arrCouponList().empty()) {
    if (canvas != nullptr) {
      canvas->drawImage(ui::Image::named("icon_coupon", {14, 14}),
                        ui::Rect{kMargin, y + 1, 14, 14});
      canvas->drawText(shop.arrCouponList().front()->topic(),
                       ui::Rect{kMargin + 18, y, kContentWidth - 18, infoHeight}, kInfoFont,
                       ui::TextAlignment::kLeft, ui::Color::rgb(0xE0, 0x60, 0x00));
    }
    y += infoHeight + kLineGap;
  }

  y += 4;
  if (canvas != nullptr) Utility::drawBreakLine(ui::Rect{0, y, kWidth, 1}, *canvas);
  return y + 1;
}

void SearchResultCellView::drawRect(ui::Canvas& canvas, const ui::Rect& /*rect*/) const {
  auto shop = dataModel<ShopInfo>();
  if (!shop) return;
  layout(*shop, showDistance, isHighlighted(), &canvas);
}

double SearchResultCellView::heightOfCell(const ShopInfo& shop, bool showDistance) {
  return layout(shop, showDistance, false, nullptr);
}

}  // namespace lk

#include "Classes/Broadcasts/ShopPickerCellView.h"

#include "Classes/Records/ShopInfo.h"
#include "Classes/Util/Utility.h"
#include "Platform/Log/Log.h"
#include "Platform/UI/Canvas.h"

namespace lk {

namespace {
constexpr double kMargin = 10;
constexpr double kDistanceWidth = 80;
}  // namespace

ShopPickerCellView::ShopPickerCellView(ui::Rect frame) : CustomCellView(frame) {}

void ShopPickerCellView::setDataModel(std::shared_ptr<void> record, const std::type_info& type) {
  CustomCellView::setDataModel(std::move(record), type);
  setNeedsDisplay();
}

std::string ShopPickerCellView::distanceText(float metres) {
  if (metres > kFarDistance) return kFarText;
  return strprintf("%.0f米", static_cast<double>(metres));
}

double ShopPickerCellView::heightOfCell(const ShopInfo& /*shop*/) {
  return kHeight;
}

void ShopPickerCellView::drawRect(ui::Canvas& canvas, const ui::Rect& /*rect*/) const {
  const auto shop = dataModel<ShopInfo>();
  if (!shop) return;
  canvas.fillRect(ui::Rect{0, 0, kWidth, kHeight},
                  isHighlighted() ? ui::Color::gray(0.85) : ui::Color::white());
  const double nameWidth = kWidth - 2 * kMargin - (showDistance ? kDistanceWidth : 0);
  canvas.drawText(shop->strName(), ui::Rect{kMargin, 8, nameWidth, 20}, ui::Font::boldSystem(16));
  if (showDistance) {
    canvas.drawText(distanceText(shop->distance()),
                    ui::Rect{kWidth - kMargin - kDistanceWidth, 8, kDistanceWidth, 20},
                    ui::Font::system(13), ui::TextAlignment::kRight, ui::Color::gray(0.5));
  }
  canvas.drawText(shop->strAddress(), ui::Rect{kMargin, 30, kWidth - 2 * kMargin, 18},
                  ui::Font::system(13), ui::TextAlignment::kLeft, ui::Color::gray(0.5));
  Utility::drawBreakLine(ui::Rect{0, kHeight - 1, kWidth, 1}, canvas);
}

}  // namespace lk

#include "Classes/Shop/ShopInfoRecommendCellView.h"

#include "Classes/Records/ShopInfo.h"
#include "Platform/UI/TextMeasure.h"

namespace lk {

namespace {
const ui::Font kTextFont = ui::Font::system(15);
const ui::Font kLabelFont = ui::Font::boldSystem(15);
}  // namespace

ShopInfoRecommendCellView::ShopInfoRecommendCellView(ui::Rect frame) : CustomCellView(frame) {}

void ShopInfoRecommendCellView::setDataModel(std::shared_ptr<void> record,
                                             const std::type_info& type) {
  CustomCellView::setDataModel(std::move(record), type);
  setNeedsDisplay();
}

double ShopInfoRecommendCellView::heightOfCell(const ShopInfo& shop) {
  const double text =
      ui::TextMeasure::sizeOfText(shop.recommendString().value_or(""), kTextFont, kTextWidth)
          .height;
  return text < 20 ? 50 : text + 30;
}

void ShopInfoRecommendCellView::drawRect(ui::Canvas& canvas, const ui::Rect& /*rect*/) const {
  auto shop = dataModel<ShopInfo>();
  if (!shop) return;
  canvas.drawText(shop->strRecommendName(), ui::Rect{10, 15, 80, 20}, kLabelFont);
  canvas.drawText(":", ui::Rect{92, 15, 8, 20}, kLabelFont);
  canvas.drawWrappedText(shop->recommendString().value_or(""), ui::Rect{100, 15, kTextWidth, 0},
                         kTextFont);
}

}  // namespace lk

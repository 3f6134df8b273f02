#include "Classes/Shop/ShopInfoCouponsCellView.h"

#include "Classes/Records/Coupon.h"
#include "Classes/Records/ShopInfo.h"

namespace lk {

ShopInfoCouponsCellView::ShopInfoCouponsCellView(ui::Rect frame) : CustomCellView(frame) {}

void ShopInfoCouponsCellView::setDataModel(std::shared_ptr<void> record,
                                           const std::type_info& type) {
  CustomCellView::setDataModel(std::move(record), type);
  setNeedsDisplay();
}

double ShopInfoCouponsCellView::heightOfCell(const ShopInfo& shop) {
  const auto count = static_cast<double>(shop.arrCouponList().size());
  return count == 1 ? 50 : 20 * count + 25;
}

void ShopInfoCouponsCellView::drawRect(ui::Canvas& canvas, const ui::Rect& /*rect*/) const {
  auto shop = dataModel<ShopInfo>();
  if (!shop) return;
  const double height = heightOfCell(*shop);
  canvas.drawImage(ui::Image::named("shopinfo_coupon_corner_top", {20, 10}),
                   ui::Rect{4, 2, 20, 10});
  double y = shop->arrCouponList().size() == 1 ? 15 : 12;
  for (const auto& coupon : shop->arrCouponList()) {
    canvas.drawImage(ui::Image::named("shopinfo_coupon_dot", {6, 6}), ui::Rect{16, y + 7, 6, 6});
    canvas.drawText(coupon->topic(), ui::Rect{28, y, 270, 20}, ui::Font::boldSystem(16));
    y += 20;
  }
  canvas.drawImage(ui::Image::named("shopinfo_coupon_corner_bottom", {20, 10}),
                   ui::Rect{296, height - 12, 20, 10});
}

}  // namespace lk

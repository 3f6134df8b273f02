#pragma once

#include "Classes/Toolkit/CustomCellView.h"

namespace lk {

class ShopInfo;

// The shop's coupons, one line each (a dot and the topic) inside decorative corners.
class ShopInfoCouponsCellView : public CustomCellView {
 public:
  explicit ShopInfoCouponsCellView(ui::Rect frame = {0, 0, 320, 50});

  void setDataModel(std::shared_ptr<void> record, const std::type_info& type) override;
  using CustomCellView::setDataModel;
  void drawRect(ui::Canvas& canvas, const ui::Rect& rect) const override;

  // 50 for one coupon, otherwise 20 a coupon and 25.
  [[nodiscard]] static double heightOfCell(const ShopInfo& shop);
};

}  // namespace lk

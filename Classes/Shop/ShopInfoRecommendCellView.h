#pragma once

#include "Classes/Toolkit/CustomCellView.h"

namespace lk {

class ShopInfo;

// The recommendations line: its label, ":" and the recommended items wrapped to 205 points.
class ShopInfoRecommendCellView : public CustomCellView {
 public:
  static constexpr double kTextWidth = 205;

  explicit ShopInfoRecommendCellView(ui::Rect frame = {0, 0, 320, 50});

  void setDataModel(std::shared_ptr<void> record, const std::type_info& type) override;
  using CustomCellView::setDataModel;
  void drawRect(ui::Canvas& canvas, const ui::Rect& rect) const override;

  // 50 while the wrapped text is under 20 points high, else its height and 30.
  [[nodiscard]] static double heightOfCell(const ShopInfo& shop);
};

}  // namespace lk

#pragma once

#include <memory>
#include <string>

#include "Classes/Toolkit/CustomCellView.h"

namespace lk {

class ShopInfo;

// One shop of a result list: name, distance (when the search had a place), first tag and
// average spend, stars, review count, the wrapped address and the first coupon.
class SearchResultCellView : public CustomCellView {
 public:
  static constexpr double kWidth = 320;

  explicit SearchResultCellView(ui::Rect frame = {0, 0, kWidth, 80});

  // Rows show the distance from the searched place.
  bool showDistance = false;

  void setDataModel(std::shared_ptr<void> record, const std::type_info& type) override;
  using CustomCellView::setDataModel;
  void drawRect(ui::Canvas& canvas, const ui::Rect& rect) const override;

  // The row height for `shop`: it grows with the tag/average line, the wrapped address and the
  // coupon line.
  [[nodiscard]] static double heightOfCell(const ShopInfo& shop, bool showDistance);

  // The texts a row shows, in drawing order (the stars are a picture).
  [[nodiscard]] static std::string distanceText(float metres);
  [[nodiscard]] static std::string averageText(float average);

 private:
  // Lays the row out, drawing into `canvas` when there is one; returns the height used.
  static double layout(const ShopInfo& shop, bool showDistance, bool highlighted,
                       ui::Canvas* canvas);
};

}  // namespace lk

#pragma once

#include <memory>
#include <optional>
#include <string>

#include "Classes/Toolkit/CustomCellView.h"

namespace lk {

class CouponList;

// One offer of a coupon list: the shop's name and the offer's counter, the shop's first tag
// word and stars, the kind icon and the offer's topic.
class CouponListCellView : public CustomCellView {
 public:
  static constexpr double kWidth = 320;
  static constexpr double kHeight = 85;

  explicit CouponListCellView(ui::Rect frame = {0, 0, kWidth, kHeight});

  // The counter shows only in the hottest order.
  [[nodiscard]] bool showCount() const { return showCount_; }
  void setShowCount(bool showCount);

  void setDataModel(std::shared_ptr<void> record, const std::type_info& type) override;
  using CustomCellView::setDataModel;
  void drawRect(ui::Canvas& canvas, const ui::Rect& rect) const override;

  [[nodiscard]] static double heightOfCell(const CouponList& coupon);

  // "%d人下载" for a coupon, "%d人感兴趣" for the other kinds; nothing when counters are off or
  // the count is not above 0.
  [[nodiscard]] static std::optional<std::string> countText(const CouponList& coupon,
                                                            bool showCount);
  // The tag's first word (before the first comma or space) as "[word]"; nothing for no tag.
  [[nodiscard]] static std::optional<std::string> tagText(const std::string& shopTag);
  // The kind's icon, "coupon_typeicon_%d".
  [[nodiscard]] static std::string typeIconName(int type);

 private:
  bool showCount_ = false;
};

}  // namespace lk

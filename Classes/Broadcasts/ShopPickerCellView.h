#pragma once

#include <memory>
#include <string>

#include "Classes/Toolkit/CustomCellView.h"

namespace lk {

class ShopInfo;

// A shop of the shop picker: its name, in nearby mode its distance at the right, and its address
// in grey below.
class ShopPickerCellView : public CustomCellView {
 public:
  static constexpr double kWidth = 320;
  static constexpr double kHeight = 56;
  static constexpr float kFarDistance = 3000;
  static constexpr const char* kFarText = "3000米外";

  explicit ShopPickerCellView(ui::Rect frame = {0, 0, kWidth, kHeight});

  bool showDistance = false;

  void setDataModel(std::shared_ptr<void> record, const std::type_info& type) override;
  using CustomCellView::setDataModel;
  void drawRect(ui::Canvas& canvas, const ui::Rect& rect) const override;

  // "3000米外" beyond 3000 metres, else the metres rounded ("%.0f米").
  [[nodiscard]] static std::string distanceText(float metres);
  [[nodiscard]] static double heightOfCell(const ShopInfo& shop);
};

}  // namespace lk

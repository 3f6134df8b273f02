#pragma once

#include <memory>
#include <vector>

#include "Classes/Records/Subscription.h"
#include "Classes/Toolkit/CustomCellView.h"
#include "Platform/UI/Button.h"

namespace lk {

class ShopInfo;

// The shop's latest broadcast ("现场播报") and latest review ("点评"), each under a button that
// opens its list. Redraws when the author pictures arrive.
class ShopInfoCommentCellView : public CustomCellView {
 public:
  explicit ShopInfoCommentCellView(ui::Rect frame = {0, 0, 320, 120});

  void setDataModel(std::shared_ptr<void> record, const std::type_info& type) override;
  using CustomCellView::setDataModel;
  void drawRect(ui::Canvas& canvas, const ui::Rect& rect) const override;

  [[nodiscard]] static double heightOfCell(const ShopInfo& shop);

 private:
  struct Layout;
  [[nodiscard]] static Layout measure(const ShopInfo& shop);
  void rebuildButtons();

  std::shared_ptr<ShopInfo> shop_;
  std::vector<Subscription> subscriptions_;
  std::vector<std::shared_ptr<ui::Button>> buttons_;
};

}  // namespace lk

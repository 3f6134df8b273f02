#pragma once

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Classes/Records/Subscription.h"
#include "Classes/Toolkit/CustomCellView.h"
#include "Platform/UI/Button.h"

namespace lk {

class ShopInfo;

// The main block of the shop screen: name, picture, stars and price, the score breakdown, the
// count strip (reviews, broadcasts, pictures), the status badge, the telephones and the address,
// and the row that opens the more-information popup. Buttons over the drawing post the shop
// screen's notifications. Redraws when the shop's picture arrives or its picture count changes.
class ShopInfoCellView : public CustomCellView {
 public:
  static constexpr double kWidth = 320;
  static constexpr double kAddressWidth = 175;
  // The shop states that show a badge ("shopinfo_status_<state>").
  static constexpr std::array<int, 2> kBadgeStatuses{3, 9};

  explicit ShopInfoCellView(ui::Rect frame = {0, 0, kWidth, 200});

  void setDataModel(std::shared_ptr<void> record, const std::type_info& type) override;
  using CustomCellView::setDataModel;
  void drawRect(ui::Canvas& canvas, const ui::Rect& rect) const override;
  void observeValueForKeyPath(const std::string& keyPath) override;

  [[nodiscard]] static double heightOfCell(const ShopInfo& shop);

  // "%d", or "999+" above 999.
  [[nodiscard]] static std::string countText(int count);
  // The count's point size by the length of its text: 30, 25, 22, 20.
  [[nodiscard]] static double countFontSize(const std::string& text);
  // The telephones a row shows: the decoded pieces that are not empty.
  [[nodiscard]] static std::vector<std::string> shownTelephones(const ShopInfo& shop);

  [[nodiscard]] const std::vector<std::shared_ptr<ui::Button>>& buttons() const { return buttons_; }

 private:
  struct Layout;
  [[nodiscard]] static Layout measure(const ShopInfo& shop);
  // Removes the buttons of the last layout and adds those of the current one.
  void rebuildButtons();

  std::shared_ptr<ShopInfo> shop_;
  Subscription imageSubscription_;
  Subscription countSubscription_;
  std::vector<std::shared_ptr<ui::Button>> buttons_;
};

}  // namespace lk

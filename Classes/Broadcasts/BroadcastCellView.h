#pragma once

#include <memory>
#include <string>
#include <vector>

#include "Classes/Records/Subscription.h"
#include "Classes/Toolkit/CustomCellView.h"
#include "Platform/UI/Button.h"

namespace lk {

class Broadcast;

// One broadcast of a list: the author's picture and name, "@shop" when shown, the age, the text
// and, once it has arrived, the photo. The row redraws when either picture arrives.
class BroadcastCellView : public CustomCellView {
 public:
  static constexpr double kWidth = 320;
  static constexpr double kTextLeft = 65;
  static constexpr double kTextWidth = 245;
  static constexpr ui::Size kAvatarSize{45, 45};
  static constexpr ui::Size kPhotoSize{110, 130};

  explicit BroadcastCellView(ui::Rect frame = {0, 0, kWidth, 80});

  [[nodiscard]] bool showShopName() const { return showShopName_; }
  void setShowShopName(bool show);

  void setDataModel(std::shared_ptr<void> record, const std::type_info& type) override;
  using CustomCellView::setDataModel;
  void drawRect(ui::Canvas& canvas, const ui::Rect& rect) const override;

  [[nodiscard]] static double heightOfCell(const Broadcast& broadcast);
  // Where the photo lies in a row, once it has arrived.
  [[nodiscard]] static ui::Rect photoFrame(const Broadcast& broadcast);

  [[nodiscard]] const std::shared_ptr<ui::Button>& shopButton() const { return shopButton_; }
  [[nodiscard]] const std::shared_ptr<ui::Button>& photoButton() const { return photoButton_; }

 private:
  void layoutButtons();

  bool showShopName_ = false;
  std::shared_ptr<Broadcast> broadcast_;
  std::vector<Subscription> subscriptions_;
  std::shared_ptr<ui::Button> shopButton_;
  std::shared_ptr<ui::Button> photoButton_;
};

}  // namespace lk

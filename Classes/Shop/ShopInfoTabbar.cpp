#include "Classes/Shop/ShopInfoTabbar.h"

#include "Platform/UI/ImageView.h"

namespace lk {

ShopInfoTabbar::ShopInfoTabbar() : ui::View(ui::Rect{0, 428, 320, 52}) {
  auto background = std::make_shared<ui::ImageView>(ui::Rect{0, 0, 320, 52});
  background->setImage(ui::Image::named("shopinfo_tabbar_background", {320, 52}));
  background->isDecorative = true;
  addSubview(background);
  for (int i = 0; i < 3; ++i) {
    auto button = std::make_shared<ui::Button>(ui::Rect{10.0 + 105 * i, 4, 90, 44});
    button->setImage(ui::Image::named(kButtonImages[i], {90, 44}));
    button->setAction([this, i](ui::Button&) {
      if (delegate_ == nullptr) return;
      if (i == 0) delegate_->button1Clicked();
      if (i == 1) delegate_->button2Clicked();
      if (i == 2) delegate_->button3Clicked();
    });
    buttons_[static_cast<std::size_t>(i)] = button;
    addSubview(button);
  }
}

}  // namespace lk

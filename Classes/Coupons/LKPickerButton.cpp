#include "Classes/Coupons/LKPickerButton.h"

namespace lk {

ui::Color LKPickerButton::normalColor() {
  return ui::Color::rgb(150, 150, 150);
}

LKPickerButton::LKPickerButton(ui::Rect frame, std::string title) : ui::Button(frame) {
  setBackgroundImage(ui::Image::named("coupon_picker_button", {kWidth, kHeight}));
  label_ = std::make_shared<ui::Label>(ui::Rect{10, 10, 100, 15});
  label_->setFont(ui::Font::system(14));
  label_->setTextColor(normalColor());
  // The button's dump line shows the title already.
  label_->isDecorative = true;
  addSubview(label_);
  setTitle(title);
  // A tap as the toolkit delivers it is a touch down followed by a lift inside.
  setAction([this](ui::Button&) {
    touchDown();
    touchUp(true);
  });
}

void LKPickerButton::setTitle(const std::string& title) {
  // The button's own title is what taps and the screen dump find; the label draws it.
  ui::Button::setTitle(title);
  label_->setText(title);
}

void LKPickerButton::setDelegateAndClickAction(std::function<void()> action) {
  click_ = std::move(action);
}

void LKPickerButton::touchDown() {
  label_->setTextColor(ui::Color::white());
}

void LKPickerButton::touchUp(bool inside) {
  label_->setTextColor(normalColor());
  if (inside && click_) click_();
}

void LKPickerButton::touchCancelled() {
  label_->setTextColor(normalColor());
}

}  // namespace lk

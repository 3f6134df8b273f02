#include "Classes/Shop/ShopInfoPopupView.h"

#include "Classes/Json/JsonValue.h"
#include "Classes/Records/ShopInfo.h"
#include "Platform/UI/Application.h"
#include "Platform/UI/ImageView.h"
#include "Platform/UI/ViewAnimator.h"
#include "Platform/UI/Window.h"

namespace lk {

ShopInfoPopupView::ShopInfoPopupView(const ShopInfo& shop) : ui::View(ui::Rect{0, 0, 320, 480}) {
  setBackgroundColor(ui::Color::gray(0, 0.6));
  auto background = std::make_shared<ui::ImageView>(ui::Rect{20, 80, 280, 300});
  background->setImage(ui::Image::named("shopinfo_popup_background", {280, 300}));
  background->isDecorative = true;
  addSubview(background);
  textView_ = std::make_shared<ui::TextView>(ui::Rect{35, 100, 250, 260});
  textView_->setText(extraContent(shop));
  textView_->setFont(ui::Font::boldSystem(15));
  textView_->setTextColor(ui::Color::white());
  textView_->setEnabled(false);
  addSubview(textView_);
  closeButton_ = std::make_shared<ui::Button>(ui::Rect{270, 70, 40, 40});
  closeButton_->setImage(ui::Image::named("shopinfo_popup_close", {40, 40}));
  closeButton_->setAction([this](ui::Button&) { hide(); });
  addSubview(closeButton_);
  setTapHandler([](ui::View& view) { static_cast<ShopInfoPopupView&>(view).hide(); });
}

std::string ShopInfoPopupView::extraContent(const ShopInfo& shop) {
  std::string text;
  const auto paragraph = [&text](const std::string& part) {
    if (!text.empty()) text += "\n\n";
    text += part;
  };
  if (!shop.strHours().empty()) paragraph("营业时间: " + shop.strHours());
  if (shop.arrSpecialList().is_array() && !shop.arrSpecialList().get_array().empty()) {
    std::string services;
    for (const auto& entry : shop.arrSpecialList().get_array()) {
      services += json::toString(entry).value_or("") + ", ";
    }
    services.resize(services.size() - 2);
    paragraph("特色服务: " + services);
  }
  if (!shop.strBusInfo().empty()) paragraph("交通信息: " + shop.strBusInfo());
  return text;
}

void ShopInfoPopupView::show() {
  ui::Window* window = ui::Application::shared().keyWindow();
  if (window == nullptr) return;
  setAlpha(0);
  window->addSubview(shared_from_this());
  ui::ViewAnimator::animate(shared_from_this(), kFadeSeconds, {.alpha = 1.0}, {},
                            ui::Animation::Curve::kEaseInOut, "popup", kFadeSeconds);
}

void ShopInfoPopupView::hide() {
  std::weak_ptr<ui::View> weak = weak_from_this();
  ui::ViewAnimator::animate(
      shared_from_this(), kFadeSeconds, {.alpha = 0.0},
      [weak](bool) {
        if (auto self = weak.lock()) self->removeFromSuperview();
      },
      ui::Animation::Curve::kEaseInOut, "popup", kFadeSeconds);
}

}  // namespace lk

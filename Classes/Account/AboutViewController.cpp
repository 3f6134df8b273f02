#include "Classes/Account/AboutViewController.h"

#include "Platform/Log/Log.h"
#include "Platform/UI/Application.h"
#include "Platform/UI/Button.h"
#include "Platform/UI/Image.h"
#include "Platform/UI/ImageView.h"
#include "Platform/UI/Label.h"

namespace lk {

AboutViewController::AboutViewController() {
  setTitle(kTitle);
}

void AboutViewController::loadView() {
  LKNavigationController::loadView();
  auto background = std::make_shared<ui::ImageView>(ui::Rect{0, 0, 320, 416},
                                                    ui::Image::named(kBackground, {320, 416}));
  background->isDecorative = true;
  addSubview(background);

  websiteLabel_ = std::make_shared<ui::Label>(ui::Rect{80, 191, 200, 20}, kWebsite);
  websiteLabel_->setFont(ui::Font::system(18));
  websiteLabel_->setTextColor(ui::Color::rgb(0, 102, 204));
  addSubview(websiteLabel_);
  // Invisible, over the address: the address reads as a link.
  websiteButton_ = std::make_shared<ui::Button>(ui::Rect{80, 191, 200, 20});
  websiteButton_->setAccessibilityLabel(kWebsite);
  websiteButton_->setAction([this](ui::Button&) { accessWebsite(); });
  addSubview(websiteButton_);

  versionLabel_ = std::make_shared<ui::Label>(ui::Rect{80, 232, 200, 20}, kVersion);
  versionLabel_->setFont(ui::Font::system(18));
  addSubview(versionLabel_);
}

void AboutViewController::accessWebsite() {
  (void)ui::Application::shared().openURL(strprintf("http://%s", kWebsite));
}

}  // namespace lk

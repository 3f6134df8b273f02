#include "Classes/Account/HelpViewController.h"

#include "Platform/UI/Image.h"
#include "Platform/UI/ImageView.h"
#include "Platform/UI/NavigationController.h"

namespace lk {

HelpViewController::HelpViewController() {
  setTitle(kTitle);
}

std::shared_ptr<ui::ViewController> HelpViewController::inNavigationStack() {
  return std::make_shared<ui::NavigationController>(std::make_shared<HelpViewController>());
}

void HelpViewController::loadView() {
  LKNavigationController::loadView();
  navigationItem().leftBarButtonItem =
      buttonItemWithTitle(kBackTitle, &HelpViewController::back, this);
  picture_ = std::make_shared<ui::ImageView>(ui::Rect{0, 0, 320, 416},
                                             ui::Image::named(kPicture, {320, 416}));
  addSubview(picture_);
}

void HelpViewController::back() {
  // The presentation this screen belongs to goes; the toolkit releases it on a later turn.
  dismissModalViewController(true);
}

}  // namespace lk

#include "Classes/Toolkit/LKNavigationController.h"

#include <algorithm>

#include "Platform/RunLoop/RunLoop.h"
#include "Platform/UI/Button.h"
#include "Platform/UI/NavigationController.h"
#include "Platform/UI/TextMeasure.h"

namespace lk {

namespace {
std::shared_ptr<ui::Button> barButton(const std::string& title, std::function<void()> action) {
  double width = LKNavigationController::buttonWidthForTitle(title);
  auto button = std::make_shared<ui::Button>(
      ui::Rect{0, 0, width, LKNavigationController::kButtonHeight}, title);
  bool isShort = width == LKNavigationController::kShortButtonWidth;
  button->setBackgroundImage(
      ui::Image::named(isShort ? "navbar_button_short" : "navbar_button_long",
                       ui::Size{width, LKNavigationController::kButtonHeight}));
  button->setFont(ui::Font::boldSystem(12));
  button->setAction([action = std::move(action)](ui::Button&) {
    if (action) action();
  });
  return button;
}
}  // namespace

LKNavigationController::LKNavigationController() = default;

double LKNavigationController::buttonWidthForTitle(const std::string& title) {
  return ui::TextMeasure::utf16Length(title) < 3 ? kShortButtonWidth : kLongButtonWidth;
}

std::string LKNavigationController::navigationBarBackgroundForTag(int tag) {
  return tag != 0 ? "navbar_bg_translucent" : "navbar_bg";
}

std::shared_ptr<ui::BarButtonItem> LKNavigationController::buttonItemWithTitle(
    const std::string& title, std::function<void()> action) {
  return ui::BarButtonItem::withCustomView(barButton(title, std::move(action)));
}

void LKNavigationController::loadView() {
  auto view =
      std::make_shared<ui::ImageView>(ui::Rect{0, 0, 320, 416}, ui::Image::named("background"));
  view->isDecorative = true;
  view->setUserInteractionEnabled(true);
  setView(view);
  ui::NavigationController* nav = navigationController();
  // The root never gets a back button, even when its view is rebuilt under pushed screens.
  if (nav != nullptr && nav->viewControllers().size() > 1 &&
      nav->viewControllers().front().get() != this) {
    setBackTitle(defaultBackTitle());
  }
  navShadow_ = std::make_shared<ui::ImageView>(
      ui::Rect{0, 0, 320, 5},
      ui::Image::named(shadowType == 0 ? "navbar_shadow" : "searchbar_shadow"));
  navShadow_->isDecorative = true;
  view->addSubview(navShadow_);
}

void LKNavigationController::viewDidUnload() {
  navShadow_.reset();
}

void LKNavigationController::viewDidAppear(bool /*animated*/) {
  isShowing_ = true;
}

void LKNavigationController::viewWillDisappear(bool /*animated*/) {
  isShowing_ = false;
}

std::string LKNavigationController::defaultBackTitle() const {
  ui::NavigationController* nav = navigationController();
  if (nav == nullptr) return kDefaultBackTitle;
  const auto& stack = nav->viewControllers();
  if (stack.size() < 2) return kDefaultBackTitle;
  auto self =
      std::find_if(stack.begin(), stack.end(), [this](const auto& vc) { return vc.get() == this; });
  // Not (yet) in the stack: it is about to be pushed on top.
  const ui::ViewController* below = self == stack.end()
                                        ? stack.back().get()
                                        : (self == stack.begin() ? nullptr : (self - 1)->get());
  if (below == nullptr || below->title().empty()) return kDefaultBackTitle;
  return below->title();
}

void LKNavigationController::setBackTitle(const std::string& title) {
  navigationItem().leftBarButtonItem =
      ui::BarButtonItem::withCustomView(barButton(title, [this] { back(); }));
}

void LKNavigationController::back() {
  ui::NavigationController* nav = navigationController();
  if (nav == nullptr) return;
  // This screen is what leaves: it is released on a later turn, not inside its own call.
  if (auto popped = nav->popViewController(true)) RunLoop::main().post([popped] {});
}

void LKNavigationController::addSubview(const std::shared_ptr<ui::View>& v) {
  view()->addSubview(v);
  if (navShadow_) view()->bringSubviewToFront(navShadow_.get());
}

}  // namespace lk

#include "Classes/Toolkit/LKLoadingView.h"

#include <vector>

#include "Platform/UI/Application.h"
#include "Platform/UI/ViewAnimator.h"
#include "Platform/UI/Window.h"

namespace lk {

namespace {

void finishHiding(const std::shared_ptr<ui::View>& box) {
  box->setAlpha(0);
  box->setScale(0.7);
  box->removeAllAnimations();
  box->removeFromSuperview();
}
}  // namespace

LKLoadingView::LKLoadingView(std::shared_ptr<ui::View> container, const std::string& loadingText)
    : container_(std::move(container)) {
  loading_ = std::make_shared<ui::ImageView>(ui::Rect{0, 0, kBoxSize, kBoxSize},
                                             ui::Image::named("loading_bg"));
  spinner_ = std::make_shared<ui::ImageView>(ui::Rect{45, 47, 70, 65});
  std::vector<ui::Image> frames;
  for (int i = 1; i <= kSpinnerFrames; ++i) {
    frames.push_back(ui::Image::named("loading_load" + std::to_string(i)));
  }
  spinner_->setAnimationImages(std::move(frames));
  spinner_->setAnimationDuration(1.0);
  loading_->addSubview(spinner_);
  promtLabel_ = std::make_shared<ui::Label>(ui::Rect{20, 120, 140, 20}, loadingText);
  promtLabel_->setTextAlignment(ui::TextAlignment::kCenter);
  promtLabel_->setFont(ui::Font::boldSystem(16));
  promtLabel_->setTextColor(ui::Color::white());
  loading_->addSubview(promtLabel_);
}

void LKLoadingView::show() {
  spinner_->startAnimating();
  ui::View* host = container_.get();
  double startScale = 1.2, seconds = 0.2;
  if (host == nullptr) {
    const auto& windows = ui::Application::shared().windows();
    if (windows.empty()) return;
    host = windows.front();
    startScale = 1.5;
    seconds = 0.1;
  }
  loading_->setFrame(ui::Rect{(host->frame().width() - kBoxSize) / 2,
                              (host->frame().height() - kBoxSize) / 2, kBoxSize, kBoxSize});
  host->addSubview(loading_);
  host->bringSubviewToFront(loading_.get());
  loading_->setScale(startScale);
  ui::ViewAnimator::animate(loading_, seconds, {.scale = 1.0}, {}, ui::Animation::Curve::kEaseInOut,
                            "showLoading");
}

void LKLoadingView::hideWithStatus(bool success, const std::string& text) {
  spinner_->stopAnimating();
  promtLabel_->setText(text);
  // The outcome shows for a moment only.
  ui::Application::shared().announce(text);
  auto icon = std::make_shared<ui::ImageView>(
      ui::Rect{(kBoxSize - 70) / 2, 47, 70, 65},
      ui::Image::named(success ? "loading_success" : "loading_failed"));
  loading_->addSubview(icon);
  // The box, not this object, carries the fade: the owner may let go of us at once.
  // Held weakly: the view tree keeps the box, and a box that left it has nothing to finish.
  std::weak_ptr<ui::View> box = loading_;
  ui::ViewAnimator::animate(
      loading_, 0.2, {.alpha = 0.0, .scale = 0.7},
      [box](bool finished) {
        if (auto b = box.lock(); b && finished) finishHiding(b);
      },
      ui::Animation::Curve::kEaseIn, "loading", 0.5);
}

void LKLoadingView::animationDidStop(bool finished) {
  if (finished) finishHiding(loading_);
}

}  // namespace lk

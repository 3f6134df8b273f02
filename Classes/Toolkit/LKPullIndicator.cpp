#include "Classes/Toolkit/LKPullIndicator.h"

#include <numbers>

#include "Classes/Toolkit/LKPullState.h"
#include "Platform/UI/ViewAnimator.h"

namespace lk {

namespace {
constexpr double kFlipSeconds = 0.18;
}  // namespace

LKPullIndicator::LKPullIndicator(ui::View& host, ui::Rect statusFrame, ui::Image arrow,
                                 ui::Rect arrowFrame, ui::Rect activityFrame)
    : statusLabel_(grayLabel(statusFrame, ui::Font::boldSystem(13))),
      arrowImage_(std::make_shared<ui::ImageView>(arrowFrame, std::move(arrow))),
      activityView_(std::make_shared<ui::ActivityIndicatorView>(activityFrame)) {
  host.addSubview(statusLabel_);
  host.addSubview(arrowImage_);
  host.addSubview(activityView_);
}

std::shared_ptr<ui::Label> LKPullIndicator::grayLabel(ui::Rect frame, ui::Font font) {
  auto label = std::make_shared<ui::Label>(frame);
  label->autoresizesWidth = true;
  label->setFont(std::move(font));
  label->setTextColor(ui::Color::gray(0.42));
  label->setShadowColor(ui::Color::gray(0.9));
  label->setShadowOffset({0, 1});
  label->setTextAlignment(ui::TextAlignment::kCenter);
  return label;
}

bool LKPullIndicator::show(int state, int previous, const std::string& normalText,
                           const std::string& releaseText, const std::string& loadingText) {
  switch (state) {
    case kLKPullPulling:
      statusLabel_->setText(releaseText);
      ui::ViewAnimator::animate(arrowImage_, kFlipSeconds, {.rotation = std::numbers::pi}, {},
                                ui::Animation::Curve::kLinear, "arrow");
      return true;
    case kLKPullNormal:
      if (previous == kLKPullPulling) {
        ui::ViewAnimator::animate(arrowImage_, kFlipSeconds, {.rotation = 0.0}, {},
                                  ui::Animation::Curve::kLinear, "arrow");
      }
      statusLabel_->setText(normalText);
      activityView_->stopAnimating();
      // Shown and unturned at once, whatever the turn-back animation is doing.
      arrowImage_->removeAllAnimations();
      arrowImage_->setHidden(false);
      arrowImage_->setRotation(0);
      return true;
    case kLKPullLoading:
      statusLabel_->setText(loadingText);
      activityView_->startAnimating();
      arrowImage_->setHidden(true);
      return true;
    default:
      return false;
  }
}

int LKPullIndicator::draggedState(int state, double distance, double triggerDistance,
                                  bool loading) {
  if (loading) return state;
  if (state == kLKPullPulling && distance > 0 && distance < triggerDistance) return kLKPullNormal;
  if (state == kLKPullNormal && distance > triggerDistance) return kLKPullPulling;
  return state;
}

}  // namespace lk

#include "Classes/Toolkit/LKRefreshTableFooterView.h"

#include <algorithm>
#include <numbers>

#include "Platform/UI/ViewAnimator.h"

namespace lk {

namespace {
constexpr double kFlipSeconds = 0.18;
constexpr double kInsetInSeconds = 0.2;
constexpr double kInsetOutSeconds = 0.3;
}  // namespace

LKRefreshTableFooterView::LKRefreshTableFooterView(ui::Rect frame) : ui::View(frame) {
  autoresizesWidth = true;
  statusLabel_ = std::make_shared<ui::Label>(ui::Rect{0, 20, frame.width(), 20});
  statusLabel_->autoresizesWidth = true;
  statusLabel_->setFont(ui::Font::boldSystem(13));
  statusLabel_->setTextColor(ui::Color::gray(0.42));
  statusLabel_->setShadowColor(ui::Color::gray(0.9));
  statusLabel_->setShadowOffset({0, 1});
  statusLabel_->setTextAlignment(ui::TextAlignment::kCenter);
  addSubview(statusLabel_);
  // The arrow points up: the downward gray arrow, turned upside down.
  arrowImage_ = std::make_shared<ui::ImageView>(ui::Rect{25, 10, 30, 55},
                                                ui::Image::named("grayArrow").flippedUpsideDown());
  addSubview(arrowImage_);
  activityView_ = std::make_shared<ui::ActivityIndicatorView>(ui::Rect{25, 18, 20, 20});
  addSubview(activityView_);
  setState(kLKPullNormal);
}

bool LKRefreshTableFooterView::isDelegateLoading() {
  return delegate != nullptr && delegate->refreshTableFooterDataSourceIsLoading(*this);
}

void LKRefreshTableFooterView::refreshLastUpdatedDate() {
  // The footer has no last-updated line; the question is still asked, as the header does.
  if (delegate != nullptr) (void)delegate->refreshTableFooterDataSourceLastUpdated(*this);
}

void LKRefreshTableFooterView::setState(int state) {
  switch (state) {
    case kLKPullPulling:
      statusLabel_->setText(releaseText);
      ui::ViewAnimator::animate(arrowImage_, kFlipSeconds, {.rotation = std::numbers::pi}, {},
                                ui::Animation::Curve::kLinear, "arrow");
      break;
    case kLKPullNormal:
      if (state_ == kLKPullPulling) {
        ui::ViewAnimator::animate(arrowImage_, kFlipSeconds, {.rotation = 0.0}, {},
                                  ui::Animation::Curve::kLinear, "arrow");
      }
      statusLabel_->setText(upText);
      activityView_->stopAnimating();
      // Shown and unturned at once, whatever the turn-back animation is doing.
      arrowImage_->removeAllAnimations();
      arrowImage_->setHidden(false);
      arrowImage_->setRotation(0);
      break;
    case kLKPullLoading:
      statusLabel_->setText(loadingText);
      activityView_->startAnimating();
      arrowImage_->setHidden(true);
      break;
    default:
      return;
  }
  state_ = state;
}

void LKRefreshTableFooterView::refreshScrollViewDidScroll(ui::ScrollView& sv) {
  double d = sv.pullUpDistance();
  if (state_ == kLKPullLoading) {
    sv.setContentInset(ui::EdgeInsets{0, 0, std::clamp(d, 0.0, kLoadingInset), 0});
    return;
  }
  if (!sv.isDragging()) return;
  bool loading = isDelegateLoading();
  if (state_ == kLKPullPulling && d > 0 && d < kTriggerDistance && !loading) {
    setState(kLKPullNormal);
  } else if (state_ == kLKPullNormal && d > kTriggerDistance && !loading) {
    setState(kLKPullPulling);
  }
  if (sv.contentInset().bottom != 0) sv.setContentInset(ui::EdgeInsets{});
}

void LKRefreshTableFooterView::refreshScrollViewDidEndDragging(ui::ScrollView& sv) {
  if (sv.pullUpDistance() < kTriggerDistance || isDelegateLoading()) return;
  auto keep = weak_from_this().lock();  // the delegate may rebuild its list
  if (delegate != nullptr) delegate->refreshTableFooterDidTriggerRefresh(*this);
  setState(kLKPullLoading);
  sv.animateContentInset(ui::EdgeInsets{0, 0, kLoadingInset, 0}, kInsetInSeconds);
}

void LKRefreshTableFooterView::refreshScrollViewDataSourceDidFinishedLoading(ui::ScrollView& sv) {
  sv.animateContentInset(ui::EdgeInsets{}, kInsetOutSeconds);
  setState(kLKPullNormal);
}

}  // namespace lk

#include "Classes/Toolkit/LKRefreshTableHeaderView.h"

#include <time.h>

#include <algorithm>
#include <cstdio>
#include <numbers>

#include "Platform/Storage/UserDefaults.h"
#include "Platform/UI/ViewAnimator.h"

namespace lk {

namespace {
constexpr double kFlipSeconds = 0.18;
constexpr double kInsetInSeconds = 0.2;
constexpr double kInsetOutSeconds = 0.3;

std::shared_ptr<ui::Label> grayLabel(ui::Rect frame, ui::Font font) {
  auto label = std::make_shared<ui::Label>(frame);
  label->autoresizesWidth = true;
  label->setFont(std::move(font));
  label->setTextColor(ui::Color::gray(0.42));
  label->setShadowColor(ui::Color::gray(0.9));
  label->setShadowOffset({0, 1});
  label->setTextAlignment(ui::TextAlignment::kCenter);
  return label;
}
}  // namespace

LKRefreshTableHeaderView::LKRefreshTableHeaderView(ui::Rect frame) : ui::View(frame) {
  autoresizesWidth = true;
  double h = frame.height();
  lastUpdatedLabel_ = grayLabel(ui::Rect{0, h - 30, frame.width(), 20}, ui::Font::system(12));
  addSubview(lastUpdatedLabel_);
  statusLabel_ = grayLabel(ui::Rect{0, h - 48, frame.width(), 20}, ui::Font::boldSystem(13));
  addSubview(statusLabel_);
  arrowImage_ =
      std::make_shared<ui::ImageView>(ui::Rect{25, h - 65, 30, 55}, ui::Image::named("grayArrow"));
  addSubview(arrowImage_);
  activityView_ = std::make_shared<ui::ActivityIndicatorView>(ui::Rect{25, h - 38, 20, 20});
  addSubview(activityView_);
  setState(kLKPullNormal);
}

bool LKRefreshTableHeaderView::isDelegateLoading() {
  return delegate != nullptr && delegate->refreshTableHeaderDataSourceIsLoading(*this);
}

std::string LKRefreshTableHeaderView::formatDate(std::chrono::system_clock::time_point when) {
  std::time_t t = std::chrono::system_clock::to_time_t(when);
  std::tm local{};
  localtime_r(&t, &local);
  int hour12 = local.tm_hour % 12 == 0 ? 12 : local.tm_hour % 12;
  char buf[40];
  std::snprintf(buf, sizeof buf, "%02d/%02d/%04d %02d:%02d:%s", local.tm_mon + 1, local.tm_mday,
                local.tm_year + 1900, hour12, local.tm_min, local.tm_hour < 12 ? "AM" : "PM");
  return buf;
}

void LKRefreshTableHeaderView::refreshLastUpdatedDate() {
  std::optional<std::chrono::system_clock::time_point> date;
  if (delegate != nullptr) date = delegate->refreshTableHeaderDataSourceLastUpdated(*this);
  if (!date) {
    lastUpdatedLabel_->setText({});
    return;
  }
  std::string line = "Last Updated: " + formatDate(*date);
  lastUpdatedLabel_->setText(line);
  UserDefaults::standardUserDefaults().setString(kLastRefreshKey, line);
}

void LKRefreshTableHeaderView::setState(int state) {
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
      statusLabel_->setText(downText);
      activityView_->stopAnimating();
      arrowImage_->removeAllAnimations();
      arrowImage_->setHidden(false);
      arrowImage_->setRotation(0);
      refreshLastUpdatedDate();
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

void LKRefreshTableHeaderView::refreshScrollViewDidScroll(ui::ScrollView& sv) {
  double y = sv.contentOffset().y;
  if (state_ == kLKPullLoading) {
    double top = y >= 0 ? 0 : std::clamp(-y, 0.0, kLoadingInset);
    sv.setContentInset(ui::EdgeInsets{top, 0, 0, 0});
    return;
  }
  if (!sv.isDragging()) return;
  bool loading = isDelegateLoading();
  if (state_ == kLKPullPulling && y > -kTriggerDistance && y < 0 && !loading) {
    setState(kLKPullNormal);
  } else if (state_ == kLKPullNormal && y < -kTriggerDistance && !loading) {
    setState(kLKPullPulling);
  }
  if (sv.contentInset().top != 0) sv.setContentInset(ui::EdgeInsets{});
}

void LKRefreshTableHeaderView::refreshScrollViewDidEndDragging(ui::ScrollView& sv) {
  if (sv.contentOffset().y > -kTriggerDistance || isDelegateLoading()) return;
  auto keep = weak_from_this().lock();
  if (delegate != nullptr) delegate->refreshTableHeaderDidTriggerRefresh(*this);
  setState(kLKPullLoading);
  sv.animateContentInset(ui::EdgeInsets{kLoadingInset, 0, 0, 0}, kInsetInSeconds);
}

void LKRefreshTableHeaderView::refreshScrollViewDataSourceDidFinishedLoading(ui::ScrollView& sv) {
  sv.animateContentInset(ui::EdgeInsets{}, kInsetOutSeconds);
  setState(kLKPullNormal);
}

}  // namespace lk

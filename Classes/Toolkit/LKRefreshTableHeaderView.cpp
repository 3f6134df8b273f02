#include "Classes/Toolkit/LKRefreshTableHeaderView.h"

#include <time.h>

#include <algorithm>
#include <cstdio>

#include "Platform/Storage/UserDefaults.h"

namespace lk {

namespace {
constexpr double kInsetInSeconds = 0.2;
constexpr double kInsetOutSeconds = 0.3;

std::shared_ptr<ui::Label> addedLastUpdatedLabel(ui::View& host, ui::Rect frame) {
  auto label = LKPullIndicator::grayLabel(ui::Rect{0, frame.height() - 30, frame.width(), 20},
                                          ui::Font::system(12));
  host.addSubview(label);
  return label;
}
}  // namespace

LKRefreshTableHeaderView::LKRefreshTableHeaderView(ui::Rect frame)
    : ui::View(frame),
      lastUpdatedLabel_(addedLastUpdatedLabel(*this, frame)),
      indicator_(*this, ui::Rect{0, frame.height() - 48, frame.width(), 20},
                 ui::Image::named("grayArrow"), ui::Rect{25, frame.height() - 65, 30, 55},
                 ui::Rect{25, frame.height() - 38, 20, 20}) {
  autoresizesWidth = true;
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
  if (!indicator_.show(state, state_, downText, releaseText, loadingText)) return;
  if (state == kLKPullNormal) refreshLastUpdatedDate();
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
  const int next = LKPullIndicator::draggedState(state_, -y, kTriggerDistance, isDelegateLoading());
  if (next != state_) setState(next);
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

#include "Classes/Toolkit/LKRefreshTableFooterView.h"

#include <algorithm>

namespace lk {

namespace {
constexpr double kInsetInSeconds = 0.2;
constexpr double kInsetOutSeconds = 0.3;
}  // namespace

// The arrow points up: the downward gray arrow, turned upside down.
LKRefreshTableFooterView::LKRefreshTableFooterView(ui::Rect frame)
    : ui::View(frame),
      indicator_(*this, ui::Rect{0, 20, frame.width(), 20},
                 ui::Image::named("grayArrow").flippedUpsideDown(), ui::Rect{25, 10, 30, 55},
                 ui::Rect{25, 18, 20, 20}) {
  autoresizesWidth = true;
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
  if (indicator_.show(state, state_, upText, releaseText, loadingText)) state_ = state;
}

void LKRefreshTableFooterView::refreshScrollViewDidScroll(ui::ScrollView& sv) {
  double d = sv.pullUpDistance();
  if (state_ == kLKPullLoading) {
    sv.setContentInset(ui::EdgeInsets{0, 0, std::clamp(d, 0.0, kLoadingInset), 0});
    return;
  }
  if (!sv.isDragging()) return;
  const int next = LKPullIndicator::draggedState(state_, d, kTriggerDistance, isDelegateLoading());
  if (next != state_) setState(next);
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

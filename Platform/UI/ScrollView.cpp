#include "Platform/UI/ScrollView.h"

#include <algorithm>
#include <cmath>

namespace lk::ui {

ScrollView::ScrollView(Rect frame) : View(frame) {}

ScrollView::~ScrollView() {
  // Callbacks of running animations hold the view weakly; stop them so nothing fires later.
  if (bounce_) bounce_->cancel();
  if (insetAnimation_) insetAnimation_->cancel();
}

const EdgeInsets& ScrollView::rangeInsets() const {
  return insetTarget_ ? *insetTarget_ : contentInset_;
}

double ScrollView::minOffsetY() const {
  return -rangeInsets().top;
}

double ScrollView::maxOffsetY() const {
  return std::max(minOffsetY(), contentSize_.height + rangeInsets().bottom - frame().height());
}

double ScrollView::pullUpDistance() const {
  return contentOffset().y - (contentSize_.height - frame().height());
}

void ScrollView::applyOffset(Point offset) {
  if (offset == contentOffset()) return;
  auto keep = weak_from_this().lock();  // a delegate may drop the view
  setBoundsOrigin(offset);
  contentOffsetDidChange();
  if (scrollDelegate_ != nullptr) scrollDelegate_->scrollViewDidScroll(*this);
}

void ScrollView::setContentOffset(Point offset, bool animated) {
  if (bounce_) bounce_->cancel();
  if (!animated) {
    applyOffset(offset);
    return;
  }
  std::weak_ptr<View> weak = weak_from_this();
  Point from = contentOffset();
  bounce_ = Animation::start(
      kBounceSeconds,
      [weak, from, offset](double t) {
        auto v = std::static_pointer_cast<ScrollView>(weak.lock());
        if (v) {
          v->applyOffset(Point{from.x + (offset.x - from.x) * t, from.y + (offset.y - from.y) * t});
        }
      },
      [weak](bool finished) {
        auto v = std::static_pointer_cast<ScrollView>(weak.lock());
        if (v && finished && v->scrollDelegate_ != nullptr)
          v->scrollDelegate_->scrollViewDidEndScrollingAnimation(*v);
      },
      Animation::Curve::kEaseInOut);
}

void ScrollView::setContentInset(const EdgeInsets& insets) {
  if (insetAnimation_) {
    auto running = std::move(insetAnimation_);
    insetAnimation_.reset();
    running->cancel();
  }
  insetTarget_.reset();
  applyInset(insets);
}

void ScrollView::applyInset(const EdgeInsets& insets) {
  contentInset_ = insets;
  if (dragging_ || decelerating_) return;
  double y = contentOffset().y;
  double clamped = std::clamp(y, minOffsetY(), maxOffsetY());
  if (clamped != y) applyOffset(Point{contentOffset().x, clamped});
}

void ScrollView::animateContentInset(const EdgeInsets& insets, double duration) {
  setContentInset(contentInset_);  // stops a running one where it is
  insetTarget_ = insets;
  std::weak_ptr<View> weak = weak_from_this();
  EdgeInsets from = contentInset_;
  auto mix = [](double a, double b, double t) { return a + (b - a) * t; };
  insetAnimation_ = Animation::start(
      duration,
      [weak, from, insets, mix](double t) {
        auto v = std::static_pointer_cast<ScrollView>(weak.lock());
        if (!v) return;
        v->applyInset(EdgeInsets{mix(from.top, insets.top, t), mix(from.left, insets.left, t),
                                 mix(from.bottom, insets.bottom, t),
                                 mix(from.right, insets.right, t)});
      },
      [weak](bool finished) {
        auto v = std::static_pointer_cast<ScrollView>(weak.lock());
        if (v && finished) {
          v->insetTarget_.reset();
          v->insetAnimation_.reset();
        }
      },
      Animation::Curve::kEaseInOut);
}

void ScrollView::touchDown() {
  if (!scrollEnabled || dragging_) return;
  if (bounce_) {
    bounce_->cancel();
    bounce_.reset();
  }
  decelerating_ = false;
  dragging_ = true;
  auto keep = weak_from_this().lock();
  if (scrollDelegate_ != nullptr) scrollDelegate_->scrollViewWillBeginDragging(*this);
}

void ScrollView::moveFinger(double dy, double stepSize) {
  if (!dragging_) return;
  auto keep = weak_from_this().lock();
  double remaining = dy;
  while (std::abs(remaining) > 1e-9 && dragging_) {
    double limit = stepSize > 0 ? stepSize : kDragStep;
    double step = std::clamp(remaining, -limit, limit);
    remaining -= step;
    Point p = contentOffset();
    applyOffset(Point{p.x, p.y - step});
  }
}

void ScrollView::lift() {
  if (!dragging_) return;
  auto keep = weak_from_this().lock();
  dragging_ = false;
  double y = contentOffset().y;
  bool outside = y < minOffsetY() - 1e-9 || y > maxOffsetY() + 1e-9;
  if (outside) decelerating_ = true;
  if (scrollDelegate_ != nullptr) scrollDelegate_->scrollViewDidEndDragging(*this, outside);
  if (outside) startBounce();
}

void ScrollView::drag(double dy) {
  touchDown();
  moveFinger(dy);
  lift();
}

void ScrollView::startBounce() {
  std::weak_ptr<View> weak = weak_from_this();
  auto last = std::make_shared<double>(0);
  // The target is taken afresh on every frame: insets may change while the content settles.
  bounce_ = Animation::start(
      kBounceSeconds,
      [weak, last](double t) {
        auto v = std::static_pointer_cast<ScrollView>(weak.lock());
        if (!v) return;
        double y = v->contentOffset().y;
        double target = std::clamp(y, v->minOffsetY(), v->maxOffsetY());
        double share = t >= 1 ? 1 : (t - *last) / (1 - *last);
        *last = t;
        v->applyOffset(Point{v->contentOffset().x, y + (target - y) * share});
      },
      [weak](bool finished) {
        auto v = std::static_pointer_cast<ScrollView>(weak.lock());
        if (!v) return;
        v->decelerating_ = false;
        if (finished && v->scrollDelegate_ != nullptr)
          v->scrollDelegate_->scrollViewDidEndDecelerating(*v);
      },
      Animation::Curve::kEaseOut);
}

}  // namespace lk::ui

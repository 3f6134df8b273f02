#include "Platform/UI/View.h"

#include <algorithm>

#include "Platform/UI/DumpWriter.h"
#include "Platform/UI/Window.h"

namespace lk::ui {

View::View(Rect frame) : frame_(frame) {}

View::~View() {
  for (auto& child : subviews_)
    child->superview_ = nullptr;
}

void View::setFrame(const Rect& frame) {
  Size old = frame_.size;
  frame_ = frame;
  if (old == frame.size) return;
  double dw = frame.size.width - old.width, dh = frame.size.height - old.height;
  for (auto& child : subviews_) {
    if (!child->autoresizesWidth && !child->autoresizesHeight) continue;
    Rect f = child->frame_;
    if (child->autoresizesWidth) f.size.width = std::max(0.0, f.size.width + dw);
    if (child->autoresizesHeight) f.size.height = std::max(0.0, f.size.height + dh);
    child->setFrame(f);
  }
  layoutSubviews();
}

void View::setCenter(Point c) {
  Rect f = frame_;
  f.origin = {c.x - f.width() / 2, c.y - f.height() / 2};
  setFrame(f);
}

bool View::isVisibleInTree() const {
  for (const View* v = this; v != nullptr; v = v->superview_) {
    if (v->hidden_ || v->alpha_ <= 0) return false;
  }
  return true;
}

void View::attach(const std::shared_ptr<View>& view, std::size_t index) {
  if (!view || view.get() == this) return;
  std::shared_ptr<View> keep = view;  // removal below may drop the last other reference
  if (view->superview_ != nullptr) {
    auto& siblings = view->superview_->subviews_;
    siblings.erase(std::remove(siblings.begin(), siblings.end(), view), siblings.end());
  }
  index = std::min(index, subviews_.size());
  subviews_.insert(subviews_.begin() + static_cast<std::ptrdiff_t>(index), keep);
  keep->superview_ = this;
  keep->didMoveToSuperview();
}

void View::addSubview(const std::shared_ptr<View>& view) {
  attach(view, subviews_.size());
}

void View::insertSubview(const std::shared_ptr<View>& view, std::size_t index) {
  attach(view, index);
}

void View::insertSubviewBelow(const std::shared_ptr<View>& view, const View* sibling) {
  auto it = std::find_if(subviews_.begin(), subviews_.end(),
                         [&](const auto& v) { return v.get() == sibling; });
  std::size_t index = static_cast<std::size_t>(it - subviews_.begin());
  // Moving a view that sits before the sibling shifts the sibling down by one.
  if (view && view->superview_ == this) {
    auto self = std::find(subviews_.begin(), subviews_.end(), view);
    if (self < it) --index;
  }
  attach(view, index);
}

void View::removeFromSuperview() {
  View* parent = superview_;
  if (parent == nullptr) return;
  std::shared_ptr<View> keep = shared_from_this();
  auto& siblings = parent->subviews_;
  siblings.erase(std::remove(siblings.begin(), siblings.end(), keep), siblings.end());
  superview_ = nullptr;
  didMoveToSuperview();
}

bool View::handleTap() {
  if (!tapHandler_) return false;
  auto keep = weak_from_this().lock();
  auto handler = tapHandler_;
  handler(*this);
  return true;
}

View* View::hitTest(Point p) {
  if (hidden_ || alpha_ <= 0 || !userInteractionEnabled_) return nullptr;
  if (!frameInRoot().contains(p)) return nullptr;
  auto children = subviews_;
  for (auto it = children.rbegin(); it != children.rend(); ++it) {
    if (View* hit = (*it)->hitTest(p)) return hit;
  }
  return this;
}

void View::removeAllSubviews() {
  auto children = subviews_;
  for (auto& child : children)
    child->removeFromSuperview();
}

void View::bringSubviewToFront(const View* view) {
  auto it = std::find_if(subviews_.begin(), subviews_.end(),
                         [&](const auto& v) { return v.get() == view; });
  if (it == subviews_.end()) return;
  std::rotate(it, it + 1, subviews_.end());
}

void View::sendSubviewToBack(const View* view) {
  auto it = std::find_if(subviews_.begin(), subviews_.end(),
                         [&](const auto& v) { return v.get() == view; });
  if (it == subviews_.end()) return;
  std::rotate(subviews_.begin(), it, it + 1);
}

bool View::isDescendantOf(const View* ancestor) const {
  for (const View* v = this; v != nullptr; v = v->superview_) {
    if (v == ancestor) return true;
  }
  return false;
}

View* View::viewWithTag(int tag) {
  if (tag_ == tag) return this;
  for (auto& child : subviews_) {
    if (View* found = child->viewWithTag(tag)) return found;
  }
  return nullptr;
}

Window* View::window() const {
  const View* root = this;
  while (root->superview_ != nullptr)
    root = root->superview_;
  return dynamic_cast<Window*>(const_cast<View*>(root));
}

Rect View::frameInRoot() const {
  Rect r = frame_;
  for (const View* p = superview_; p != nullptr; p = p->superview_) {
    r.origin.x += p->frame_.x() - p->boundsOrigin_.x;
    r.origin.y += p->frame_.y() - p->boundsOrigin_.y;
  }
  return r;
}

void View::addAnimation(const std::string& key, std::shared_ptr<Animation> animation) {
  std::erase_if(animations_, [](const auto& e) { return !e.second->isRunning(); });
  for (auto& entry : animations_) {
    if (entry.first == key) {
      auto old = std::move(entry.second);
      entry.second = std::move(animation);
      old->cancel();
      return;
    }
  }
  animations_.emplace_back(key, std::move(animation));
}

Animation* View::animationForKey(const std::string& key) const {
  for (const auto& entry : animations_) {
    if (entry.first == key && entry.second->isRunning()) return entry.second.get();
  }
  return nullptr;
}

void View::removeAllAnimations() {
  auto running = std::move(animations_);
  animations_.clear();
  for (auto& entry : running)
    entry.second->cancel();
}

void View::dump(DumpWriter& out) const {
  if (hidden_ || alpha_ <= 0) return;
  std::string own = isDecorative ? std::string() : dumpLine();
  if (own.empty()) {
    dumpSubviews(out);
    return;
  }
  out.line(own);
  out.indent();
  dumpSubviews(out);
  out.outdent();
}

void View::dumpSubviews(DumpWriter& out) const {
  auto children = subviews_;  // dumping must not be disturbed by a view that re-lays out
  for (const auto& child : children)
    child->dump(out);
}

std::string View::dumpText() const {
  DumpWriter out;
  dump(out);
  return out.text();
}

}  // namespace lk::ui

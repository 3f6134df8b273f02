#pragma once

namespace lk::ui {

class ScrollView;

// Told how a scroll view moves. Every callback is optional.
class ScrollViewDelegate {
 public:
  ScrollViewDelegate() = default;
  ScrollViewDelegate(const ScrollViewDelegate&) = delete;
  ScrollViewDelegate& operator=(const ScrollViewDelegate&) = delete;
  virtual ~ScrollViewDelegate() = default;

  virtual void scrollViewDidScroll(ScrollView& /*scrollView*/) {}
  virtual void scrollViewWillBeginDragging(ScrollView& /*scrollView*/) {}
  virtual void scrollViewDidEndDragging(ScrollView& /*scrollView*/, bool /*decelerate*/) {}
  virtual void scrollViewDidEndDecelerating(ScrollView& /*scrollView*/) {}
  virtual void scrollViewDidEndScrollingAnimation(ScrollView& /*scrollView*/) {}
};

}  // namespace lk::ui

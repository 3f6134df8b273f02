#pragma once

#include <memory>
#include <optional>

#include "Platform/UI/Animation.h"
#include "Platform/UI/ScrollViewDelegate.h"
#include "Platform/UI/View.h"

namespace lk::ui {

// A view whose content is larger than its frame. The content offset is the bounds origin.
//
// Drags follow the finger one to one (no rubber-band resistance, so "pulled 65 points" means
// exactly that), each move reporting did-scroll in steps of at most kDragStep points. Lifting
// the finger outside the allowed range bounces back in kBounceSeconds on the run loop's clock,
// reporting did-scroll on every frame and did-end-decelerating at the end.
class ScrollView : public View {
 public:
  static constexpr double kDragStep = 5;
  static constexpr double kBounceSeconds = 0.3;

  explicit ScrollView(Rect frame = {});
  ~ScrollView() override;

  // The delegate must outlive the scroll view or be cleared.
  void setDelegate(ScrollViewDelegate* delegate) { scrollDelegate_ = delegate; }
  [[nodiscard]] ScrollViewDelegate* scrollDelegate() const { return scrollDelegate_; }

  [[nodiscard]] Point contentOffset() const { return bounds().origin; }
  // Moves the content and reports did-scroll. `animated` moves it over kBounceSeconds.
  void setContentOffset(Point offset, bool animated = false);
  [[nodiscard]] Size contentSize() const { return contentSize_; }
  void setContentSize(Size size) { contentSize_ = size; }
  [[nodiscard]] const EdgeInsets& contentInset() const { return contentInset_; }
  // Sets the insets at once (stopping an inset animation). When nobody is dragging and the
  // content sits outside the new range, it is brought back (as the handset's scroll view does).
  void setContentInset(const EdgeInsets& insets);
  // Moves the insets to `insets` over `duration` seconds on the run loop. As on the handset, the
  // range the content settles in follows the target insets at once.
  void animateContentInset(const EdgeInsets& insets, double duration);

  [[nodiscard]] bool isDragging() const { return dragging_; }
  [[nodiscard]] bool isDecelerating() const { return decelerating_; }
  bool scrollEnabled = true;
  bool alwaysBounceVertical = true;
  bool showsVerticalScrollIndicator = true;

  // The allowed range of the vertical offset under the current insets.
  [[nodiscard]] double minOffsetY() const;
  [[nodiscard]] double maxOffsetY() const;
  // How far the content is pulled up beyond its end: offset − (content height − frame height).
  [[nodiscard]] double pullUpDistance() const;

  // Finger input, as a touch produces it.
  void touchDown();
  // The finger moves down by `dy` points (negative: up). The content follows it, reporting
  // every `step` points (a quick flick reports larger steps).
  void moveFinger(double dy, double step = kDragStep);
  void lift();
  // touchDown + moveFinger + lift.
  void drag(double dy);

  [[nodiscard]] std::string dumpLine() const override { return {}; }

 protected:
  // Called after the offset changed, before the delegate hears of it (tables lay out cells).
  virtual void contentOffsetDidChange() {}

 private:
  void applyOffset(Point offset);
  void applyInset(const EdgeInsets& insets);
  [[nodiscard]] const EdgeInsets& rangeInsets() const;
  void startBounce();

  ScrollViewDelegate* scrollDelegate_ = nullptr;
  Size contentSize_;
  EdgeInsets contentInset_;
  bool dragging_ = false;
  bool decelerating_ = false;
  std::shared_ptr<Animation> bounce_;
  std::shared_ptr<Animation> insetAnimation_;
  std::optional<EdgeInsets> insetTarget_;
};

}  // namespace lk::ui

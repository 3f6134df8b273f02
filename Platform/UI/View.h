#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "Platform/UI/Animation.h"
#include "Platform/UI/Color.h"
#include "Platform/UI/Geometry.h"

namespace lk::ui {

class DumpWriter;
class Window;

// A node of the retained view tree. A view owns its subviews (shared, as a parent retains its
// children); the link to the superview is a plain back pointer that removal clears.
// The tree is what tests dump as text and what a graphical front end paints.
class View : public std::enable_shared_from_this<View> {
 public:
  explicit View(Rect frame = {});
  View(const View&) = delete;
  View& operator=(const View&) = delete;
  virtual ~View();

  template <typename T, typename... Args>
  static std::shared_ptr<T> make(Args&&... args) {
    return std::make_shared<T>(std::forward<Args>(args)...);
  }

  // Geometry. The frame is in the superview's coordinates; the bounds origin is the scroll
  // position of what the view shows (scroll views move it).
  [[nodiscard]] const Rect& frame() const { return frame_; }
  virtual void setFrame(const Rect& frame);
  [[nodiscard]] Rect bounds() const { return Rect{boundsOrigin_, frame_.size}; }
  void setBoundsOrigin(Point origin) { boundsOrigin_ = origin; }
  [[nodiscard]] Point center() const {
    return {frame_.x() + frame_.width() / 2, frame_.y() + frame_.height() / 2};
  }
  void setCenter(Point c);
  // Width and height follow the superview's size changes when set.
  bool autoresizesWidth = false;
  bool autoresizesHeight = false;

  // Appearance.
  [[nodiscard]] bool isHidden() const { return hidden_; }
  void setHidden(bool hidden) { hidden_ = hidden; }
  [[nodiscard]] double alpha() const { return alpha_; }
  void setAlpha(double alpha) { alpha_ = alpha; }
  // Scale of the presentation (animations scale boxes in and out); 1 is natural size.
  [[nodiscard]] double scale() const { return scale_; }
  void setScale(double scale) { scale_ = scale; }
  // Rotation in radians about the view's centre (the pull arrows turn half a turn).
  [[nodiscard]] double rotation() const { return rotation_; }
  void setRotation(double radians) { rotation_ = radians; }
  [[nodiscard]] const Color& backgroundColor() const { return backgroundColor_; }
  void setBackgroundColor(const Color& c) { backgroundColor_ = c; }
  [[nodiscard]] int tag() const { return tag_; }
  void setTag(int tag) { tag_ = tag; }
  [[nodiscard]] bool isUserInteractionEnabled() const { return userInteractionEnabled_; }
  void setUserInteractionEnabled(bool on) { userInteractionEnabled_ = on; }
  // True when the view and all its ancestors are shown (not hidden, alpha above 0).
  [[nodiscard]] bool isVisibleInTree() const;

  // The tree.
  [[nodiscard]] View* superview() const { return superview_; }
  [[nodiscard]] const std::vector<std::shared_ptr<View>>& subviews() const { return subviews_; }
  void addSubview(const std::shared_ptr<View>& view);
  void insertSubview(const std::shared_ptr<View>& view, std::size_t index);
  void insertSubviewBelow(const std::shared_ptr<View>& view, const View* sibling);
  void removeFromSuperview();
  void bringSubviewToFront(const View* view);
  void sendSubviewToBack(const View* view);
  [[nodiscard]] bool isDescendantOf(const View* ancestor) const;
  // This view or the first descendant (depth first) with the tag.
  [[nodiscard]] View* viewWithTag(int tag);
  // The window at the root of the tree, if the view is in one.
  [[nodiscard]] Window* window() const;
  // The frame in the coordinates of the root of the tree.
  [[nodiscard]] Rect frameInRoot() const;
  // The top-most view under `point` (in root coordinates) that takes touches: shown, with
  // interaction enabled (a view without it hides its subviews from touches too).
  [[nodiscard]] View* hitTest(Point pointInRoot);
  // Removes every subview.
  void removeAllSubviews();

  // Asks for a redraw. Drawn views count the requests (tests check them) and re-render when a
  // front end paints.
  virtual void setNeedsDisplay() { ++displayRequests_; }
  [[nodiscard]] int displayRequests() const { return displayRequests_; }

  // The layer's look, for a painting front end: rounded corners, a border, and whether the
  // subviews are cut at the bounds (scroll views always are).
  double cornerRadius = 0;
  double borderWidth = 0;
  Color borderColor = Color::black();
  bool clipsToBounds = false;

  // A decorative view (backgrounds, shadow strips) writes no line of its own; its subviews
  // still dump, at its level.
  bool isDecorative = false;

  // Writes this view and its visible subviews to the dump. Hidden subtrees write nothing.
  virtual void dump(DumpWriter& out) const;
  // The view's own line, or empty when it has nothing to show of itself (plain containers).
  [[nodiscard]] virtual std::string dumpLine() const { return {}; }
  // The whole subtree as text.
  [[nodiscard]] std::string dumpText() const;

  // A single-finger tap anywhere on the view (a tap gesture), for views that are not buttons.
  void setTapHandler(std::function<void(View&)> handler) { tapHandler_ = std::move(handler); }
  [[nodiscard]] bool hasTapHandler() const { return static_cast<bool>(tapHandler_); }
  // Runs the tap handler; returns whether there was one.
  bool handleTap();

  // Running animations by key. Adding under a used key cancels the older one.
  void addAnimation(const std::string& key, std::shared_ptr<Animation> animation);
  [[nodiscard]] Animation* animationForKey(const std::string& key) const;
  // Cancels every running animation of the view (their completions see finished = false).
  void removeAllAnimations();

  // Called after this view moved into or out of a tree (superview changed).
  virtual void didMoveToSuperview() {}
  // Called after the size of the frame changed.
  virtual void layoutSubviews() {}

 protected:
  void dumpSubviews(DumpWriter& out) const;

 private:
  void attach(const std::shared_ptr<View>& view, std::size_t index);

  Rect frame_;
  Point boundsOrigin_;
  bool hidden_ = false;
  double alpha_ = 1;
  double scale_ = 1;
  double rotation_ = 0;
  Color backgroundColor_ = Color::clear();
  int tag_ = 0;
  bool userInteractionEnabled_ = true;
  int displayRequests_ = 0;
  View* superview_ = nullptr;
  std::vector<std::pair<std::string, std::shared_ptr<Animation>>> animations_;
  std::function<void(View&)> tapHandler_;
  std::vector<std::shared_ptr<View>> subviews_;
};

}  // namespace lk::ui

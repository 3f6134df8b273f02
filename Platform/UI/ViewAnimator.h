#pragma once

#include <memory>
#include <optional>
#include <string>

#include "Platform/UI/Animation.h"
#include "Platform/UI/View.h"

namespace lk::ui {

// Animates view properties from their current values. The view is held weakly: an animation
// of a view that went away stops quietly. With a key, the animation is registered on the view
// (replacing one under the same key) so that removeAllAnimations() stops it.
struct ViewAnimator {
  struct Target {
    std::optional<Rect> frame;
    std::optional<double> alpha;
    std::optional<double> scale;
    std::optional<double> rotation;
  };

  static std::shared_ptr<Animation> animate(const std::shared_ptr<View>& view, double duration,
                                            Target target, Animation::Completion completion = {},
                                            Animation::Curve curve = Animation::Curve::kEaseInOut,
                                            const std::string& key = {}, double delay = 0);
};

}  // namespace lk::ui

#pragma once

#include "Platform/UI/View.h"

namespace lk::ui {

// A spinner. Hidden while stopped unless told otherwise.
class ActivityIndicatorView : public View {
 public:
  enum class Style { kWhiteLarge, kWhite, kGray };

  explicit ActivityIndicatorView(Rect frame = {0, 0, 20, 20}, Style style = Style::kGray);

  void startAnimating();
  void stopAnimating();
  [[nodiscard]] bool isAnimating() const { return animating_; }
  bool hidesWhenStopped = true;
  Style style;

  [[nodiscard]] std::string dumpLine() const override;

 private:
  bool animating_ = false;
};

}  // namespace lk::ui

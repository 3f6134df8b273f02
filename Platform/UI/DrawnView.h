#pragma once

#include "Platform/UI/Canvas.h"
#include "Platform/UI/View.h"

namespace lk::ui {

// A view that paints itself in drawRect. The headless toolkit renders it into a recording
// canvas whenever it is asked (dumps, tests, a front end's paint).
class DrawnView : public View {
 public:
  explicit DrawnView(Rect frame = {});

  virtual void drawRect(Canvas& /*canvas*/, const Rect& /*rect*/) const {}
  // Renders the whole view now.
  [[nodiscard]] Canvas render() const;

  // "drawn: text | text | <image>" in drawing order.
  [[nodiscard]] std::string dumpLine() const override;
};

}  // namespace lk::ui

#pragma once

#include <string>
#include <vector>

#include "Platform/UI/Color.h"
#include "Platform/UI/Font.h"
#include "Platform/UI/Geometry.h"
#include "Platform/UI/Image.h"
#include "Platform/UI/TextAlignment.h"

namespace lk::ui {

// One recorded drawing operation. A graphical front end replays them in order.
struct DrawOp {
  enum class Kind {
    kText,
    kImage,
    kFillRect,
    kStrokeRect,
    kLine,
    kGradient,
    kClip,
    kSave,
    kRestore
  };
  Kind kind = Kind::kFillRect;
  Rect rect;
  std::string text;
  std::vector<std::string> lines;  // wrapped text, as measured
  Font font;
  TextAlignment alignment = TextAlignment::kLeft;
  Color color;
  Color endColor;  // gradients
  Image image;
  double cornerRadius = 0;
  bool flipped = false;  // image drawn upside down
  Point from, to;        // lines and gradient axis
  double lineWidth = 1;
};

// A drawing surface that records what drawn views paint, so tests can read it and front ends
// can replay it. Coordinates are the drawn view's own.
class Canvas {
 public:
  // One line of text in `rect` (clipped to it), returning the size used.
  Size drawText(const std::string& text, const Rect& rect, const Font& font,
                TextAlignment alignment = TextAlignment::kLeft,
                const Color& color = Color::black());
  // Wrapped text within `rect`'s width (up to its height when that is above 0); returns the
  // measured height.
  double drawWrappedText(const std::string& text, const Rect& rect, const Font& font,
                         TextAlignment alignment = TextAlignment::kLeft,
                         const Color& color = Color::black());
  void drawImage(const Image& image, const Rect& rect, double cornerRadius = 0,
                 bool flipped = false);
  void fillRect(const Rect& rect, const Color& color, double cornerRadius = 0);
  void strokeRect(const Rect& rect, const Color& color, double lineWidth = 1);
  void drawLine(Point from, Point to, const Color& color, double lineWidth = 1);
  void drawLinearGradient(const Rect& rect, const Color& start, const Color& end, Point from,
                          Point to);
  // Clips later drawing to `rect`, with rounded corners when `cornerRadius` is above 0.
  void clipToRect(const Rect& rect, double cornerRadius = 0);
  void saveState();
  void restoreState();

  [[nodiscard]] const std::vector<DrawOp>& ops() const { return ops_; }
  // The texts drawn, in drawing order.
  [[nodiscard]] std::vector<std::string> texts() const;
  // Names (or descriptions) of the images drawn, in drawing order.
  [[nodiscard]] std::vector<std::string> imageNames() const;
  void clear() { ops_.clear(); }

 private:
  std::vector<DrawOp> ops_;
};

}  // namespace lk::ui

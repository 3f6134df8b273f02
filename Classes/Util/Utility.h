#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "Platform/Image/Image.h"
#include "Platform/Text/DateFormatter.h"
#include "Platform/UI/Canvas.h"
#include "Platform/UI/Color.h"
#include "Platform/UI/Geometry.h"

namespace lk {

namespace ui {
class View;
}

// Small stateless conversions shared by the screens and records.
class Utility {
 public:
  Utility() = delete;

  struct StarCounts {
    int full = 0;
    int half = 0;
    int empty = 0;
    friend bool operator==(const StarCounts&, const StarCounts&) = default;
  };

  // "3" for operating-system versions below 4, else "4" (as the statistics request wants it).
  [[nodiscard]] static std::string systemVersion();
  [[nodiscard]] static std::string systemVersion(std::string_view osVersion);

  // A score as short text: one decimal, without a trailing ".0" (4.0 -> "4", 4.5 -> "4.5").
  [[nodiscard]] static std::string formatFloat(float f);
  // Rounds half up on the first decimal of the "%.1f" text (3.5 -> 4, 3.44 -> 3). Values beyond
  // the integer range saturate; non-finite values give 0.
  [[nodiscard]] static int roundoff(float f);
  // Splits a score into full, half and empty stars out of `fullRate`.
  [[nodiscard]] static StarCounts cacluateRate(float rate, int fullRate);
  // Removes "<tag>" and "</tag>" and decodes "&amp;", "&quot;" and "&#39;".
  [[nodiscard]] static std::string removeTag(std::string_view tag, std::string_view text);

  // Shrinks a picture size by the whole factor that keeps its shorter side at or above `limit`
  // (1600 x 1200 with 320 gives about 533 x 400); sizes below the limit on a side, and limits
  // that are not positive, leave it as it is.
  [[nodiscard]] static ui::Size scaleSize(ui::Size size, float limit);
  // An opaque colour from 0xRRGGBB.
  [[nodiscard]] static ui::Color colorWithHex(int hex);
  // Moves the view down by `p` points (up when negative); its size stays.
  static void moveView(ui::View& view, int p);

  [[nodiscard]] static DateFormatter dateFormatter();
  [[nodiscard]] static std::string stringWithDate(Date date);
  [[nodiscard]] static std::optional<Date> dateFromString(std::string_view text);

  // Drawing routines of the drawn cells, onto the given canvas.
  // A thin separator line filling `rect`.
  static void drawBreakLine(const ui::Rect& rect, ui::Canvas& context);
  // A vertical linear gradient from `begin` (top) to `end` (bottom) over `rect`.
  static void drawGradientWithBeginColor(const ui::Color& begin, const ui::Color& end,
                                         ui::Canvas& context, const ui::Rect& rect);
  // A cell's background over `rect`.
  static void drawBackground(const ui::Rect& rect, ui::Canvas& context);
  // Clips what follows to `rect` with rounded corners.
  static void clipContext(ui::Canvas& context, const ui::Rect& rect, double radius);
  // `image` `count` times side by side from `point`, each `size` large.
  static void drawStar(const ui::Image& image, ui::Point point, ui::Size size, int count,
                       ui::Canvas& context);
  // Five stars for a score (at most 5.0): full, half and empty stars in that order.
  static void drawStarRate(float rate, ui::Point point, ui::Size size, ui::Canvas& context);
  // Levels above this one show its picture, levels below 0 the picture of level 0.
  static constexpr int kMaxUserLevel = 10;
  // The name of the picture of a user's level ("userlevel_<level>").
  [[nodiscard]] static std::string userLevelImageName(int level);
  // The picture of a user's level.
  static void drawUserLevel(int level, const ui::Rect& rect, ui::Canvas& context);
  // A new picture of `size` holding `image` redrawn to fill it; with a radius, its corners are
  // rounded off (transparent).
  [[nodiscard]] static ImagePtr clipImage(const ImagePtr& image, ui::Size size);
  [[nodiscard]] static ImagePtr clipImage(const ImagePtr& image, ui::Size size, double radius);
  // A new picture of the same size, upside down.
  [[nodiscard]] static ImagePtr reverseImage(const ImagePtr& image);
  // The same for a toolkit image (a resource is drawn flipped).
  [[nodiscard]] static ui::Image reverseImage(const ui::Image& image);

  // Form-encodes `length` bytes into `output` (letters and digits as they are, space as "+",
  // everything else as "%XX") with a terminating zero byte. Returns the characters written, or 0
  // when an argument is missing or the result and its terminator do not fit in `capacity`.
  static int urlEncodeBytes(const std::uint8_t* input, std::size_t length, char* output,
                            std::size_t capacity);
};

}  // namespace lk

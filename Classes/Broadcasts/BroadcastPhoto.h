#pragma once

#include <optional>
#include <string>

#include "Platform/Image/Image.h"
#include "Platform/Image/ImageOrientation.h"

namespace lk {

// What a broadcast's photo goes through before it is posted: made upright, made smaller by a
// whole factor so that its shorter side stays at 320 or more, stored as JPEG and written as
// Base64 text.
class BroadcastPhoto {
 public:
  static constexpr int kLimit = 320;
  static constexpr double kJpegQuality = 0.5;

  struct Size {
    int width = 0;
    int height = 0;
    friend bool operator==(const Size&, const Size&) = default;
  };

  // Unchanged when a side is under 320; otherwise both sides divided by the smaller of the whole
  // parts of width / 320 and height / 320 (1600 x 1200 gives 533 x 400).
  [[nodiscard]] static Size scaledSize(int width, int height);
  // Upright first (a picture taken on its side exchanges width and height), then scaled. The
  // result needs no orientation: preparing it again with kUp changes nothing.
  [[nodiscard]] static Image prepared(const Image& picture, ImageOrientation orientation);
  // The "img" field's text before form escaping: the JPEG's Base64 with the line length set to
  // the JPEG's byte count. Nothing when the picture cannot be encoded.
  [[nodiscard]] static std::optional<std::string> base64Text(const Image& upright);
};

}  // namespace lk

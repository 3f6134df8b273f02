#pragma once

#include <string_view>

#include "Platform/Image/Image.h"

namespace lk {

// How a stored picture must be drawn to appear upright, as a camera records it (the EXIF
// orientation tag's values). A mirrored orientation is mirrored left to right, then turned.
enum class ImageOrientation {
  kUp = 1,
  kUpMirrored = 2,
  kDown = 3,
  kDownMirrored = 4,
  kLeftMirrored = 5,
  kRight = 6,
  kRightMirrored = 7,
  kLeft = 8,
};

// The orientation recorded in a JPEG's EXIF data; kUp for anything without one (a PNG, a JPEG
// without EXIF, a damaged or out-of-range tag).
[[nodiscard]] ImageOrientation jpegOrientation(std::string_view bytes);

// The picture redrawn upright, so that it needs no orientation any more.
[[nodiscard]] Image uprightImage(const Image& image, ImageOrientation orientation);

}  // namespace lk

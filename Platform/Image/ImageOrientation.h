#pragma once

#include <string_view>

#include "Platform/Image/Image.h"
#include "Platform/UI/ImageOrientation.h"

namespace lk {

// The orientation recorded in a JPEG's EXIF data; kUp for anything without one (a PNG, a JPEG
// without EXIF, a damaged or out-of-range tag).
[[nodiscard]] ImageOrientation jpegOrientation(std::string_view bytes);

// The picture redrawn upright, so that it needs no orientation any more.
[[nodiscard]] Image uprightImage(const Image& image, ImageOrientation orientation);

}  // namespace lk

#pragma once

#include "Platform/Image/Image.h"
#include "Platform/UI/Image.h"

namespace lk {

// The toolkit's image handle for a decoded picture (the pixels are copied once), and back (a
// handle of encoded bytes is decoded; a named resource gives nothing). A null picture gives a
// null handle.
[[nodiscard]] ui::Image toUiImage(const ImagePtr& image);
[[nodiscard]] ImagePtr fromUiImage(const ui::Image& image);

}  // namespace lk

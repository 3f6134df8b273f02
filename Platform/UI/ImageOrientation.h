#pragma once

namespace lk {

// How a stored picture must be drawn to appear upright, as a camera records it (the EXIF
// orientation tag's values). A mirrored orientation is mirrored left to right, then turned.
// Pictures carry it (ui::Image); Platform/Image/ImageOrientation.h reads it from a JPEG and
// redraws a picture upright.
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

}  // namespace lk

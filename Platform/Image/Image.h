#pragma once

#include <cstdint>
#include <memory>
#include <vector>

namespace lk {

// A decoded picture: 8-bit RGBA pixels, row by row, not premultiplied.
class Image {
 public:
  // Decoders and transforms refuse anything larger on either side.
  static constexpr int kMaxDimension = 8192;

  // A transparent picture of the given size (sizes are clamped to 0...kMaxDimension).
  Image(int width, int height);
  // Takes `rgba` as the pixels; it must hold width * height * 4 bytes, else the picture is
  // transparent.
  Image(int width, int height, std::vector<std::uint8_t> rgba);

  [[nodiscard]] int width() const { return width_; }
  [[nodiscard]] int height() const { return height_; }
  [[nodiscard]] bool empty() const { return width_ == 0 || height_ == 0; }
  [[nodiscard]] const std::vector<std::uint8_t>& pixels() const { return pixels_; }
  [[nodiscard]] std::vector<std::uint8_t>& pixels() { return pixels_; }

  // The RGBA value at (x, y) packed as 0xRRGGBBAA; 0 outside the picture.
  [[nodiscard]] std::uint32_t pixelAt(int x, int y) const;
  void setPixel(int x, int y, std::uint32_t rgba);

  // A copy resampled to width x height (each output pixel averages the source area it covers).
  [[nodiscard]] Image scaled(int width, int height) const;
  // A copy turned clockwise by 90, 180 or 270 degrees; any other angle gives a plain copy.
  [[nodiscard]] Image rotated(int degrees) const;
  // A copy upside down (rows in reverse order).
  [[nodiscard]] Image flippedVertically() const;

  friend bool operator==(const Image&, const Image&) = default;

 private:
  int width_ = 0;
  int height_ = 0;
  std::vector<std::uint8_t> pixels_;
};

// Pictures are shared between the cache, records and views and never changed once published.
using ImagePtr = std::shared_ptr<const Image>;

}  // namespace lk

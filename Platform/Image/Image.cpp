#include "Platform/Image/Image.h"

#include <algorithm>
#include <cstddef>

namespace lk {
namespace {

int clampDimension(int v) {
  return std::clamp(v, 0, Image::kMaxDimension);
}

std::size_t byteCount(int width, int height) {
  return static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4;
}

}  // namespace

Image::Image(int width, int height)
    : width_(clampDimension(width)),
      height_(clampDimension(height)),
      pixels_(byteCount(width_, height_), 0) {}

Image::Image(int width, int height, std::vector<std::uint8_t> rgba)
    : width_(clampDimension(width)), height_(clampDimension(height)), pixels_(std::move(rgba)) {
  if (width_ != width || height_ != height || pixels_.size() != byteCount(width_, height_)) {
    pixels_.assign(byteCount(width_, height_), 0);
  }
}

std::uint32_t Image::pixelAt(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
  const std::uint8_t* p = &pixels_[(static_cast<std::size_t>(y) * width_ + x) * 4];
  return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) |
         std::uint32_t{p[3]};
}

void Image::setPixel(int x, int y, std::uint32_t rgba) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
  std::uint8_t* p = &pixels_[(static_cast<std::size_t>(y) * width_ + x) * 4];
  p[0] = static_cast<std::uint8_t>(rgba >> 24);
  p[1] = static_cast<std::uint8_t>(rgba >> 16);
  p[2] = static_cast<std::uint8_t>(rgba >> 8);
  p[3] = static_cast<std::uint8_t>(rgba);
}

Image Image::scaled(int width, int height) const {
  Image out(width, height);
  if (out.empty() || empty()) return out;
  // Box filter: output pixel (x, y) averages source columns [x0, x1) and rows [y0, y1), at least
  // one of each, so that shrinking keeps detail and enlarging repeats pixels.
  for (int y = 0; y < out.height_; ++y) {
    const int y0 = static_cast<int>(static_cast<long long>(y) * height_ / out.height_);
    const int y1 =
        std::max(y0 + 1, static_cast<int>(static_cast<long long>(y + 1) * height_ / out.height_));
    for (int x = 0; x < out.width_; ++x) {
      const int x0 = static_cast<int>(static_cast<long long>(x) * width_ / out.width_);
      const int x1 =
          std::max(x0 + 1, static_cast<int>(static_cast<long long>(x + 1) * width_ / out.width_));
      unsigned long long sum[4] = {0, 0, 0, 0};
      for (int sy = y0; sy < y1; ++sy) {
        const std::uint8_t* row = &pixels_[(static_cast<std::size_t>(sy) * width_ + x0) * 4];
        for (int sx = x0; sx < x1; ++sx, row += 4) {
          for (int c = 0; c < 4; ++c)
            sum[c] += row[c];
        }
      }
      const unsigned long long n = static_cast<unsigned long long>(y1 - y0) * (x1 - x0);
      std::uint8_t* dst = &out.pixels_[(static_cast<std::size_t>(y) * out.width_ + x) * 4];
      for (int c = 0; c < 4; ++c)
        dst[c] = static_cast<std::uint8_t>((sum[c] + n / 2) / n);
    }
  }
  return out;
}

Image Image::rotated(int degrees) const {
  const int turn = ((degrees % 360) + 360) % 360;
  if (turn != 90 && turn != 180 && turn != 270) return *this;
  const bool swap = turn != 180;
  Image out(swap ? height_ : width_, swap ? width_ : height_);
  for (int y = 0; y < height_; ++y) {
    for (int x = 0; x < width_; ++x) {
      int nx = 0;
      int ny = 0;
      if (turn == 90) {
        nx = height_ - 1 - y;
        ny = x;
      } else if (turn == 180) {
        nx = width_ - 1 - x;
        ny = height_ - 1 - y;
      } else {
        nx = y;
        ny = width_ - 1 - x;
      }
      const std::uint8_t* src = &pixels_[(static_cast<std::size_t>(y) * width_ + x) * 4];
      std::uint8_t* dst = &out.pixels_[(static_cast<std::size_t>(ny) * out.width_ + nx) * 4];
      std::copy(src, src + 4, dst);
    }
  }
  return out;
}

Image Image::flippedVertically() const {
  Image out(width_, height_);
  const std::size_t stride = static_cast<std::size_t>(width_) * 4;
  for (int y = 0; y < height_; ++y) {
    const auto* src = pixels_.data() + stride * static_cast<std::size_t>(y);
    std::copy(src, src + stride,
              out.pixels_.data() + stride * static_cast<std::size_t>(height_ - 1 - y));
  }
  return out;
}

}  // namespace lk

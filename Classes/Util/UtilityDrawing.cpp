// The drawing routines of Utility, apart from its conversions.
#include <algorithm>
#include <cmath>

#include "Classes/Util/Utility.h"
#include "Platform/Log/Log.h"

namespace lk {
namespace {

constexpr int kBreakLineColor = 0xDDDDDD;
constexpr int kBackgroundColor = 0xF7F7F7;

int pixels(double points) {
  if (!std::isfinite(points) || points <= 0) return 0;
  return static_cast<int>(std::lround(std::min(points, double{Image::kMaxDimension})));
}

// True when (x + 0.5, y + 0.5) lies outside the rectangle 0..w x 0..h with corners of radius r.
bool outsideRoundedCorner(int x, int y, int w, int h, double r) {
  const double px = x + 0.5;
  const double py = y + 0.5;
  const double cx = px < r ? r : (px > w - r ? w - r : px);
  const double cy = py < r ? r : (py > h - r ? h - r : py);
  const double dx = px - cx;
  const double dy = py - cy;
  return dx * dx + dy * dy > r * r;
}

}  // namespace

void Utility::drawBreakLine(const ui::Rect& rect, ui::Canvas& context) {
  context.fillRect(rect, colorWithHex(kBreakLineColor));
}

void Utility::drawGradientWithBeginColor(const ui::Color& begin, const ui::Color& end,
                                         ui::Canvas& context, const ui::Rect& rect) {
  const double midX = rect.x() + rect.width() / 2;
  context.drawLinearGradient(rect, begin, end, {midX, rect.y()}, {midX, rect.maxY()});
}

void Utility::drawBackground(const ui::Rect& rect, ui::Canvas& context) {
  context.fillRect(rect, colorWithHex(kBackgroundColor));
}

void Utility::clipContext(ui::Canvas& context, const ui::Rect& rect, double radius) {
  context.clipToRect(rect, radius);
}

void Utility::drawStar(const ui::Image& image, ui::Point point, ui::Size size, int count,
                       ui::Canvas& context) {
  for (int i = 0; i < count; ++i) {
    context.drawImage(image, ui::Rect{point.x + i * size.width, point.y, size.width, size.height});
  }
}

void Utility::drawStarRate(float rate, ui::Point point, ui::Size size, ui::Canvas& context) {
  const StarCounts stars = cacluateRate(std::min(rate, 5.0f), 5);
  drawStar(ui::Image::named("shopinfo_star2"), point, size, stars.full, context);
  point.x += std::max(0, stars.full) * size.width;
  drawStar(ui::Image::named("shopinfo_star1"), point, size, stars.half, context);
  point.x += std::max(0, stars.half) * size.width;
  drawStar(ui::Image::named("shopinfo_star0"), point, size, stars.empty, context);
}

std::string Utility::userLevelImageName(int level) {
  return strprintf("userlevel_%d", std::clamp(level, 0, kMaxUserLevel));
}

void Utility::drawUserLevel(int level, const ui::Rect& rect, ui::Canvas& context) {
  context.drawImage(ui::Image::named(userLevelImageName(level), rect.size), rect);
}

ImagePtr Utility::clipImage(const ImagePtr& image, ui::Size size) {
  if (!image) return nullptr;
  return std::make_shared<const Image>(image->scaled(pixels(size.width), pixels(size.height)));
}

ImagePtr Utility::clipImage(const ImagePtr& image, ui::Size size, double radius) {
  if (!image) return nullptr;
  Image out = image->scaled(pixels(size.width), pixels(size.height));
  const double r = std::isfinite(radius)
                       ? std::clamp(radius, 0.0, std::min(out.width(), out.height()) / 2.0)
                       : 0.0;
  if (r > 0) {
    for (int y = 0; y < out.height(); ++y) {
      for (int x = 0; x < out.width(); ++x) {
        if (outsideRoundedCorner(x, y, out.width(), out.height(), r)) out.setPixel(x, y, 0);
      }
    }
  }
  return std::make_shared<const Image>(std::move(out));
}

ImagePtr Utility::reverseImage(const ImagePtr& image) {
  if (!image) return nullptr;
  return std::make_shared<const Image>(image->flippedVertically());
}

ui::Image Utility::reverseImage(const ui::Image& image) {
  return image.flippedUpsideDown();
}

}  // namespace lk

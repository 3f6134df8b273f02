#include "Platform/Image/ImageBitmap.h"

namespace lk {

ui::Image toUiImage(const ImagePtr& image) {
  if (!image) return {};
  auto bitmap = std::make_shared<ui::Bitmap>();
  bitmap->width = image->width();
  bitmap->height = image->height();
  bitmap->rgba = image->pixels();
  return ui::Image::fromBitmap(std::move(bitmap));
}

ImagePtr fromUiImage(const ui::Image& image) {
  const auto& bitmap = image.bitmap();
  if (!bitmap) return nullptr;
  return std::make_shared<const Image>(bitmap->width, bitmap->height, bitmap->rgba);
}

}  // namespace lk

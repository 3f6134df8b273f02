#include "Platform/Image/ImageBitmap.h"

#include "Platform/Image/ImageCodec.h"

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
  ImagePtr out;
  if (const auto& bitmap = image.bitmap()) {
    out = std::make_shared<const Image>(bitmap->width, bitmap->height, bitmap->rgba);
  } else if (const auto& data = image.data()) {
    auto decoded = ImageCodec::decode(
        std::string_view(reinterpret_cast<const char*>(data->data()), data->size()));
    if (decoded) out = std::make_shared<const Image>(std::move(*decoded));
  }
  if (out && image.isFlipped()) out = std::make_shared<const Image>(out->flippedVertically());
  return out;
}

}  // namespace lk

// PNG backend of ImageCodec on libpng's simplified interface, which reports every fault as a
// failed call instead of a jump.
#include <png.h>

#include <vector>

#include "Platform/Image/ImageCodec.h"

namespace lk {

std::optional<Image> ImageCodec::decodePng(std::string_view bytes) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (png_image_begin_read_from_memory(&image, bytes.data(), bytes.size()) == 0) {
    png_image_free(&image);
    return std::nullopt;
  }
  // Refuse before the pixels are inflated: a tiny file may claim an enormous picture.
  if (image.width == 0 || image.height == 0 ||
      image.width > static_cast<png_uint_32>(Image::kMaxDimension) ||
      image.height > static_cast<png_uint_32>(Image::kMaxDimension)) {
    png_image_free(&image);
    return std::nullopt;
  }
  image.format = PNG_FORMAT_RGBA;
  std::vector<std::uint8_t> pixels(PNG_IMAGE_SIZE(image));
  if (png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr) == 0) {
    png_image_free(&image);
    return std::nullopt;
  }
  return Image(static_cast<int>(image.width), static_cast<int>(image.height), std::move(pixels));
}

std::string ImageCodec::encodePng(const Image& source) {
  if (source.empty()) return {};
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(source.width());
  image.height = static_cast<png_uint_32>(source.height());
  image.format = PNG_FORMAT_RGBA;
  png_alloc_size_t size = 0;
  if (png_image_write_to_memory(&image, nullptr, &size, 0, source.pixels().data(), 0, nullptr) ==
          0 ||
      size == 0) {
    return {};
  }
  std::string out(size, '\0');
  if (png_image_write_to_memory(&image, out.data(), &size, 0, source.pixels().data(), 0, nullptr) ==
      0) {
    return {};
  }
  out.resize(size);
  return out;
}

}  // namespace lk

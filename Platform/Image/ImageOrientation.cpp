#include "Platform/Image/ImageOrientation.h"

#include <libexif/exif-data.h>

#include <memory>

namespace lk {

namespace {

struct ExifDataFree {
  void operator()(ExifData* data) const { exif_data_unref(data); }
};

Image mirrored(const Image& image) {
  // Upside down and turned half round is left to right.
  return image.flippedVertically().rotated(180);
}

}  // namespace

ImageOrientation jpegOrientation(std::string_view bytes) {
  if (bytes.size() < 4 || static_cast<unsigned char>(bytes[0]) != 0xFF ||
      static_cast<unsigned char>(bytes[1]) != 0xD8) {
    return ImageOrientation::kUp;
  }
  std::unique_ptr<ExifData, ExifDataFree> data(
      exif_data_new_from_data(reinterpret_cast<const unsigned char*>(bytes.data()),
                              static_cast<unsigned int>(bytes.size())));
  if (!data) return ImageOrientation::kUp;
  ExifEntry* entry = exif_data_get_entry(data.get(), EXIF_TAG_ORIENTATION);
  if (entry == nullptr || entry->format != EXIF_FORMAT_SHORT || entry->components != 1) {
    return ImageOrientation::kUp;
  }
  const int value = exif_get_short(entry->data, exif_data_get_byte_order(data.get()));
  if (value < 1 || value > 8) return ImageOrientation::kUp;
  return static_cast<ImageOrientation>(value);
}

Image uprightImage(const Image& image, ImageOrientation orientation) {
  switch (orientation) {
    case ImageOrientation::kUp:
      return image;
    case ImageOrientation::kUpMirrored:
      return mirrored(image);
    case ImageOrientation::kDown:
      return image.rotated(180);
    case ImageOrientation::kDownMirrored:
      return mirrored(image).rotated(180);
    case ImageOrientation::kLeftMirrored:
      return mirrored(image).rotated(270);
    case ImageOrientation::kRight:
      return image.rotated(90);
    case ImageOrientation::kRightMirrored:
      return mirrored(image).rotated(90);
    case ImageOrientation::kLeft:
      return image.rotated(270);
  }
  return image;
}

}  // namespace lk

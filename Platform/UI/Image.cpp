#include "Platform/UI/Image.h"

namespace lk::ui {

Image Image::named(std::string name, Size size) {
  Image image;
  image.name_ = std::move(name);
  image.size_ = size;
  return image;
}

Image Image::fromBitmap(std::shared_ptr<const Bitmap> bitmap, std::string name) {
  Image image;
  image.name_ = std::move(name);
  if (bitmap) image.size_ = Size{double(bitmap->width), double(bitmap->height)};
  image.bitmap_ = std::move(bitmap);
  return image;
}

Image Image::fromData(std::shared_ptr<const std::vector<std::uint8_t>> bytes, Size size,
                      std::string name) {
  Image image;
  image.name_ = std::move(name);
  image.size_ = size;
  image.data_ = std::move(bytes);
  return image;
}

Image Image::flippedUpsideDown() const {
  Image image = *this;
  image.flipped_ = !flipped_;
  return image;
}

Image Image::stretchableImage(double leftCapWidth, double topCapHeight) const {
  Image image = *this;
  image.leftCapWidth_ = leftCapWidth > 0 ? leftCapWidth : 0;
  image.topCapHeight_ = topCapHeight > 0 ? topCapHeight : 0;
  return image;
}

std::string Image::describe() const {
  if (flipped_) {
    Image plain = *this;
    plain.flipped_ = false;
    return plain.describe() + " (flipped)";
  }
  if (!name_.empty()) return name_;
  if (bitmap_) {
    return std::to_string(bitmap_->width) + "x" + std::to_string(bitmap_->height) + " bitmap";
  }
  if (data_) return std::to_string(data_->size()) + " bytes";
  return "(none)";
}

}  // namespace lk::ui

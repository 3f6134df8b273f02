#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "Platform/UI/Geometry.h"

namespace lk::ui {

// Decoded pixels, 8-bit RGBA rows without padding.
struct Bitmap {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> rgba;
};

// A cheap, copyable image handle: an application resource by name (placeholders, icons) or
// pixels decoded from bytes. Images are immutable; copies share the pixels.
class Image {
 public:
  Image() = default;

  // A resource image. The headless toolkit does not load the file; the name is what dumps and
  // recorded drawings show, and what a graphical front end loads.
  static Image named(std::string name, Size size = {});
  // Decoded pixels (the image codecs produce them); `name` is optional and only descriptive.
  static Image fromBitmap(std::shared_ptr<const Bitmap> bitmap, std::string name = {});
  // Encoded bytes (JPEG or PNG as downloaded) not decoded here: the codecs or a graphical front
  // end decode them. `size` is the picture's size when the caller knows it.
  static Image fromData(std::shared_ptr<const std::vector<std::uint8_t>> bytes, Size size = {},
                        std::string name = {});
  [[nodiscard]] const std::shared_ptr<const std::vector<std::uint8_t>>& data() const {
    return data_;
  }

  // The same picture turned upside down (drawn flipped; dumps add " (flipped)").
  [[nodiscard]] Image flippedUpsideDown() const;
  [[nodiscard]] bool isFlipped() const { return flipped_; }

  // The same picture drawn stretchable: the `leftCapWidth` points on the left and the
  // `topCapHeight` points at the top keep their size, as do the parts right of and below the
  // one-point column and row that follow them; that column and row stretch. A cap of 0 scales that
  // axis as a plain picture does. Dumps do not show it.
  [[nodiscard]] Image stretchableImage(double leftCapWidth, double topCapHeight) const;
  [[nodiscard]] double leftCapWidth() const { return leftCapWidth_; }
  [[nodiscard]] double topCapHeight() const { return topCapHeight_; }

  [[nodiscard]] bool isNull() const { return name_.empty() && !bitmap_ && !data_; }
  [[nodiscard]] const std::string& name() const { return name_; }
  [[nodiscard]] Size size() const { return size_; }
  [[nodiscard]] const std::shared_ptr<const Bitmap>& bitmap() const { return bitmap_; }
  // What dumps print: the name, or "<w>x<h> bitmap" for an anonymous decoded picture.
  [[nodiscard]] std::string describe() const;

  friend bool operator==(const Image& a, const Image& b) {
    return a.name_ == b.name_ && a.size_ == b.size_ && a.bitmap_ == b.bitmap_ &&
           a.data_ == b.data_ && a.flipped_ == b.flipped_ && a.leftCapWidth_ == b.leftCapWidth_ &&
           a.topCapHeight_ == b.topCapHeight_;
  }

 private:
  std::string name_;
  Size size_;
  std::shared_ptr<const Bitmap> bitmap_;
  std::shared_ptr<const std::vector<std::uint8_t>> data_;
  bool flipped_ = false;
  double leftCapWidth_ = 0;
  double topCapHeight_ = 0;
};

}  // namespace lk::ui

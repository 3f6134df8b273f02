#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "Platform/Image/Image.h"

namespace lk {

// Picture file formats. Decoding recognises the format by the bytes themselves; anything that is
// not a complete, sane JPEG or PNG (truncated, larger than Image::kMaxDimension on a side, a
// decompression bomb) decodes to nothing.
class ImageCodec {
 public:
  enum class Format { kUnknown, kJpeg, kPng };

  // Progressive files may hold any number of scans, each costing a pass over the whole picture;
  // real encoders write about ten, hostile files thousands.
  static constexpr int kMaxJpegScans = 64;

  [[nodiscard]] static Format formatOf(std::string_view bytes);
  [[nodiscard]] static std::optional<Image> decode(std::string_view bytes);

  // Lossless, keeps transparency. Empty on failure.
  [[nodiscard]] static std::string encodePng(const Image& image);
  // `quality` from 0.0 (smallest) to 1.0 (best); transparency is dropped onto white. Empty on
  // failure.
  [[nodiscard]] static std::string encodeJpeg(const Image& image, double quality);

 private:
  static std::optional<Image> decodeJpeg(std::string_view bytes);
  static std::optional<Image> decodePng(std::string_view bytes);
};

}  // namespace lk

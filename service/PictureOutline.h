#pragma once

#include <optional>
#include <string_view>

namespace lk::service {

// What a picture file declares about itself, read from its headers without decoding anything,
// so that an upload can be refused before a decoder allocates for it.
struct PictureOutline {
  // The client's image layer decodes nothing larger on a side, nor JPEG files with more scans;
  // the service keeps nothing it would refuse.
  static constexpr int kMaxDimension = 8192;
  static constexpr int kMaxScans = 64;

  int width = 0;
  int height = 0;
  int scans = 0;  // JPEG: start-of-scan markers in the file; PNG: 0

  // nullopt when the markers up to the first frame header cannot be read.
  [[nodiscard]] static std::optional<PictureOutline> ofJpeg(std::string_view bytes);
  // nullopt without a PNG signature and header chunk.
  [[nodiscard]] static std::optional<PictureOutline> ofPng(std::string_view bytes);

  [[nodiscard]] bool withinLimits() const {
    return width > 0 && height > 0 && width <= kMaxDimension && height <= kMaxDimension &&
           scans <= kMaxScans;
  }
};

}  // namespace lk::service

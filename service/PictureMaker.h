#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lk::service {

// Makes the pictures the service hands out: coloured tiles with a short label drawn in a small
// bitmap font, encoded as real JPEG or PNG bytes, and the verification-code picture.
class PictureMaker {
 public:
  struct Rgb {
    std::uint8_t r, g, b;
  };

  // A tile of `width` x `height` in a gradient from `colour`, with a border and `label`
  // (digits, capital letters, '-' and ' ') centred.
  [[nodiscard]] static std::string jpegTile(int width, int height, Rgb colour,
                                            std::string_view label, int quality = 80);
  [[nodiscard]] static std::string pngTile(int width, int height, Rgb colour,
                                           std::string_view label);
  // The verification-code picture: 100 x 40 PNG showing `code` over light noise.
  [[nodiscard]] static std::string verifyCodePng(std::string_view code, std::uint32_t seed);

  // A smaller JPEG of an uploaded JPEG (a quarter of each side at most); nullopt when the bytes
  // do not decode as JPEG.
  [[nodiscard]] static std::optional<std::string> jpegThumbnail(std::string_view jpeg);
  [[nodiscard]] static bool looksLikeJpeg(std::string_view bytes);
  [[nodiscard]] static bool looksLikePng(std::string_view bytes);

  // Encoders of a packed RGB image (3 bytes a pixel, rows top to bottom).
  [[nodiscard]] static std::string encodeJpeg(const std::vector<std::uint8_t>& rgb, int width,
                                              int height, int quality);
  [[nodiscard]] static std::string encodePng(const std::vector<std::uint8_t>& rgb, int width,
                                             int height);
};

}  // namespace lk::service

#include "service/PictureOutline.h"

#include <cstddef>
#include <cstdint>

namespace lk::service {

namespace {

unsigned byteAt(std::string_view bytes, std::size_t at) {
  return static_cast<unsigned char>(bytes[at]);
}

unsigned be16(std::string_view bytes, std::size_t at) {
  return (byteAt(bytes, at) << 8) | byteAt(bytes, at + 1);
}

std::uint32_t be32(std::string_view bytes, std::size_t at) {
  return (std::uint32_t{be16(bytes, at)} << 16) | be16(bytes, at + 2);
}

bool isFrameHeader(unsigned marker) {
  // SOF0...SOF15 except DHT (C4), JPG (C8) and DAC (CC).
  return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

// The position of the marker after the entropy-coded data that starts at `at`: stuffed zero
// bytes and restart markers belong to the data.
std::size_t skipScanData(std::string_view bytes, std::size_t at) {
  while (at + 1 < bytes.size()) {
    if (byteAt(bytes, at) == 0xFF) {
      const unsigned next = byteAt(bytes, at + 1);
      if (next != 0x00 && next != 0xFF && !(next >= 0xD0 && next <= 0xD7)) return at;
    }
    ++at;
  }
  return bytes.size();
}

}  // namespace

std::optional<PictureOutline> PictureOutline::ofJpeg(std::string_view bytes) {
  if (bytes.size() < 4 || byteAt(bytes, 0) != 0xFF || byteAt(bytes, 1) != 0xD8) {
    return std::nullopt;
  }
  PictureOutline outline;
  bool haveFrame = false;
  std::size_t at = 2;
  while (at + 1 < bytes.size()) {
    if (byteAt(bytes, at) != 0xFF) break;  // garbage between segments: stop reading
    unsigned marker = byteAt(bytes, at + 1);
    if (marker == 0xFF) {  // fill byte
      ++at;
      continue;
    }
    at += 2;
    if (marker == 0xD9) break;                                           // end of image
    if ((marker >= 0xD0 && marker <= 0xD7) || marker == 0x01) continue;  // no length
    if (at + 2 > bytes.size()) break;
    const std::size_t length = be16(bytes, at);
    if (length < 2 || at + length > bytes.size()) break;
    if (isFrameHeader(marker) && !haveFrame && length >= 7) {
      outline.height = static_cast<int>(be16(bytes, at + 3));
      outline.width = static_cast<int>(be16(bytes, at + 5));
      haveFrame = true;
    }
    at += length;
    if (marker == 0xDA) {
      ++outline.scans;
      at = skipScanData(bytes, at);
    }
  }
  if (!haveFrame) return std::nullopt;
  return outline;
}

std::optional<PictureOutline> PictureOutline::ofPng(std::string_view bytes) {
  // Signature, then the IHDR chunk: length, type, width, height.
  if (bytes.size() < 24 || bytes.substr(0, 8) != std::string_view("\x89PNG\r\n\x1a\n", 8) ||
      bytes.substr(12, 4) != "IHDR") {
    return std::nullopt;
  }
  const std::uint32_t width = be32(bytes, 16);
  const std::uint32_t height = be32(bytes, 20);
  PictureOutline outline;
  // Values beyond int's range are far beyond the limit anyway.
  outline.width = width > 0x7FFFFFFFu ? 0x7FFFFFFF : static_cast<int>(width);
  outline.height = height > 0x7FFFFFFFu ? 0x7FFFFFFF : static_cast<int>(height);
  return outline;
}

}  // namespace lk::service

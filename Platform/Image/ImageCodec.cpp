#include "Platform/Image/ImageCodec.h"

namespace lk {

ImageCodec::Format ImageCodec::formatOf(std::string_view bytes) {
  if (bytes.size() >= 3 && bytes.substr(0, 3) == std::string_view("\xFF\xD8\xFF", 3)) {
    return Format::kJpeg;
  }
  if (bytes.size() >= 8 && bytes.substr(0, 8) == std::string_view("\x89PNG\r\n\x1A\n", 8)) {
    return Format::kPng;
  }
  return Format::kUnknown;
}

std::optional<Image> ImageCodec::decode(std::string_view bytes) {
  switch (formatOf(bytes)) {
    case Format::kJpeg:
      return decodeJpeg(bytes);
    case Format::kPng:
      return decodePng(bytes);
    case Format::kUnknown:
      break;
  }
  return std::nullopt;
}

}  // namespace lk

#include "Classes/Broadcasts/BroadcastPhoto.h"

#include <algorithm>

#include "Classes/ServiceClient/ByteBuffer.h"
#include "Platform/Image/ImageCodec.h"

namespace lk {

BroadcastPhoto::Size BroadcastPhoto::scaledSize(int width, int height) {
  if (width < kLimit || height < kLimit) return {width, height};
  const int factor = std::min(width / kLimit, height / kLimit);
  return {width / factor, height / factor};
}

Image BroadcastPhoto::prepared(const Image& picture, ImageOrientation orientation) {
  Image upright = uprightImage(picture, orientation);
  const Size size = scaledSize(upright.width(), upright.height());
  if (size.width == upright.width() && size.height == upright.height()) return upright;
  return upright.scaled(size.width, size.height);
}

std::optional<std::string> BroadcastPhoto::base64Text(const Image& upright) {
  if (upright.empty()) return std::nullopt;
  const std::string jpeg = ImageCodec::encodeJpeg(upright, kJpegQuality);
  if (jpeg.empty()) return std::nullopt;
  return base64EncodingWithLineLength(jpeg, static_cast<unsigned int>(jpeg.size()));
}

}  // namespace lk

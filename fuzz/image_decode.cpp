// Arbitrary bytes into the picture decoders: nothing may crash, leak or exceed the size cap.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "Platform/Image/ImageCodec.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  if (const auto image = lk::ImageCodec::decode(bytes)) {
    if (image->width() > lk::Image::kMaxDimension || image->height() > lk::Image::kMaxDimension ||
        image->pixels().size() != static_cast<std::size_t>(image->width()) * image->height() * 4) {
      std::abort();
    }
  }
  return 0;
}

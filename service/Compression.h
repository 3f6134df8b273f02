#pragma once

#include <string>
#include <string_view>

namespace lk::service {

// The two compressed answer forms the client decodes: a gzip stream, or a 4-byte big-endian
// uncompressed length followed by a zlib stream.
class Compression {
 public:
  enum class Format { Gzip, LengthPrefixedZlib };

  [[nodiscard]] static std::string compress(std::string_view data, Format format);
  [[nodiscard]] static std::string gzip(std::string_view data);
  [[nodiscard]] static std::string lengthPrefixedZlib(std::string_view data);
};

}  // namespace lk::service

#pragma once

#include <zlib.h>

#include <stdexcept>
#include <string>
#include <string_view>

namespace lk::test {

// Deflates `data` with gzip framing (windowBits 31) or zlib framing.
inline std::string deflateBytes(std::string_view data, bool gzip) {
  z_stream zs{};
  if (deflateInit2(&zs, Z_BEST_COMPRESSION, Z_DEFLATED, gzip ? 31 : 15, 8, Z_DEFAULT_STRATEGY) !=
      Z_OK)
    throw std::runtime_error("deflateInit2 failed");
  std::string out(deflateBound(&zs, static_cast<uLong>(data.size())), '\0');
  zs.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
  zs.avail_in = static_cast<uInt>(data.size());
  zs.next_out = reinterpret_cast<Bytef*>(out.data());
  zs.avail_out = static_cast<uInt>(out.size());
  const int ret = deflate(&zs, Z_FINISH);
  out.resize(zs.total_out);
  deflateEnd(&zs);
  if (ret != Z_STREAM_END) throw std::runtime_error("deflate failed");
  return out;
}

inline std::string gzipBytes(std::string_view data) {
  return deflateBytes(data, true);
}

// The service's other compressed format: a 4-byte big-endian length, then a zlib stream.
inline std::string lengthPrefixedZlib(std::string_view data, std::uint32_t announced) {
  std::string out;
  out.push_back(static_cast<char>(announced >> 24));
  out.push_back(static_cast<char>(announced >> 16));
  out.push_back(static_cast<char>(announced >> 8));
  out.push_back(static_cast<char>(announced));
  return out + deflateBytes(data, false);
}

inline std::string lengthPrefixedZlib(std::string_view data) {
  return lengthPrefixedZlib(data, static_cast<std::uint32_t>(data.size()));
}

}  // namespace lk::test

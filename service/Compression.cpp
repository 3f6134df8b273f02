#include "service/Compression.h"

#include <zlib.h>

#include <stdexcept>

namespace lk::service {

std::string Compression::compress(std::string_view data, Format format) {
  return format == Format::Gzip ? gzip(data) : lengthPrefixedZlib(data);
}

std::string Compression::gzip(std::string_view data) {
  z_stream zs{};
  // Window bits 31: a gzip header and trailer around the deflate stream.
  if (deflateInit2(&zs, Z_DEFAULT_COMPRESSION, Z_DEFLATED, 31, 8, Z_DEFAULT_STRATEGY) != Z_OK) {
    throw std::runtime_error("deflateInit2 failed");
  }
  std::string out(deflateBound(&zs, static_cast<uLong>(data.size())) + 32, '\0');
  zs.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
  zs.avail_in = static_cast<uInt>(data.size());
  zs.next_out = reinterpret_cast<Bytef*>(out.data());
  zs.avail_out = static_cast<uInt>(out.size());
  const int rc = deflate(&zs, Z_FINISH);
  deflateEnd(&zs);
  if (rc != Z_STREAM_END) throw std::runtime_error("deflate failed");
  out.resize(zs.total_out);
  return out;
}

std::string Compression::lengthPrefixedZlib(std::string_view data) {
  uLongf bound = compressBound(static_cast<uLong>(data.size()));
  std::string out(4 + bound, '\0');
  if (::compress2(reinterpret_cast<Bytef*>(out.data() + 4), &bound,
                  reinterpret_cast<const Bytef*>(data.data()), static_cast<uLong>(data.size()),
                  Z_DEFAULT_COMPRESSION) != Z_OK) {
    throw std::runtime_error("compress2 failed");
  }
  const auto n = static_cast<std::uint32_t>(data.size());
  out[0] = static_cast<char>((n >> 24) & 0xFF);
  out[1] = static_cast<char>((n >> 16) & 0xFF);
  out[2] = static_cast<char>((n >> 8) & 0xFF);
  out[3] = static_cast<char>(n & 0xFF);
  out.resize(4 + bound);
  return out;
}

}  // namespace lk::service

#include "Classes/ServiceClient/ByteBuffer.h"

#include <zlib.h>

#include <algorithm>
#include <cstdint>

#include "Platform/Log/Log.h"

namespace lk {
namespace {

constexpr const char* kFunction = "decompressGZip";

// Inflates `input` (zlib or gzip framing, by `windowBits`) into at most `limit` bytes. Returns
// nothing when the stream is damaged, ends early, or would produce more than `limit` bytes.
std::optional<std::string> inflateBounded(std::string_view input, int windowBits, std::size_t limit,
                                          std::size_t initialCapacity) {
  z_stream zs{};
  zs.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(input.data()));
  zs.avail_in = static_cast<uInt>(input.size());
  const int init = inflateInit2(&zs, windowBits);
  if (init != Z_OK) {
    logf("%s: inflateInit2() failed with error %i", kFunction, init);
    return std::nullopt;
  }

  // One byte of room beyond the limit tells "exactly at the limit" from "more to come".
  const std::size_t ceiling = limit + 1;
  std::string out;
  out.resize(std::clamp<std::size_t>(initialCapacity, 1, ceiling));
  std::size_t produced = 0;
  bool ok = false;
  for (;;) {
    if (produced == out.size()) {
      if (out.size() >= ceiling) break;  // over the limit
      out.resize(std::min(ceiling, out.size() * 2));
    }
    const std::size_t room = std::min<std::size_t>(out.size() - produced, 1u << 30);
    zs.next_out = reinterpret_cast<Bytef*>(out.data() + produced);
    zs.avail_out = static_cast<uInt>(room);
    const int ret = inflate(&zs, Z_NO_FLUSH);
    produced += room - zs.avail_out;
    if (ret == Z_STREAM_END) {
      ok = produced <= limit;
      break;
    }
    if (ret == Z_OK) continue;
    if (ret == Z_BUF_ERROR && zs.avail_in != 0 && produced == out.size()) continue;  // needs room
    if (ret != Z_BUF_ERROR) logf("%s: inflate() failed with error %i", kFunction, ret);
    break;  // damaged, or the input ended before the stream did
  }
  inflateEnd(&zs);
  if (!ok) return std::nullopt;
  out.resize(produced);
  return out;
}

}  // namespace

std::optional<std::string> decompressGZip(std::string_view data) {
  if (data.empty()) return std::nullopt;
  const auto* bytes = reinterpret_cast<const unsigned char*>(data.data());
  const bool gzipMagic = data.size() >= 2 && bytes[0] == 0x1F && bytes[1] == 0x8B;
  if (data.size() > 3 && !gzipMagic) {
    const std::uint32_t length = (std::uint32_t{bytes[0]} << 24) | (std::uint32_t{bytes[1]} << 16) |
                                 (std::uint32_t{bytes[2]} << 8) | std::uint32_t{bytes[3]};
    if (length >= (1u << 30) || length > kMaxInflatedSize) return std::nullopt;
    const std::string_view stream = data.substr(4);
    // Deflate expands at most about 1032 times: room beyond that is never needed.
    const std::size_t plausible = stream.size() * 1032 + 64;
    auto out = inflateBounded(stream, MAX_WBITS, length, std::min<std::size_t>(length, plausible));
    if (!out || out->size() != length) return std::nullopt;  // short of the announced length
    return out;
  }
  // A gzip stream ends with its uncompressed size (modulo 2^32). It is only a hint: a plausible
  // one sizes the buffer in one go; the bounds above still hold whatever it says.
  std::size_t capacity = data.size() * 4;
  if (data.size() >= 18) {
    const auto* tail = bytes + data.size() - 4;
    const std::size_t hinted = std::size_t{tail[0]} | (std::size_t{tail[1]} << 8) |
                               (std::size_t{tail[2]} << 16) | (std::size_t{tail[3]} << 24);
    if (hinted <= kMaxInflatedSize && hinted <= data.size() * 1032) capacity = hinted + 1;
  }
  return inflateBounded(data, MAX_WBITS + 16, kMaxInflatedSize, capacity);
}

std::string base64EncodingWithLineLength(std::string_view data, unsigned int lineLength) {
  static constexpr char kAlphabet[] =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  const auto* in = reinterpret_cast<const unsigned char*>(data.data());
  const std::size_t n = data.size();
  std::string out;
  std::size_t reserve = (n + 2) / 3 * 4;
  if (lineLength != 0) reserve += reserve / std::min<std::size_t>(lineLength, 4) + 1;
  out.reserve(reserve);

  std::int16_t charsOnLine = 0;
  for (std::size_t i = 0; i < n; i += 3) {
    const std::size_t left = n - i;
    const unsigned b0 = in[i];
    const unsigned b1 = left > 1 ? in[i + 1] : 0;
    const unsigned b2 = left > 2 ? in[i + 2] : 0;
    out.push_back(kAlphabet[b0 >> 2]);
    out.push_back(kAlphabet[((b0 & 0x03) << 4) | (b1 >> 4)]);
    out.push_back(left > 1 ? kAlphabet[((b1 & 0x0F) << 2) | (b2 >> 6)] : '=');
    out.push_back(left > 2 ? kAlphabet[b2 & 0x3F] : '=');
    if (lineLength != 0) {
      charsOnLine = static_cast<std::int16_t>(charsOnLine + 4);  // wraps past 32767
      if (static_cast<unsigned int>(static_cast<int>(charsOnLine)) >= lineLength) {
        out.push_back('\n');
        charsOnLine = 0;
      }
    }
  }
  return out;
}

}  // namespace lk

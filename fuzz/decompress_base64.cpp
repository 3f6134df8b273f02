// Feeds arbitrary bytes to the compressed-answer reader and the Base64 writer, and checks that
// valid streams made from the same bytes come back unchanged.
#include <zlib.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "Classes/ServiceClient/ByteBuffer.h"

namespace {

void check(bool condition) {
  if (!condition) std::abort();
}

std::string zlibWithLengthPrefix(std::string_view data) {
  uLongf size = compressBound(static_cast<uLong>(data.size()));
  std::string out(4 + size, '\0');
  const auto n = static_cast<std::uint32_t>(data.size());
  out[0] = static_cast<char>(n >> 24);
  out[1] = static_cast<char>(n >> 16);
  out[2] = static_cast<char>(n >> 8);
  out[3] = static_cast<char>(n);
  if (compress(reinterpret_cast<Bytef*>(out.data() + 4), &size,
               reinterpret_cast<const Bytef*>(data.data()),
               static_cast<uLong>(data.size())) != Z_OK)
    std::abort();
  out.resize(4 + size);
  return out;
}

bool isBase64Character(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '+' ||
         c == '/' || c == '=' || c == '\n';
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);

  // Hostile input: never crash, never exceed the cap.
  if (const auto out = lk::decompressGZip(input)) check(out->size() <= lk::kMaxInflatedSize);

  // Valid input: the same bytes come back.
  if (size > 0) check(lk::decompressGZip(zlibWithLengthPrefix(input)) == std::string(input));

  // Base64 with a line length taken from the first bytes.
  unsigned int lineLength = 0;
  if (size >= 2) lineLength = (unsigned{data[0]} | (unsigned{data[1]} << 8)) * (data[0] % 3);
  const std::string text = lk::base64EncodingWithLineLength(input, lineLength);
  std::size_t characters = 0;
  for (const char c : text) {
    check(isBase64Character(c));
    if (c != '\n') ++characters;
  }
  check(characters == (size + 2) / 3 * 4);
  if (lineLength == 0) check(text.find('\n') == std::string::npos);
  return 0;
}

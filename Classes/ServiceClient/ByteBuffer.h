#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// Operations on byte buffers. A byte buffer is a std::string holding raw bytes.
namespace lk {

// No answer of the service inflates anywhere near this; a larger one is refused.
inline constexpr std::size_t kMaxInflatedSize = 64u * 1024u * 1024u;

// The uncompressed bytes of a compressed answer, or nothing. Two formats: a gzip stream (it
// starts with 0x1F 0x8B; inputs of 3 bytes or fewer are read as gzip too), or a 4-byte
// big-endian uncompressed length followed by a zlib stream, which must inflate to exactly that
// length. Damaged, truncated or oversized input gives nothing; memory grows only with the output
// actually produced.
std::optional<std::string> decompressGZip(std::string_view data);

// Base64 (RFC 4648 alphabet, "=" padding). With a line length L other than 0, after each group
// of four output characters the count of characters since the last line feed is checked: the
// count is a signed 16-bit number compared unsigned against L, and when it is not below L a "\n"
// follows and the count restarts. So lines hold about L characters for L up to 32764, and 32768
// characters for any larger L.
std::string base64EncodingWithLineLength(std::string_view data, unsigned int lineLength);

}  // namespace lk

#include "Platform/UI/DumpWriter.h"

#include <cstdint>

namespace lk::ui {

namespace {

void appendHex(std::string& out, const char* prefix, std::uint32_t value, int digits) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  out += prefix;
  for (int shift = (digits - 1) * 4; shift >= 0; shift -= 4)
    out.push_back(kDigits[(value >> shift) & 0xF]);
}

// The length of the well-formed UTF-8 sequence at the start of `s` and its code point, or 0.
std::size_t decodeUtf8(std::string_view s, std::uint32_t& cp) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(s[i]); };
  const unsigned char b0 = byte(0);
  std::size_t n = 0;
  if (b0 >= 0xC2 && b0 <= 0xDF) {
    n = 2;
    cp = b0 & 0x1Fu;
  } else if (b0 >= 0xE0 && b0 <= 0xEF) {
    n = 3;
    cp = b0 & 0x0Fu;
  } else if (b0 >= 0xF0 && b0 <= 0xF4) {
    n = 4;
    cp = b0 & 0x07u;
  } else {
    return 0;
  }
  if (s.size() < n) return 0;
  for (std::size_t i = 1; i < n; ++i) {
    if ((byte(i) & 0xC0) != 0x80) return 0;
    cp = (cp << 6) | (byte(i) & 0x3Fu);
  }
  // Overlong forms, surrogates and values past U+10FFFF are not UTF-8.
  if ((n == 3 && cp < 0x800) || (n == 4 && (cp < 0x10000 || cp > 0x10FFFF)) ||
      (cp >= 0xD800 && cp <= 0xDFFF)) {
    return 0;
  }
  return n;
}

}  // namespace

std::string DumpWriter::visible(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  std::size_t i = 0;
  while (i < text.size()) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c < 0x80) {
      if (c == '\n') {
        out += "\\n";
      } else if (c == '\r') {
        out += "\\r";
      } else if (c == '\t') {
        out += "\\t";
      } else if (c < 0x20 || c == 0x7F) {
        appendHex(out, "\\x", c, 2);
      } else {
        out.push_back(static_cast<char>(c));
      }
      ++i;
      continue;
    }
    std::uint32_t cp = 0;
    const std::size_t n = decodeUtf8(text.substr(i), cp);
    if (n == 0) {
      appendHex(out, "\\x", c, 2);
      ++i;
      continue;
    }
    if (cp <= 0x9F || cp == 0x2028 || cp == 0x2029) {
      appendHex(out, "\\u", cp, 4);
    } else {
      out.append(text.substr(i, n));
    }
    i += n;
  }
  return out;
}

void DumpWriter::line(std::string_view text) {
  text_.append(static_cast<std::size_t>(depth_) * 2, ' ');
  text_.append(visible(text));
  text_.push_back('\n');
}

}  // namespace lk::ui

#include "Platform/Net/UrlEscape.h"

#include <array>
#include <string_view>

namespace lk {
namespace {

// Which bytes may stand in a URL as they are: letters, digits, "-._~", the reserved characters
// and "%".
constexpr std::array<bool, 256> makeLegalTable() {
  std::array<bool, 256> table{};
  for (int c = 'A'; c <= 'Z'; ++c)
    table[static_cast<std::size_t>(c)] = true;
  for (int c = 'a'; c <= 'z'; ++c)
    table[static_cast<std::size_t>(c)] = true;
  for (int c = '0'; c <= '9'; ++c)
    table[static_cast<std::size_t>(c)] = true;
  for (const char c : std::string_view("-._~:/?#[]@!$&'()*+,;=%"))
    table[static_cast<unsigned char>(c)] = true;
  return table;
}

constexpr std::array<bool, 256> kLegal = makeLegalTable();

}  // namespace

std::string percentEscapeURL(std::string_view text) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::size_t escaped = 0;
  for (const char ch : text)
    escaped += kLegal[static_cast<unsigned char>(ch)] ? 0 : 1;
  if (escaped == 0) return std::string(text);  // the usual case: nothing to do

  std::string out(text.size() + 2 * escaped, '\0');
  char* p = out.data();
  for (const char ch : text) {
    const auto c = static_cast<unsigned char>(ch);
    if (kLegal[c]) {
      *p++ = ch;
    } else {
      *p++ = '%';
      *p++ = kHex[c >> 4];
      *p++ = kHex[c & 0x0F];
    }
  }
  return out;
}

}  // namespace lk

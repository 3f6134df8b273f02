#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace lk::service {

// Standard Base64 (RFC 4648 alphabet, "=" padding). Decoding skips line breaks and spaces, which
// the client's uploads carry, and refuses anything else outside the alphabet.
class Base64 {
 public:
  [[nodiscard]] static std::string encode(std::string_view bytes);
  [[nodiscard]] static std::optional<std::string> decode(std::string_view text);
};

}  // namespace lk::service

#pragma once

#include <string>
#include <string_view>

namespace lk {

// The MD5 digest of `bytes` as 32 lower-case hex digits (used to name cache files, not for
// security).
[[nodiscard]] std::string md5Hex(std::string_view bytes);

}  // namespace lk

#pragma once

#include <string>
#include <string_view>

namespace lk {

// `text` without leading and trailing white space and line breaks, the ideographic space
// (U+3000, which a Chinese keyboard types) included.
[[nodiscard]] std::string trimmedText(std::string_view text);

}  // namespace lk

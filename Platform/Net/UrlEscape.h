#pragma once

#include <string>
#include <string_view>

namespace lk {

// Percent-escapes the characters that may not stand in a URL (space, controls, quotes, angle
// brackets, braces, "|", "\", "^", "`" and every non-ASCII byte) as "%" and two upper-case hex
// digits per UTF-8 byte. Letters, digits, "-._~", the reserved characters (":/?#[]@!$&'()*+,;=")
// and "%" itself stay, so a caller may pre-escape a value.
std::string percentEscapeURL(std::string_view text);

}  // namespace lk

#pragma once

#include <string_view>

namespace lk {

// HTTP field names compare without regard to ASCII case.
bool headerFieldNameEquals(std::string_view a, std::string_view b);

}  // namespace lk

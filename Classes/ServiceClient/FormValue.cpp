#include "Classes/ServiceClient/FormValue.h"

namespace lk {

FormValue FormValue::preEscaped(std::string wireText) {
  FormValue value(std::move(wireText));
  value.preEscaped_ = true;
  return value;
}

std::string FormValue::escape(std::string_view text) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(text.size() + text.size() / 2);
  for (const char ch : text) {
    const auto c = static_cast<unsigned char>(ch);
    const bool kept = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                      c == '*' || c == '-' || c == '.' || c == '_';
    if (kept) {
      out.push_back(ch);
    } else if (c == ' ') {
      out.push_back('+');
    } else {
      out.push_back('%');
      out.push_back(kHex[c >> 4]);
      out.push_back(kHex[c & 0x0F]);
    }
  }
  return out;
}

}  // namespace lk

#include "Classes/Coupons/MobileNumber.h"

#include "Platform/UI/TextMeasure.h"

namespace lk {

namespace {

bool isBlank(char32_t c) {
  return c == U' ' || c == U'\t' || c == U'\n' || c == U'\r' || c == U'\v' || c == U'\f' ||
         c == U'\u3000' || c == U'\u00A0';
}

}  // namespace

std::size_t MobileNumber::characterCount(std::string_view text) {
  return ui::TextMeasure::decode(text).size();
}

std::string MobileNumber::trimmed(std::string_view text) {
  std::u32string chars = ui::TextMeasure::decode(text);
  std::size_t begin = 0;
  std::size_t end = chars.size();
  while (begin < end && isBlank(chars[begin]))
    ++begin;
  while (end > begin && isBlank(chars[end - 1]))
    --end;
  return ui::TextMeasure::encode(std::u32string_view(chars).substr(begin, end - begin));
}

bool MobileNumber::acceptsEdit(std::string_view fieldText, std::string_view replacement) {
  if (replacement.empty()) return true;
  if (replacement == " " || fieldText == " ") return false;
  return characterCount(fieldText) < kLength;
}

std::optional<std::string> MobileNumber::normalized(std::string_view text) {
  const std::u32string chars = ui::TextMeasure::decode(trimmed(text));
  if (chars.size() != kLength) return std::nullopt;
  std::string digits;
  for (char32_t c : chars) {
    if (c >= U'0' && c <= U'9') {
      digits.push_back(static_cast<char>('0' + (c - U'0')));
    } else if (c >= U'\uFF10' && c <= U'\uFF19') {
      digits.push_back(static_cast<char>('0' + (c - U'\uFF10')));
    } else {
      return std::nullopt;
    }
  }
  return digits;
}

}  // namespace lk

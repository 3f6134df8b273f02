#include "service/RequestChecks.h"

#include <algorithm>

namespace lk::service {

std::optional<int> RequestChecks::pathId(const std::string& segment) {
  if (segment.empty() || segment.size() > 10 ||
      !std::all_of(segment.begin(), segment.end(), [](char c) { return c >= '0' && c <= '9'; })) {
    return std::nullopt;
  }
  const auto value = FormFields::parseInteger(segment);
  if (!value || *value > 2147483647) return std::nullopt;
  return static_cast<int>(*value);
}

std::optional<RequestChecks::Page> RequestChecks::paging(const FormFields& query, int defaultSize,
                                                         int maxSize) {
  const auto p = query.integer("p", 0);
  const auto n = query.integer("n", defaultSize);
  if (!p || !n || *p < 0 || *p > 1000000 || *n < 1) return std::nullopt;
  return Page{static_cast<int>(*p), static_cast<int>(std::min<long long>(*n, maxSize))};
}

std::size_t RequestChecks::utf16Length(const std::string& text) {
  std::size_t units = 0;
  for (unsigned char c : text) {
    if ((c & 0xC0) == 0x80) continue;  // continuation byte
    units += (c >= 0xF0) ? 2 : 1;      // four-byte sequences need a surrogate pair
  }
  return units;
}

std::string RequestChecks::firstCharacters(const std::string& text, std::size_t limit, bool& cut) {
  std::size_t count = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if ((static_cast<unsigned char>(text[i]) & 0xC0) == 0x80) continue;
    if (count == limit) {
      cut = true;
      return text.substr(0, i);
    }
    ++count;
  }
  cut = false;
  return text;
}

bool RequestChecks::isValidUtf8(const std::string& text) {
  std::size_t i = 0;
  while (i < text.size()) {
    const auto c = static_cast<unsigned char>(text[i]);
    std::size_t extra = 0;
    if (c < 0x80) {
      extra = 0;
    } else if ((c & 0xE0) == 0xC0 && c >= 0xC2) {
      extra = 1;
    } else if ((c & 0xF0) == 0xE0) {
      extra = 2;
    } else if ((c & 0xF8) == 0xF0 && c <= 0xF4) {
      extra = 3;
    } else {
      return false;
    }
    if (i + extra >= text.size()) return false;
    for (std::size_t k = 1; k <= extra; ++k) {
      if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return false;
    }
    i += extra + 1;
  }
  return true;
}

}  // namespace lk::service

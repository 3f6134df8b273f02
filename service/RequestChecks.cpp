#include "service/RequestChecks.h"

#include <algorithm>

namespace lk::service {

std::optional<std::string> RequestChecks::refusal(const ServiceRequest& request) {
  if (request.query.overfull() || request.form.overfull()) return "too many parameters";
  if (!isValidUtf8(request.path) || !request.query.isValidUtf8() || !request.form.isValidUtf8()) {
    return "text must be UTF-8";
  }
  for (const FormFields* fields : {&request.query, &request.form}) {
    if (fields->text("xda_did").size() > kMaxDeviceId) return "xda_did too long";
    for (const char* key : {"xda_os", "xda_from", "xda_page", "xda_new"}) {
      if (fields->text(key).size() > kMaxStatistic) return std::string(key) + " too long";
    }
  }
  return std::nullopt;
}

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

bool RequestChecks::isValidUtf8(std::string_view text) {
  // RFC 3629: no overlong forms, no surrogates (U+D800...U+DFFF), nothing above U+10FFFF.
  auto byte = [&](std::size_t at) { return static_cast<unsigned char>(text[at]); };
  std::size_t i = 0;
  while (i < text.size()) {
    const unsigned char c = byte(i);
    if (c < 0x80) {
      ++i;
      continue;
    }
    std::size_t extra = 0;
    unsigned char low = 0x80;  // allowed range of the second byte
    unsigned char high = 0xBF;
    if (c >= 0xC2 && c <= 0xDF) {
      extra = 1;
    } else if (c >= 0xE0 && c <= 0xEF) {
      extra = 2;
      if (c == 0xE0) low = 0xA0;
      if (c == 0xED) high = 0x9F;
    } else if (c >= 0xF0 && c <= 0xF4) {
      extra = 3;
      if (c == 0xF0) low = 0x90;
      if (c == 0xF4) high = 0x8F;
    } else {
      return false;
    }
    if (i + extra >= text.size()) return false;
    if (byte(i + 1) < low || byte(i + 1) > high) return false;
    for (std::size_t k = 2; k <= extra; ++k) {
      if ((byte(i + k) & 0xC0) != 0x80) return false;
    }
    i += extra + 1;
  }
  return true;
}

}  // namespace lk::service

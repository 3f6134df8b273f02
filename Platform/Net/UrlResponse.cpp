#include "Platform/Net/UrlResponse.h"

#include <charconv>

#include "Platform/Net/HeaderFieldName.h"

namespace lk {

std::optional<std::string> UrlResponse::valueForHeaderField(const std::string& name) const {
  for (const auto& [field, value] : headerFields) {
    if (headerFieldNameEquals(field, name)) return value;
  }
  return std::nullopt;
}

std::optional<long long> UrlResponse::expectedContentLength() const {
  const auto text = valueForHeaderField("Content-Length");
  if (!text || text->empty()) return std::nullopt;
  long long value = 0;
  const char* end = text->data() + text->size();
  const auto [ptr, ec] = std::from_chars(text->data(), end, value);
  if (ec != std::errc() || ptr != end || value < 0) return std::nullopt;
  return value;
}

}  // namespace lk

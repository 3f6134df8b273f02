#include "Platform/Net/UrlRequest.h"

#include "Platform/Net/HeaderFieldName.h"

namespace lk {

void UrlRequest::setValueForHeaderField(const std::string& value, const std::string& name) {
  for (auto& [field, current] : headerFields) {
    if (headerFieldNameEquals(field, name)) {
      current = value;
      return;
    }
  }
  headerFields.emplace_back(name, value);
}

std::optional<std::string> UrlRequest::valueForHeaderField(const std::string& name) const {
  for (const auto& [field, value] : headerFields) {
    if (headerFieldNameEquals(field, name)) return value;
  }
  return std::nullopt;
}

}  // namespace lk

#pragma once

#include <map>
#include <optional>
#include <string>

namespace lk {

// The status line and header fields of one HTTP response. A field that came several times holds
// its values joined by ", ".
struct UrlResponse {
  std::string url;
  int statusCode = 0;
  std::map<std::string, std::string> headerFields;

  // Looks a field up without regard to case.
  [[nodiscard]] std::optional<std::string> valueForHeaderField(const std::string& name) const;
  // The "Content-Length" value, when present and a plain decimal number.
  [[nodiscard]] std::optional<long long> expectedContentLength() const;
};

}  // namespace lk

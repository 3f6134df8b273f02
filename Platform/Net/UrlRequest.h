#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "Platform/RunLoop/RunLoop.h"

namespace lk {

// How a transfer may use a local HTTP cache. The transport keeps no local HTTP cache, so every
// policy loads from the network; the field records what the caller asked for.
enum class UrlCachePolicy {
  kUseProtocolCachePolicy,
  kReloadIgnoringLocalCacheData,
  kReloadRevalidatingCacheData,
};

// What a transfer sends: an already escaped absolute URL, a method, header fields and a body.
struct UrlRequest {
  std::string url;
  std::string httpMethod = "GET";
  std::vector<std::pair<std::string, std::string>> headerFields;
  std::optional<std::string> body;
  // Connecting, and every later pause without progress, may last this long before the
  // transfer fails with UrlError::kTimedOut. A transfer that keeps moving is never cut.
  Duration timeoutInterval = seconds(20);
  UrlCachePolicy cachePolicy = UrlCachePolicy::kUseProtocolCachePolicy;
  bool handlesCookies = false;  // the transport never sends or stores cookies

  // Replaces a field of the same name (compared without regard to case) or adds it.
  void setValueForHeaderField(const std::string& value, const std::string& name);
  [[nodiscard]] std::optional<std::string> valueForHeaderField(const std::string& name) const;
};

}  // namespace lk

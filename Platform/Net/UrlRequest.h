#pragma once

#include <cstddef>
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
  // Far above any answer or picture of the service; a compressed answer this long would
  // inflate far beyond what the client accepts anyway.
  static constexpr std::size_t kDefaultMaximumBodyLength = 16u * 1024 * 1024;

  std::string url;
  std::string httpMethod = "GET";
  std::vector<std::pair<std::string, std::string>> headerFields;
  std::optional<std::string> body;
  // Connecting, and every later pause without progress, may last this long before the
  // transfer fails with UrlError::kTimedOut. A transfer that keeps moving is never cut.
  Duration timeoutInterval = seconds(20);
  // The whole exchange, redirects included, ends with UrlError::kTimedOut after this long even
  // while it moves: a body dripped byte by byte cannot hold a screen forever.
  Duration deadline = seconds(120);
  // A response body longer than this fails with UrlError::kDataLengthExceedsMaximum as soon as
  // it is known (a declared length) or reached (while it arrives); nothing more is read.
  std::size_t maximumBodyLength = kDefaultMaximumBodyLength;
  UrlCachePolicy cachePolicy = UrlCachePolicy::kUseProtocolCachePolicy;
  bool handlesCookies = false;  // the transport never sends or stores cookies

  // Replaces a field of the same name (compared without regard to case) or adds it.
  void setValueForHeaderField(const std::string& value, const std::string& name);
  [[nodiscard]] std::optional<std::string> valueForHeaderField(const std::string& name) const;
};

}  // namespace lk

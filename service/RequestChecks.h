#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "service/FormFields.h"
#include "service/ServiceRequest.h"

namespace lk::service {

// Validation shared by the handlers: a request whose parameters fail these checks gets 400.
class RequestChecks {
 public:
  // Longest device id ("xda_did") and other statistics value ("xda_os", "xda_from", ...) kept.
  static constexpr std::size_t kMaxDeviceId = 128;
  static constexpr std::size_t kMaxStatistic = 64;

  // Why a request is refused before any handler sees it (too many fields, text that is not
  // UTF-8, oversized statistics keys); nullopt when it may go on.
  [[nodiscard]] static std::optional<std::string> refusal(const ServiceRequest& request);
  struct Page {
    int page = 0;
    int size = 15;
  };

  // A path segment that must be a non-negative decimal id.
  [[nodiscard]] static std::optional<int> pathId(const std::string& segment);
  // "p" and "n": p >= 0 (default 0), 1 <= n (default `defaultSize`), n capped at `maxSize`.
  [[nodiscard]] static std::optional<Page> paging(const FormFields& query, int defaultSize,
                                                  int maxSize);
  // Counts UTF-16 code units of UTF-8 text, the unit the client counts its length limits in.
  [[nodiscard]] static std::size_t utf16Length(const std::string& text);
  // Keeps the first `limit` characters (code points) of UTF-8 text.
  [[nodiscard]] static std::string firstCharacters(const std::string& text, std::size_t limit,
                                                   bool& cut);
  // Well-formed UTF-8 as RFC 3629 defines it.
  [[nodiscard]] static bool isValidUtf8(std::string_view text);
};

}  // namespace lk::service

#pragma once

#include <optional>
#include <string>

#include "service/FormFields.h"

namespace lk::service {

// Validation shared by the handlers: a request whose parameters fail these checks gets 400.
class RequestChecks {
 public:
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
  [[nodiscard]] static bool isValidUtf8(const std::string& text);
};

}  // namespace lk::service

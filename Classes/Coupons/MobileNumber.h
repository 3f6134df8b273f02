#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace lk {

// The rules of the phone number an offer is sent to by SMS: what the prompt's field accepts
// while typing, and what counts as a mobile number when "发送" is pressed.
class MobileNumber {
 public:
  static constexpr std::size_t kLength = 11;

  // Characters (not bytes) in `text`.
  [[nodiscard]] static std::size_t characterCount(std::string_view text);
  // `text` without white space and line breaks at either end (the ideographic space included).
  [[nodiscard]] static std::string trimmed(std::string_view text);
  // Whether the field takes an edit that replaces text by `replacement`: deletions always; a
  // lone space never; additions only while the field holds fewer than 11 characters.
  [[nodiscard]] static bool acceptsEdit(std::string_view fieldText, std::string_view replacement);
  // The 11 ASCII digits of `text` after trimming, full-width digits taken as digits; nothing
  // for anything else.
  [[nodiscard]] static std::optional<std::string> normalized(std::string_view text);
};

}  // namespace lk

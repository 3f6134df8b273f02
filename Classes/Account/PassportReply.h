#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace lk {

// The passport's XML answer to a login, read with fixed XPath expressions. The answer is
// untrusted: no network access, no entity expansion, no DTD, and documents that declare a
// DOCTYPE or exceed kMaxSize are refused as unparsable.
struct PassportReply {
  static constexpr std::size_t kMaxSize = 64 * 1024;

  enum class Kind {
    kSucceeded,   // root "login_succ"
    kFailed,      // root "login_fail"
    kUnexpected,  // any other root element
  };

  Kind kind = Kind::kUnexpected;
  // "//login_succ/param" attribute "value"; absent when the node or the attribute is missing.
  std::optional<std::string> ssid;
  // "//login_fail/reason" attribute "id" read as an integer (0 when missing or not a number).
  int reason = 0;
  // The verification context handed out with reason 204; absent when the element is missing.
  std::optional<std::string> qzVerify;  // "//login_fail/qzVcodeString"
  std::optional<std::string> qzStoken;  // "//login_fail/qzQzstoken"
  std::optional<std::string> qzTime;    // "//login_fail/qzTime"

  // Reason 204: a verification code is required.
  static constexpr int kVerifyCodeRequired = 204;

  // Nothing for a document that cannot be parsed (or is refused).
  [[nodiscard]] static std::optional<PassportReply> parse(std::string_view xml);

  // The leading decimal integer of a text, as the handset's string-to-int reads it: optional
  // white space and sign, digits up to the first other character; 0 when there is none.
  [[nodiscard]] static int intValue(std::string_view text);
};

}  // namespace lk

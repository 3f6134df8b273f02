// Arbitrary bytes as the passport's login answer: the reader must neither crash nor leak, refuse
// what it must refuse, and never hand out a session from a document it refused.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "Classes/Account/PassportReply.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view xml(reinterpret_cast<const char*>(data), size);
  const auto reply = lk::PassportReply::parse(xml);
  if (!reply) return 0;
  if (size > lk::PassportReply::kMaxSize || xml.find("<!DOCTYPE") != std::string_view::npos) {
    std::abort();
  }
  if (reply->kind != lk::PassportReply::Kind::kSucceeded && reply->ssid) std::abort();
  if (reply->kind != lk::PassportReply::Kind::kFailed &&
      (reply->reason != 0 || reply->qzVerify || reply->qzStoken || reply->qzTime)) {
    std::abort();
  }
  return 0;
}

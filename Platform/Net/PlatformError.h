#pragma once

#include <string>

namespace lk {

// A failure reported by a platform service: a domain naming who raised it and an integer code.
// Transfers use kUrlErrorDomain with the codes below (the alert texts know -1001, -1003, -1004
// and -1009); the request engine's watchdog uses its own domain with -1001.
struct PlatformError {
  std::string domain;
  int code = 0;
  std::string description;  // for the log only; never shown to the user
};

inline constexpr const char* kUrlErrorDomain = "LKURLErrorDomain";

// Transfer error codes.
namespace UrlError {
inline constexpr int kUnknown = -1;
inline constexpr int kCancelled = -999;
inline constexpr int kBadURL = -1000;
inline constexpr int kTimedOut = -1001;
inline constexpr int kUnsupportedURL = -1002;
inline constexpr int kCannotFindHost = -1003;
inline constexpr int kCannotConnectToHost = -1004;
inline constexpr int kNetworkConnectionLost = -1005;
inline constexpr int kDNSLookupFailed = -1006;
inline constexpr int kHTTPTooManyRedirects = -1007;
inline constexpr int kResourceUnavailable = -1008;
inline constexpr int kNotConnectedToInternet = -1009;
inline constexpr int kRedirectToNonExistentLocation = -1010;
inline constexpr int kBadServerResponse = -1011;
inline constexpr int kCannotDecodeRawData = -1015;
inline constexpr int kDataLengthExceedsMaximum = -1103;
inline constexpr int kSecureConnectionFailed = -1200;
}  // namespace UrlError

}  // namespace lk

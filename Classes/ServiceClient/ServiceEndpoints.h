#pragma once

#include <string>

namespace lk {

// Where the client's requests go. The service base URL is a compiled-in constant that the
// environment ("LOKAVO_SERVICE_URL") or a front end's option may replace, so that a stand-in
// service on a loopback port can be used. The passport and verification-code hosts default to
// the scheme, host and port of the base URL.
class ServiceEndpoints {
 public:
  static constexpr const char* kDefaultServiceURL = "http://127.0.0.1:8080/client";

  // The base URL without a trailing "/", e.g. "http://127.0.0.1:8080/client".
  static std::string serviceURL();
  static std::string passportURL();  // operator passport host, e.g. "http://127.0.0.1:8080"
  static std::string servicePassportURL();
  static std::string verifyCodeURL();  // verification-code picture host

  // Overrides (front-end options). An empty text restores the environment or the default.
  static void setServiceURL(const std::string& url);
  static void setPassportURL(const std::string& url);
  static void setServicePassportURL(const std::string& url);
  static void setVerifyCodeURL(const std::string& url);

  // "scheme://host[:port]" of a URL, or the whole text when it has no path.
  static std::string origin(const std::string& url);
};

}  // namespace lk

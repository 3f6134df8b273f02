#include "Classes/ServiceClient/ServiceEndpoints.h"

#include <cstdlib>

namespace lk {
namespace {

struct Overrides {
  std::string service, passport, servicePassport, verifyCode;
};

Overrides& overrides() {
  static Overrides o;
  return o;
}

std::string fromEnv(const char* name) {
  const char* v = std::getenv(name);
  return v != nullptr ? std::string(v) : std::string();
}

std::string withoutTrailingSlash(std::string url) {
  while (!url.empty() && url.back() == '/')
    url.pop_back();
  return url;
}

std::string pick(const std::string& override, const char* env, const std::string& fallback) {
  if (!override.empty()) return withoutTrailingSlash(override);
  std::string e = fromEnv(env);
  if (!e.empty()) return withoutTrailingSlash(e);
  return fallback;
}

}  // namespace

std::string ServiceEndpoints::serviceURL() {
  return pick(overrides().service, "LOKAVO_SERVICE_URL", kDefaultServiceURL);
}

std::string ServiceEndpoints::passportURL() {
  return pick(overrides().passport, "LOKAVO_PASSPORT_URL", origin(serviceURL()));
}

std::string ServiceEndpoints::servicePassportURL() {
  return pick(overrides().servicePassport, "LOKAVO_SERVICE_PASSPORT_URL", origin(serviceURL()));
}

std::string ServiceEndpoints::verifyCodeURL() {
  return pick(overrides().verifyCode, "LOKAVO_VERIFY_CODE_URL", origin(serviceURL()));
}

void ServiceEndpoints::setServiceURL(const std::string& url) {
  overrides().service = url;
}
void ServiceEndpoints::setPassportURL(const std::string& url) {
  overrides().passport = url;
}
void ServiceEndpoints::setServicePassportURL(const std::string& url) {
  overrides().servicePassport = url;
}
void ServiceEndpoints::setVerifyCodeURL(const std::string& url) {
  overrides().verifyCode = url;
}

std::string ServiceEndpoints::origin(const std::string& url) {
  const auto scheme = url.find("://");
  const auto start = scheme == std::string::npos ? 0 : scheme + 3;
  const auto slash = url.find('/', start);
  return slash == std::string::npos ? url : url.substr(0, slash);
}

}  // namespace lk

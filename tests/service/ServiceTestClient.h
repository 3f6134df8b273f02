#pragma once

#include <boost/json.hpp>

#include <optional>
#include <string>

#include "tests/support/ServiceLauncher.h"

namespace lk::test {

// A plain HTTP client of a launched service for the endpoint tests.
class ServiceTestClient {
 public:
  struct Answer {
    int status = 0;  // 0: no answer (transport failure)
    std::string body;
    std::string contentType;
  };

  explicit ServiceTestClient(const ServiceLauncher& service) : port_(service.port()) {}

  // GET of a path and query as given (sent unchanged).
  [[nodiscard]] Answer get(const std::string& target) const;
  // Form POST of a raw body.
  [[nodiscard]] Answer post(const std::string& target, const std::string& body) const;
  // GET whose answer must be 200 and JSON; a "tn=gz" answer is inflated first.
  [[nodiscard]] boost::json::object json(const std::string& target) const;
  [[nodiscard]] boost::json::object postJson(const std::string& target,
                                             const std::string& body) const;

  [[nodiscard]] static std::optional<std::string> gunzip(const std::string& bytes);
  [[nodiscard]] static std::optional<std::string> unzlibPrefixed(const std::string& bytes);
  [[nodiscard]] static std::optional<boost::json::object> parseObject(const std::string& text);
  // Percent-escapes every byte outside A-Z, a-z and 0-9.
  [[nodiscard]] static std::string escape(const std::string& text);

 private:
  int port_;
};

}  // namespace lk::test

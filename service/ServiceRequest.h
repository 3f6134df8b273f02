#pragma once

#include <string>
#include <vector>

#include "service/FormFields.h"

namespace lk::service {

// One request as the handlers see it.
struct ServiceRequest {
  std::string method;
  std::string target;    // as received, still percent-encoded
  std::string rawPath;   // the part before "?", still percent-encoded
  std::string path;      // decoded, without the query
  std::string rawQuery;  // the part after "?", as received
  FormFields query;
  std::string body;  // raw form body
  FormFields form;
  std::vector<std::string> pathParams;  // the "*" segments of the matched route, decoded
  std::string baseUrl;  // the service's origin ("http://host:port"), prefix of picture paths

  [[nodiscard]] const std::string& param(std::size_t i) const { return pathParams.at(i); }
};

}  // namespace lk::service

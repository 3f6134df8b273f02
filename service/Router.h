#pragma once

#include <functional>
#include <string>
#include <vector>

#include "service/Reply.h"
#include "service/ServiceRequest.h"

namespace lk::service {

// Matches a method and a decoded path against patterns such as "/client/shop/*/info", where "*"
// stands for one path segment that the handler reads from `pathParams`.
class Router {
 public:
  using Handler = std::function<Reply(ServiceRequest&)>;

  void add(const std::string& method, const std::string& pattern, Handler handler);
  // Fills `pathParams` and runs the handler; 404 for an unknown path, 405 for a known path with
  // another method.
  Reply dispatch(ServiceRequest& request) const;

 private:
  struct Route {
    std::string method;
    std::vector<std::string> segments;
    Handler handler;
  };
  static std::vector<std::string> split(const std::string& path);
  std::vector<Route> routes_;
};

}  // namespace lk::service

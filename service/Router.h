#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "service/Reply.h"
#include "service/ServiceRequest.h"

namespace lk::service {

// Matches a method and a path against patterns such as "/client/shop/*/info", where "*" stands
// for one path segment that the handler reads from `pathParams`. The path is split at its own
// slashes before each segment is decoded, so an escaped "%2F" never separates segments, and an
// empty segment ("//pic/1.jpg") matches nothing.
class Router {
 public:
  using Handler = std::function<Reply(ServiceRequest&)>;

  void add(const std::string& method, const std::string& pattern, Handler handler);
  // Matches `rawPath`, fills `pathParams` and runs the handler; 404 for an unknown path, 405 for
  // a known path with another method.
  Reply dispatch(ServiceRequest& request) const;

 private:
  struct Route {
    std::string method;
    std::vector<std::string> segments;
    Handler handler;
  };
  // The segments between slashes, decoded; nullopt when a segment is empty (a trailing "/"
  // counts as one empty last segment, so that "/passport/" and "/passport" stay apart).
  static std::optional<std::vector<std::string>> split(const std::string& path, bool decode);
  std::vector<Route> routes_;
};

}  // namespace lk::service

#include "service/Router.h"

namespace lk::service {

std::vector<std::string> Router::split(const std::string& path) {
  std::vector<std::string> segments;
  std::size_t start = 0;
  while (start < path.size()) {
    if (path[start] == '/') {
      ++start;
      continue;
    }
    std::size_t end = path.find('/', start);
    if (end == std::string::npos) end = path.size();
    segments.push_back(path.substr(start, end - start));
    start = end;
  }
  // A trailing "/" counts, so that "/passport/" and "/passport" stay apart.
  if (!path.empty() && path.back() == '/' && path.size() > 1) segments.emplace_back();
  return segments;
}

void Router::add(const std::string& method, const std::string& pattern, Handler handler) {
  routes_.push_back({method, split(pattern), std::move(handler)});
}

Reply Router::dispatch(ServiceRequest& request) const {
  const auto segments = split(request.path);
  bool pathKnown = false;
  for (const auto& route : routes_) {
    if (route.segments.size() != segments.size()) continue;
    std::vector<std::string> params;
    bool match = true;
    for (std::size_t i = 0; i < segments.size() && match; ++i) {
      if (route.segments[i] == "*") {
        if (segments[i].empty()) match = false;
        params.push_back(segments[i]);
      } else if (route.segments[i] != segments[i]) {
        match = false;
      }
    }
    if (!match) continue;
    pathKnown = true;
    if (route.method != request.method) continue;
    request.pathParams = std::move(params);
    return route.handler(request);
  }
  return pathKnown ? Reply::error(405, 405, "method not allowed") : Reply::notFound();
}

}  // namespace lk::service

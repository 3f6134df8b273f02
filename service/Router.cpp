#include "service/Router.h"

namespace lk::service {

std::optional<std::vector<std::string>> Router::split(const std::string& path, bool decode) {
  if (path.empty() || path.front() != '/') return std::nullopt;
  std::vector<std::string> segments;
  std::size_t start = 1;
  while (start <= path.size()) {
    std::size_t end = path.find('/', start);
    if (end == std::string::npos) end = path.size();
    const bool last = end == path.size();
    std::string segment = path.substr(start, end - start);
    if (segment.empty() && !(last && path.size() > 1)) return std::nullopt;
    segments.push_back(decode ? FormFields::percentDecode(segment) : std::move(segment));
    start = end + 1;
  }
  return segments;
}

void Router::add(const std::string& method, const std::string& pattern, Handler handler) {
  routes_.push_back({method, split(pattern, false).value(), std::move(handler)});
}

Reply Router::dispatch(ServiceRequest& request) const {
  const auto found = split(request.rawPath, true);
  if (!found) return Reply::notFound();
  const auto& segments = *found;
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

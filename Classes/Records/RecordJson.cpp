#include "Classes/Records/RecordJson.h"

#include "Classes/Json/JsonValue.h"

namespace lk {

std::string urlMember(json::Node o, std::string_view key, std::string_view base) {
  const json::Node v = o.member(key);
  if (!v.isString() || v.getString().empty()) return {};
  std::string url(base);
  url += v.getString();
  return url;
}

std::string urlMember(const boost::json::object& o, std::string_view key, std::string_view base) {
  return urlMember(json::Node(o), key, base);
}

}  // namespace lk

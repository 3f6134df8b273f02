#include "Classes/Records/RecordJson.h"

#include "Classes/Json/JsonValue.h"

namespace lk {

std::string urlOf(json::Node member, std::string_view base) {
  if (!member.isString() || member.getString().empty()) return {};
  std::string url(base);
  url += member.getString();
  return url;
}

std::string urlMember(json::Node o, std::string_view key, std::string_view base) {
  return urlOf(o.member(key), base);
}

std::string urlMember(const boost::json::object& o, std::string_view key, std::string_view base) {
  return urlMember(json::Node(o), key, base);
}

}  // namespace lk

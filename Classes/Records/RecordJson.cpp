#include "Classes/Records/RecordJson.h"

#include "Classes/Json/JsonValue.h"

namespace lk {

std::string urlMember(const boost::json::object& o, std::string_view key, std::string_view base) {
  const auto* v = json::member(o, key);
  if (v == nullptr || !v->is_string() || v->get_string().empty()) return {};
  std::string url(base);
  url += std::string_view(v->get_string());
  return url;
}

}  // namespace lk

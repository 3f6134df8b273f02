#pragma once

#include <boost/json/object.hpp>

#include <string>
#include <string_view>

#include "Classes/Json/JsonNode.h"

namespace lk {

// "base" followed by the member's text when the member is a string of non-zero length, else ""
// (the picture URLs of reviews and broadcasts).
[[nodiscard]] std::string urlMember(json::Node o, std::string_view key, std::string_view base);
// The same for a member already found.
[[nodiscard]] std::string urlOf(json::Node member, std::string_view base);
[[nodiscard]] std::string urlMember(const boost::json::object& o, std::string_view key,
                                    std::string_view base);

}  // namespace lk

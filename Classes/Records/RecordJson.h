#pragma once

#include <boost/json/object.hpp>

#include <string>
#include <string_view>

namespace lk {

// "base" followed by the member's text when the member is a string of non-zero length, else ""
// (the picture URLs of reviews and broadcasts).
[[nodiscard]] std::string urlMember(const boost::json::object& o, std::string_view key,
                                    std::string_view base);

}  // namespace lk

#pragma once

#include <boost/json/value.hpp>

#include <string>

namespace lk::service {

// Writes JSON the way the service has always sent it: numbers in their shortest form ("4.8",
// "131", "116.404"), strings with only the required escapes, UTF-8 text as it is.
class JsonText {
 public:
  [[nodiscard]] static std::string serialize(const boost::json::value& value);

 private:
  static void write(std::string& out, const boost::json::value& value);
  static void writeString(std::string& out, std::string_view text);
};

}  // namespace lk::service

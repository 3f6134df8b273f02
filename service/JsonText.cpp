#include "service/JsonText.h"

#include <boost/json.hpp>

#include <charconv>
#include <cmath>

namespace lk::service {

std::string JsonText::serialize(const boost::json::value& value) {
  std::string out;
  write(out, value);
  return out;
}

void JsonText::writeString(std::string& out, std::string_view text) {
  static constexpr char kHex[] = "0123456789abcdef";
  out += '"';
  for (char c : text) {
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (static_cast<unsigned char>(c) < 0x20) {
          out += "\\u00";
          out += kHex[(c >> 4) & 0xF];
          out += kHex[c & 0xF];
        } else {
          out += c;
        }
    }
  }
  out += '"';
}

void JsonText::write(std::string& out, const boost::json::value& value) {
  char buffer[64];
  switch (value.kind()) {
    case boost::json::kind::null:
      out += "null";
      break;
    case boost::json::kind::bool_:
      out += value.get_bool() ? "true" : "false";
      break;
    case boost::json::kind::int64: {
      const auto r = std::to_chars(buffer, buffer + sizeof buffer, value.get_int64());
      out.append(buffer, r.ptr);
      break;
    }
    case boost::json::kind::uint64: {
      const auto r = std::to_chars(buffer, buffer + sizeof buffer, value.get_uint64());
      out.append(buffer, r.ptr);
      break;
    }
    case boost::json::kind::double_: {
      const double d = value.get_double();
      if (!std::isfinite(d)) {
        out += "null";
        break;
      }
      const auto r = std::to_chars(buffer, buffer + sizeof buffer, d);
      out.append(buffer, r.ptr);
      break;
    }
    case boost::json::kind::string:
      writeString(out, value.get_string());
      break;
    case boost::json::kind::array: {
      out += '[';
      bool first = true;
      for (const auto& item : value.get_array()) {
        if (!first) out += ',';
        first = false;
        write(out, item);
      }
      out += ']';
      break;
    }
    case boost::json::kind::object: {
      out += '{';
      bool first = true;
      for (const auto& member : value.get_object()) {
        if (!first) out += ',';
        first = false;
        writeString(out, member.key());
        out += ':';
        write(out, member.value());
      }
      out += '}';
      break;
    }
  }
}

}  // namespace lk::service

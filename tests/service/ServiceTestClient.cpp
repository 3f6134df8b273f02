#include "tests/service/ServiceTestClient.h"

#include <gtest/gtest.h>
#include <httplib.h>
#include <zlib.h>

namespace lk::test {

namespace {

ServiceTestClient::Answer toAnswer(const httplib::Result& result) {
  ServiceTestClient::Answer answer;
  if (!result) return answer;
  answer.status = result->status;
  answer.body = result->body;
  answer.contentType = result->get_header_value("Content-Type");
  return answer;
}

}  // namespace

ServiceTestClient::Answer ServiceTestClient::get(const std::string& target) const {
  httplib::Client client("127.0.0.1", port_);
  client.set_read_timeout(30, 0);
  return toAnswer(client.Get(target));
}

ServiceTestClient::Answer ServiceTestClient::post(const std::string& target,
                                                  const std::string& body) const {
  httplib::Client client("127.0.0.1", port_);
  client.set_read_timeout(30, 0);
  return toAnswer(client.Post(target, body, "application/x-www-form-urlencoded"));
}

std::optional<boost::json::object> ServiceTestClient::parseObject(const std::string& text) {
  boost::system::error_code ec;
  auto value = boost::json::parse(text, ec);
  if (ec || !value.is_object()) return std::nullopt;
  return value.as_object();
}

boost::json::object ServiceTestClient::json(const std::string& target) const {
  const Answer answer = get(target);
  EXPECT_EQ(answer.status, 200) << target << " -> " << answer.body;
  std::string text = answer.body;
  if (target.find("tn=gz") != std::string::npos) {
    auto inflated = gunzip(answer.body);
    EXPECT_TRUE(inflated.has_value()) << target;
    text = inflated.value_or("");
  }
  auto object = parseObject(text);
  EXPECT_TRUE(object.has_value()) << target << " -> " << text.substr(0, 200);
  return object.value_or(boost::json::object());
}

boost::json::object ServiceTestClient::postJson(const std::string& target,
                                                const std::string& body) const {
  const Answer answer = post(target, body);
  auto object = parseObject(answer.body);
  EXPECT_TRUE(object.has_value()) << target << " -> " << answer.status << " " << answer.body;
  return object.value_or(boost::json::object());
}

std::optional<std::string> ServiceTestClient::gunzip(const std::string& bytes) {
  if (bytes.size() < 2 || static_cast<unsigned char>(bytes[0]) != 0x1F ||
      static_cast<unsigned char>(bytes[1]) != 0x8B) {
    return std::nullopt;
  }
  z_stream zs{};
  if (inflateInit2(&zs, 31) != Z_OK) return std::nullopt;
  zs.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data()));
  zs.avail_in = static_cast<uInt>(bytes.size());
  std::string out;
  char buffer[4096];
  int rc = Z_OK;
  while (rc == Z_OK) {
    zs.next_out = reinterpret_cast<Bytef*>(buffer);
    zs.avail_out = sizeof buffer;
    rc = inflate(&zs, Z_NO_FLUSH);
    out.append(buffer, sizeof buffer - zs.avail_out);
    if (rc == Z_BUF_ERROR && zs.avail_in == 0) break;
  }
  inflateEnd(&zs);
  if (rc != Z_STREAM_END) return std::nullopt;
  return out;
}

std::optional<std::string> ServiceTestClient::unzlibPrefixed(const std::string& bytes) {
  if (bytes.size() < 5) return std::nullopt;
  const uLongf expected =
      (static_cast<unsigned char>(bytes[0]) << 24) | (static_cast<unsigned char>(bytes[1]) << 16) |
      (static_cast<unsigned char>(bytes[2]) << 8) | static_cast<unsigned char>(bytes[3]);
  std::string out(expected, '\0');
  uLongf length = expected;
  if (uncompress(reinterpret_cast<Bytef*>(out.data()), &length,
                 reinterpret_cast<const Bytef*>(bytes.data() + 4),
                 static_cast<uLong>(bytes.size() - 4)) != Z_OK ||
      length != expected) {
    return std::nullopt;
  }
  return out;
}

std::string ServiceTestClient::escape(const std::string& text) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : text) {
    if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')) {
      out += static_cast<char>(c);
    } else {
      out += '%';
      out += kHex[c >> 4];
      out += kHex[c & 15];
    }
  }
  return out;
}

}  // namespace lk::test

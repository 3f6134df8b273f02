#pragma once

#include <boost/json/value.hpp>

#include <string>

namespace lk::service {

// What a handler answers: status, content type and body. Pictures are flagged so that they are
// always sent as raw bytes, whatever the query asks.
struct Reply {
  int status = 200;
  std::string contentType = "application/json; charset=utf-8";
  std::string body;
  bool picture = false;

  static Reply json(const boost::json::value& value, int status = 200);
  // A JSON error body {"errNo": code, "result": message} with the given HTTP status.
  static Reply error(int status, int errNo, const std::string& message);
  static Reply notFound() { return error(404, 404, "not found"); }
  static Reply badRequest(const std::string& what) { return error(400, 400, what); }
  static Reply image(const std::string& mime, std::string bytes);
  static Reply xml(std::string text);
};

}  // namespace lk::service

#include "service/Reply.h"

#include "service/JsonText.h"

namespace lk::service {

Reply Reply::json(const boost::json::value& value, int status) {
  Reply reply;
  reply.status = status;
  reply.body = JsonText::serialize(value);
  return reply;
}

Reply Reply::error(int status, int errNo, const std::string& message) {
  boost::json::object body;
  body["errNo"] = errNo;
  body["result"] = message;
  return json(body, status);
}

Reply Reply::image(const std::string& mime, std::string bytes) {
  Reply reply;
  reply.contentType = mime;
  reply.body = std::move(bytes);
  reply.picture = true;
  return reply;
}

Reply Reply::xml(std::string text) {
  Reply reply;
  // Not "text/xml": the HTTP library would gzip text bodies for clients that accept it.
  reply.contentType = "application/xml; charset=utf-8";
  reply.body = std::move(text);
  return reply;
}

}  // namespace lk::service

#include "Classes/ServiceClient/ServiceAnswer.h"

#include <string>

#include "Classes/Json/JsonValue.h"
#include "Classes/ServiceClient/ByteBuffer.h"
#include "Classes/ServiceClient/HttpRequest.h"

namespace lk {

namespace {

PlatformError stepError(AnswerStep step, std::string description) {
  return PlatformError{kServiceAnswerErrorDomain, static_cast<int>(step), std::move(description)};
}

}  // namespace

Result<boost::json::object> readJsonAnswer(const HttpRequest& request, AnswerEncoding encoding) {
  if (request.statusCode() != 200) {
    return stepError(AnswerStep::kStatus, "status " + std::to_string(request.statusCode()));
  }
  std::optional<std::string> inflated;
  if (encoding == AnswerEncoding::kCompressed) {
    inflated = decompressGZip(request.recievedData());
    if (!inflated) return stepError(AnswerStep::kDecompression, "not a compressed answer");
  }
  const std::string& text = inflated ? *inflated : request.recievedData();
  std::string parseError = "not JSON";
  auto root = json::parse(text, &parseError);
  if (!root) return stepError(AnswerStep::kParse, std::move(parseError));
  if (!root->is_object()) return stepError(AnswerStep::kNotObject, "not a JSON object");
  return std::move(root->get_object());
}

bool isAnswerStep(const PlatformError& error, AnswerStep step) {
  return error.domain == kServiceAnswerErrorDomain && error.code == static_cast<int>(step);
}

bool isSucceededSubmission(const boost::json::object& answer) {
  const auto* errNo = answer.if_contains("errNo");
  if (errNo == nullptr) return false;
  if (errNo->is_int64()) return errNo->get_int64() == 0;
  if (errNo->is_uint64()) return errNo->get_uint64() == 0;
  if (errNo->is_double()) return errNo->get_double() == 0.0;
  if (errNo->is_string()) return errNo->get_string() == "0";
  return false;
}

}  // namespace lk

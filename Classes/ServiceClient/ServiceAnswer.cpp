#include "Classes/ServiceClient/ServiceAnswer.h"

#include <string>

#include "Classes/Json/JsonDocument.h"
#include "Classes/Json/JsonValue.h"
#include "Classes/ServiceClient/ByteBuffer.h"
#include "Classes/ServiceClient/HttpRequest.h"

namespace lk {
namespace {

PlatformError stepError(AnswerStep step, std::string description) {
  return PlatformError{kServiceAnswerErrorDomain, static_cast<int>(step), std::move(description)};
}

// A 200 answer that cannot be read is no better when served again from the response cache: it
// goes, so that the next request asks the service.
PlatformError unusable(const HttpRequest& request, AnswerStep step, std::string description) {
  request.forgetStoredAnswer();
  return stepError(step, std::move(description));
}

// Status 200, then the text of the answer: the request's bytes, or their inflated form in
// `inflated`.
std::optional<PlatformError> answerText(const HttpRequest& request, AnswerEncoding encoding,
                                        std::optional<std::string>& inflated) {
  if (request.statusCode() != 200) {
    return stepError(AnswerStep::kStatus, "status " + std::to_string(request.statusCode()));
  }
  if (encoding == AnswerEncoding::kCompressed) {
    inflated = decompressGZip(request.recievedData());
    if (!inflated) return unusable(request, AnswerStep::kDecompression, "not a compressed answer");
  }
  return std::nullopt;
}

}  // namespace

Result<boost::json::object> readJsonAnswer(const HttpRequest& request, AnswerEncoding encoding) {
  std::optional<std::string> inflated;
  if (auto error = answerText(request, encoding, inflated)) return std::move(*error);
  const std::string& text = inflated ? *inflated : request.recievedData();
  std::string parseError = "not JSON";
  auto root = json::parse(text, &parseError);
  if (!root) return unusable(request, AnswerStep::kParse, std::move(parseError));
  if (!root->is_object()) return unusable(request, AnswerStep::kNotObject, "not a JSON object");
  return std::move(root->get_object());
}

Result<json::Document> readJsonDocument(const HttpRequest& request, AnswerEncoding encoding) {
  std::optional<std::string> inflated;
  if (auto error = answerText(request, encoding, inflated)) return std::move(*error);
  const std::string& text = inflated ? *inflated : request.recievedData();
  std::string parseError = "not JSON";
  auto document = json::Document::parse(text, &parseError);
  if (!document) return unusable(request, AnswerStep::kParse, std::move(parseError));
  if (!document->root().isObject()) {
    return unusable(request, AnswerStep::kNotObject, "not a JSON object");
  }
  return std::move(*document);
}

bool isAnswerStep(const PlatformError& error, AnswerStep step) {
  return error.domain == kServiceAnswerErrorDomain && error.code == static_cast<int>(step);
}

}  // namespace lk

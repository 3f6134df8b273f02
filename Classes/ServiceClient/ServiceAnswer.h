#pragma once

#include <boost/json/object.hpp>

#include "Classes/Json/JsonDocument.h"
#include "Classes/ServiceClient/Result.h"

namespace lk {

class HttpRequest;

// Reading a finished request's answer as the JSON object every service answer is. Each step
// that can fail has its own code in kServiceAnswerErrorDomain, and the error's description says
// what went wrong (for the debug log, never for the user).
inline constexpr const char* kServiceAnswerErrorDomain = "LKServiceAnswerDomain";

enum class AnswerStep : int {
  kStatus = 1,         // the status was not 200 (the error's description holds it)
  kDecompression = 2,  // a compressed answer did not inflate
  kParse = 3,          // the text is not JSON
  kNotObject = 4,      // JSON, but not an object
};

// How the answer was asked for: with "tn=gz" (gzip or length-prefixed zlib) or plain.
enum class AnswerEncoding { kCompressed, kPlain };

// Status 200 → inflate (when compressed) → parse → object. The step that failed is the error's
// code (an AnswerStep).
[[nodiscard]] Result<boost::json::object> readJsonAnswer(const HttpRequest& request,
                                                         AnswerEncoding encoding);

// The same steps, the answer kept as the parsed document: decoders read it in place, without a
// Boost.JSON value made of it first (the search pages and the shop information take this way).
[[nodiscard]] Result<json::Document> readJsonDocument(const HttpRequest& request,
                                                      AnswerEncoding encoding);

// The step behind an error of readJsonAnswer, or nothing for another domain's error.
[[nodiscard]] bool isAnswerStep(const PlatformError& error, AnswerStep step);

}  // namespace lk

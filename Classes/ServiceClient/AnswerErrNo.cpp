#include "Classes/ServiceClient/AnswerErrNo.h"

#include <boost/json/value.hpp>

#include <cstdint>

namespace lk {

bool hasZeroErrNo(const boost::json::object& answer) {
  const boost::json::value* errNo = answer.if_contains("errNo");
  if (errNo == nullptr || !errNo->is_number()) return false;
  boost::system::error_code ec;
  const auto code = errNo->to_number<std::int64_t>(ec);
  return !ec && code == 0;
}

}  // namespace lk

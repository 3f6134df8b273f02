#pragma once

#include <boost/json/object.hpp>

namespace lk {

// A submission's answer reports success only with "errNo" present and equal to 0; a missing or
// non-numeric "errNo" is a failure, never a success.
[[nodiscard]] bool hasZeroErrNo(const boost::json::object& answer);

}  // namespace lk

#include "Classes/Util/CoordinateText.h"

#include <charconv>

namespace lk {

std::string sixDecimals(double value) {
  char buffer[512];
  const auto result =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 6);
  return std::string(buffer, result.ptr);
}

std::string singlePrecisionText(double value) {
  return sixDecimals(static_cast<double>(static_cast<float>(value)));
}

}  // namespace lk

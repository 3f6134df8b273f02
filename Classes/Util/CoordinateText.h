#pragma once

#include <string>

namespace lk {

// Map coordinates as the service and the map pages read them: six decimals and a point,
// whatever the process's locale is ("%f" of the C locale).
[[nodiscard]] std::string sixDecimals(double value);
// The same after narrowing to single precision, as the service's single-precision fields take
// them ("116.404" goes out as "116.403999").
[[nodiscard]] std::string singlePrecisionText(double value);

}  // namespace lk

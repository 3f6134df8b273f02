#include "Platform/Location/LocationSource.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace lk {

double distanceInMetres(LocationCoordinate a, LocationCoordinate b) {
  constexpr double kEarthRadius = 6371000;
  constexpr double kRadians = std::numbers::pi / 180;
  const double lat1 = a.latitude * kRadians;
  const double lat2 = b.latitude * kRadians;
  const double dLat = lat2 - lat1;
  const double dLon = (b.longitude - a.longitude) * kRadians;
  const double h = std::sin(dLat / 2) * std::sin(dLat / 2) +
                   std::cos(lat1) * std::cos(lat2) * std::sin(dLon / 2) * std::sin(dLon / 2);
  return 2 * kEarthRadius * std::asin(std::min(1.0, std::sqrt(h)));
}

}  // namespace lk

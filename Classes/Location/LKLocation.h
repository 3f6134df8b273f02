#pragma once

#include <string>

namespace lk {

// Where the user is, as the service's position lookup resolved it. `x` and `y` are the
// service's map coordinates, kept as the text it sent: requests pass them back unchanged.
// One object lives for the process and every later lookup overwrites it, so screens may hold it.
class LKLocation {
 public:
  [[nodiscard]] const std::string& x() const { return x_; }
  void setX(std::string x) { x_ = std::move(x); }
  [[nodiscard]] const std::string& y() const { return y_; }
  void setY(std::string y) { y_ = std::move(y); }
  [[nodiscard]] const std::string& address() const { return address_; }
  void setAddress(std::string address) { address_ = std::move(address); }
  [[nodiscard]] const std::string& cityName() const { return cityName_; }
  void setCityName(std::string cityName) { cityName_ = std::move(cityName); }
  // The district.
  [[nodiscard]] const std::string& area() const { return area_; }
  void setArea(std::string area) { area_ = std::move(area); }
  // 0 when the answer named no city.
  [[nodiscard]] int cityId() const { return cityId_; }
  void setCityId(int cityId) { cityId_ = cityId; }

 private:
  std::string x_;
  std::string y_;
  std::string address_;
  std::string cityName_;
  std::string area_;
  int cityId_ = 0;
};

}  // namespace lk

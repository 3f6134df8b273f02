#pragma once

namespace lk {

// The application's delegate installs one of the two tab sets when the current city changes:
// with the coupon tab in cities that offer coupons, with the "更多" tab otherwise.
class TabSetLoader {
 public:
  TabSetLoader() = default;
  TabSetLoader(const TabSetLoader&) = delete;
  TabSetLoader& operator=(const TabSetLoader&) = delete;
  virtual ~TabSetLoader() = default;

  virtual void loadTabControllersWithCoupon() {}
  virtual void loadTabControllersWithoutCoupon() {}
};

}  // namespace lk

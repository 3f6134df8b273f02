#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Classes/Coupons/CouponListViewController.h"

namespace lk {

class LKLocation;

// "附近优惠": the offers of shops within 3 km of the user's position, 20 shops a page. It waits
// for a position from the location service, then pages like the coupon list.
class NearbyCouponViewController : public CouponListViewController {
 public:
  static constexpr float kDistance = 3.0f;
  static constexpr int kSort = 1;
  static constexpr const char* kNodataPrompt = "您附近目前没有优惠信息";

  NearbyCouponViewController();
  ~NearbyCouponViewController() override;

  int cityId = 0;
  std::optional<std::string> x;
  std::optional<std::string> y;
  float distance = kDistance;

  // Without a position (or a city to search in) there is no address.
  [[nodiscard]] std::optional<std::string> couponURL() const override;
  // With a position: the page request; without: locating starts, and the request follows the
  // position.
  void requestCoupon() override;
  // The coupon list's categories do not apply here.
  void requestChannel() override {}

  void getLocationSuccessed();
  void getLocationFailed();

  void loadView() override;
  void viewDidLoad() override;
  void viewDidUnload() override;

 protected:
  [[nodiscard]] bool hasHeader() const override { return false; }
  [[nodiscard]] const char* nodataPrompt() const override { return kNodataPrompt; }
  bool readCouponPage(HttpRequest& request) override;
  [[nodiscard]] bool showsNodataAfter(bool decoded) const override;
  // Failures stay silent here.
  void reportFailure(const PlatformError& /*error*/) override {}

  // Where the position comes from: the location service (tests supply their own).
  virtual void startLocation();
  [[nodiscard]] virtual std::shared_ptr<LKLocation> location() const;

 private:
  std::vector<ObserverToken> locationObservers_;
};

}  // namespace lk

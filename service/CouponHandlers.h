#pragma once

#include "service/Router.h"
#include "service/ServiceContext.h"

namespace lk::service {

// Coupon lists of a city, coupon details and sending a coupon by SMS.
class CouponHandlers {
 public:
  explicit CouponHandlers(ServiceContext& context) : context_(context) {}
  void addRoutes(Router& router);

  Reply list(ServiceRequest& request);
  Reply detail(ServiceRequest& request);
  Reply sendSms(ServiceRequest& request);

  // An 11-digit mobile number starting with 1.
  [[nodiscard]] static bool isMobileNumber(const std::string& text);

 private:
  ServiceContext& context_;
};

}  // namespace lk::service

#pragma once

#include "service/Router.h"
#include "service/ServiceContext.h"

namespace lk::service {

// One shop: its information, additional information, album and reviews.
class ShopHandlers {
 public:
  explicit ShopHandlers(ServiceContext& context) : context_(context) {}
  void addRoutes(Router& router);

  Reply info(ServiceRequest& request);
  Reply addition(ServiceRequest& request);
  Reply album(ServiceRequest& request);
  Reply reviews(ServiceRequest& request);

 private:
  // The shop id of the path when that shop exists.
  std::optional<int> existingShop(const ServiceRequest& request);
  ServiceContext& context_;
};

}  // namespace lk::service

#pragma once

#include "service/Router.h"
#include "service/ServiceContext.h"

namespace lk::service {

// Broadcast lists (of a city, a shop, a user or the logged-in user) and posting a broadcast.
class BroadcastHandlers {
 public:
  static constexpr std::size_t kMaxLength = 140;  // UTF-16 units, as the client counts

  explicit BroadcastHandlers(ServiceContext& context) : context_(context) {}
  void addRoutes(Router& router);

  Reply cityList(ServiceRequest& request);
  Reply shopList(ServiceRequest& request);
  Reply userList(ServiceRequest& request);
  Reply post(ServiceRequest& request);

 private:
  ServiceContext& context_;
};

}  // namespace lk::service

#pragma once

#include "service/Router.h"
#include "service/ServiceContext.h"

namespace lk::service {

// The directory: the province, city, district and category indexes and the shop search.
class DirectoryHandlers {
 public:
  explicit DirectoryHandlers(ServiceContext& context) : context_(context) {}
  void addRoutes(Router& router);

  Reply provinces(ServiceRequest& request);
  Reply cities(ServiceRequest& request);
  Reply areaTree(ServiceRequest& request);
  Reply categoryTree(ServiceRequest& request);
  Reply cityIndex(ServiceRequest& request);
  Reply search(ServiceRequest& request);

 private:
  ServiceContext& context_;
};

}  // namespace lk::service

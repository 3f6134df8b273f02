#pragma once

#include "service/Router.h"
#include "service/ServiceContext.h"

namespace lk::service {

// Pictures as raw bytes: "/pic/<id>.<ext>" the full picture, "/abpic/<id>.<ext>" its thumbnail.
class PictureHandlers {
 public:
  explicit PictureHandlers(ServiceContext& context) : context_(context) {}
  void addRoutes(Router& router);
  Reply picture(ServiceRequest& request, bool thumbnail);

 private:
  ServiceContext& context_;
};

}  // namespace lk::service

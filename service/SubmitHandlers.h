#pragma once

#include "service/Router.h"
#include "service/ServiceContext.h"

namespace lk::service {

// Submissions: a proposed new shop, feedback and a shop's error report.
class SubmitHandlers {
 public:
  explicit SubmitHandlers(ServiceContext& context) : context_(context) {}
  void addRoutes(Router& router);

  Reply addShop(ServiceRequest& request);
  Reply feedback(ServiceRequest& request);
  Reply errorReport(ServiceRequest& request);

 private:
  ServiceContext& context_;
};

}  // namespace lk::service

#pragma once

#include <cstdint>
#include <optional>

#include "service/FormFields.h"
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
  // Checks the content and email of a feedback or error report and stores it.
  Reply storeReport(const FormFields& form, const char* kind, std::optional<std::int64_t> mode,
                    std::optional<int> shopId);

  ServiceContext& context_;
};

}  // namespace lk::service

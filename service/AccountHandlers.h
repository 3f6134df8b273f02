#pragma once

#include <cstdint>

#include "service/Router.h"
#include "service/ServiceContext.h"

namespace lk::service {

// Accounts and the user centre: the passport login exchange (XML), verification-code pictures,
// account state, activation, the daily-user statistics, the profile, the want/been lists and
// the position lookup.
class AccountHandlers {
 public:
  // A verification-code challenge is good for ten minutes; an account holds at most three.
  static constexpr std::int64_t kChallengeLifetimeSeconds = 600;
  static constexpr int kMaxLiveChallenges = 3;

  explicit AccountHandlers(ServiceContext& context) : context_(context) {}
  void addRoutes(Router& router);

  Reply login(ServiceRequest& request);
  Reply verifyCodeImage(ServiceRequest& request);
  Reply info(ServiceRequest& request);
  Reply activate(ServiceRequest& request);
  Reply profile(ServiceRequest& request);
  Reply shopList(ServiceRequest& request, const char* table);
  Reply position(ServiceRequest& request);

  // The passport's refusal: <login_fail> with the reason id (and the code context for 204).
  [[nodiscard]] static std::string failXml(int reason);
  [[nodiscard]] static std::string successXml(const std::string& ssid);

 private:
  Reply challenge(const std::string& username);
  Reply dailyUser(ServiceRequest& request);
  ServiceContext& context_;
};

}  // namespace lk::service

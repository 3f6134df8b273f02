#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "tests/service/ServiceTestClient.h"
#include "tests/support/ServiceLauncher.h"

namespace lk::test {

// A fixture whose tests share one running service (per test process).
class SharedService : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    ServiceLauncher::Options options;
    options.templateDatabase = ServiceLauncher::sharedTemplate();
    service_ = std::make_unique<ServiceLauncher>(options);
    ASSERT_TRUE(service_->running()) << service_->errorOutput();
  }
  static void TearDownTestSuite() { service_.reset(); }
  void SetUp() override { ASSERT_TRUE(service_ && service_->running()); }

  static ServiceLauncher& service() { return *service_; }
  static ServiceTestClient client() { return ServiceTestClient(*service_); }

  // Logs in through the passport and returns the session id.
  static std::string login(const std::string& username, const std::string& password) {
    const auto answer = client().post("/passport/?login&",
                                      "cip=127.0.0.1&tpl=wc&login_username=" + username +
                                          "&login_loginpass=" + password +
                                          "&phoneid=iPhoneClient&login_verifycode=&login_qzverify="
                                          "&login_qzstoken=&login_qztime=");
    const std::string marker = "value=\"";
    const auto at = answer.body.find(marker);
    if (answer.status != 200 || answer.body.find("<login_succ>") == std::string::npos ||
        at == std::string::npos) {
      return {};
    }
    const auto start = at + marker.size();
    return answer.body.substr(start, answer.body.find('"', start) - start);
  }

 private:
  static inline std::unique_ptr<ServiceLauncher> service_;
};

}  // namespace lk::test

#include "Classes/ServiceClient/ServiceEndpoints.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace lk {
namespace {

class ServiceEndpointsTest : public ::testing::Test {
 protected:
  void TearDown() override {
    ServiceEndpoints::setServiceURL("");
    ServiceEndpoints::setPassportURL("");
    ::unsetenv("LOKAVO_SERVICE_URL");
  }
};

TEST_F(ServiceEndpointsTest, OptionBeatsEnvironmentWhichBeatsTheConstant) {
  ::unsetenv("LOKAVO_SERVICE_URL");
  EXPECT_EQ(ServiceEndpoints::serviceURL(), ServiceEndpoints::kDefaultServiceURL);
  ::setenv("LOKAVO_SERVICE_URL", "http://127.0.0.1:9000/client/", 1);
  EXPECT_EQ(ServiceEndpoints::serviceURL(), "http://127.0.0.1:9000/client");
  ServiceEndpoints::setServiceURL("http://localhost:7/client");
  EXPECT_EQ(ServiceEndpoints::serviceURL(), "http://localhost:7/client");
}

TEST_F(ServiceEndpointsTest, PassportHostsFollowTheServiceOriginUnlessOverridden) {
  ServiceEndpoints::setServiceURL("http://127.0.0.1:4321/client");
  EXPECT_EQ(ServiceEndpoints::passportURL(), "http://127.0.0.1:4321");
  EXPECT_EQ(ServiceEndpoints::verifyCodeURL(), "http://127.0.0.1:4321");
  ServiceEndpoints::setPassportURL("http://passport.test:1");
  EXPECT_EQ(ServiceEndpoints::passportURL(), "http://passport.test:1");
}

TEST_F(ServiceEndpointsTest, OriginOfUrlsWithAndWithoutPath) {
  EXPECT_EQ(ServiceEndpoints::origin("http://h:1/a/b"), "http://h:1");
  EXPECT_EQ(ServiceEndpoints::origin("http://h:1"), "http://h:1");
}

}  // namespace
}  // namespace lk

#include <chrono>
#include <thread>

#include "tests/service/SharedService.h"

namespace lk::test {
namespace {

class Faults : public ::testing::Test {
 protected:
  void SetUp() override {
    writeFile(dir_ / "faults", "");
    ServiceLauncher::Options options;
    options.arguments = {"--fault-file", (dir_ / "faults").string(), "--fault",
                         "/client/index/0/province status=503 times=1"};
    service_ = std::make_unique<ServiceLauncher>(options);
    ASSERT_TRUE(service_->running()) << service_->errorOutput();
  }
  void rules(const std::string& text) {
    // A new size or time stamp makes the service read the file again.
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    writeFile(dir_ / "faults", text);
  }
  ServiceTestClient client() const { return ServiceTestClient(*service_); }

  TempDir dir_;
  std::unique_ptr<ServiceLauncher> service_;
};

TEST_F(Faults, CommandLineRuleFiresItsCountThenStops) {
  EXPECT_EQ(client().get("/client/index/0/province").status, 503);
  EXPECT_EQ(client().get("/client/index/0/province").status, 200);
}

TEST_F(Faults, FileRulesDamageAnswersAsAsked) {
  const std::string target = "/client/index/131/citymore?tn=gz";
  ASSERT_TRUE(ServiceTestClient::gunzip(client().get(target).body).has_value());

  rules("/client/index/131 truncate\n");
  auto truncated = client().get(target);
  EXPECT_EQ(truncated.status, 200);
  EXPECT_FALSE(ServiceTestClient::gunzip(truncated.body).has_value());

  rules("# comment line\n/client/index/131 corrupt\n");
  auto corrupted = client().get(target);
  ASSERT_GT(corrupted.body.size(), 2u);
  EXPECT_EQ(static_cast<unsigned char>(corrupted.body[0]), 0x1F);  // still looks like gzip
  EXPECT_FALSE(ServiceTestClient::gunzip(corrupted.body).has_value());

  rules("/client/index notjson\n");
  auto garbage = client().get("/client/index/131/citymore");
  EXPECT_EQ(garbage.status, 200);
  EXPECT_FALSE(ServiceTestClient::parseObject(garbage.body).has_value());

  rules("/client/shop drop\n");
  EXPECT_EQ(client().get("/client/shop/1000001/info").status, 0);

  rules("/client/search delay=400\n");
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(client().get("/client/search/0/q?ci=131&p=0&n=1").status, 200);
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(400));

  rules("");
  EXPECT_EQ(client().get("/client/shop/1000001/info").status, 200);
  EXPECT_TRUE(ServiceTestClient::gunzip(client().get(target).body).has_value());
}

}  // namespace
}  // namespace lk::test

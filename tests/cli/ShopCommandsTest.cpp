#include <gtest/gtest.h>

#include <sstream>

#include "Classes/LocalState/CacheCenter.h"
#include "Classes/ServiceClient/ServiceEndpoints.h"
#include "Platform/Device/DeviceInfo.h"
#include "Platform/UI/Application.h"
#include "frontends/commands/CliOptions.h"
#include "frontends/commands/CliSession.h"
#include "tests/support/LoopbackHttpServer.h"
#include "tests/support/ScopedClientStorage.h"
#include "tests/support/TestSupport.h"

namespace lk::cli {
namespace {

class ShopCommands : public ::testing::Test {
 protected:
  ShopCommands() {
    ui::Application::resetSharedInstanceForTesting();
    // Nothing answers: the commands are tried without a service.
    ServiceEndpoints::setServiceURL(
        "http://127.0.0.1:" + std::to_string(test::unusedLoopbackPort()) + "/client");
  }
  ~ShopCommands() override {
    if (session_) session_->finish();
    session_.reset();
    ServiceEndpoints::setServiceURL("");
    CacheCenter::resetSharedInstanceForTesting();
    ui::Application::resetSharedInstanceForTesting();
  }
  CliSession& session(CliOptions options = {}) {
    if (!session_) {
      session_ = std::make_unique<CliSession>(out_, std::move(options));
      session_->start();
    }
    return *session_;
  }
  std::string run(std::string_view line) {
    session();
    out_.str({});
    EXPECT_TRUE(session().execute(line)) << line;
    return out_.str();
  }

  test::ScopedMainLoop loop_;
  test::ScopedClientStorage storage_;
  std::ostringstream out_;
  std::unique_ptr<CliSession> session_;
};

TEST_F(ShopCommands, ShopWantsOneNumericId) {
  EXPECT_EQ(run("shop"), "usage: shop ID\n");
  EXPECT_EQ(run("shop ../1"), "usage: shop ID\n");
  EXPECT_EQ(run("shop 1 2"), "usage: shop ID\n");
  const std::string opened = run("shop 1000001");
  EXPECT_NE(opened.find("navbar: 商户详情"), std::string::npos) << opened;
  EXPECT_NE(opened.find("button: [shopinfo_tab_share]"), std::string::npos);
}

TEST_F(ShopCommands, SendAndCancelWithoutASheet) {
  EXPECT_EQ(run("send"), "no message or mail sheet is showing\n");
  EXPECT_EQ(run("cancel"), "no picker is showing\n") << "the picker's cancel is still there";
}

TEST_F(ShopCommands, TheDeviceModelIsShownAndSet) {
  EXPECT_EQ(run("device"), "device model: iPhone\n");
  EXPECT_EQ(run("device iPad"), "device model: iPad\n");
  EXPECT_EQ(DeviceInfo::model(), "iPad");
}

TEST_F(ShopCommands, TheDeviceModelOptionAppliesAtStart) {
  std::string error;
  auto options = CliOptions::parse({"--device-model", "iPod touch"}, &error);
  ASSERT_TRUE(options) << error;
  EXPECT_EQ(options->deviceModel, "iPod touch");
  EXPECT_FALSE(CliOptions::parse({"--device-model"}, &error));
  session(*options);
  EXPECT_EQ(DeviceInfo::model(), "iPod touch");
}

TEST_F(ShopCommands, EveryOpenedUrlIsPrintedOnItsOwnLine) {
  session();
  out_.str({});
  EXPECT_TRUE(ui::Application::shared().openURL("tel:01065123456"));
  EXPECT_EQ(out_.str(), "opened: tel:01065123456\n");
}

}  // namespace
}  // namespace lk::cli

// The client against a misbehaving service: answers dropped, cut short, damaged, not JSON, error
// statuses and answers later than the transfer time-out. The results screen shows no message of
// its own for these; the client must not crash, must stay usable, and must keep its stored state.
#include <gtest/gtest.h>

#include <string>

#include "tests/robustness/ClientSession.h"

namespace lk::test {
namespace {

constexpr const char* kSearchPath = "/client/search/0/q";

bool showsAlert(const std::string& screen) {
  return screen.find("alert:") != std::string::npos;
}

class FaultySearch : public ::testing::TestWithParam<const char*> {
 protected:
  ClientSession client;
};

TEST_P(FaultySearch, AFailedFirstPageLeavesAnEmptyListAndTheClientRecovers) {
  ASSERT_TRUE(client.serviceRunning()) << client.serviceErrors();
  client.setFaults(std::string(kSearchPath) + " " + GetParam());
  const std::string failed = client.run("search 火锅");
  EXPECT_NE(failed.find("navbar: 搜索结果"), std::string::npos) << failed;
  EXPECT_EQ(client.shownShops(), 0);
  EXPECT_FALSE(showsAlert(failed)) << "the results screen shows no message: " << failed;
  // Nothing is left loading: the front end settled, and the screen takes commands.
  EXPECT_NE(client.run("tap 总分").find("button: [总分] (selected)"), std::string::npos);

  client.setFaults("");
  client.run("back");
  client.run("search 店");
  EXPECT_EQ(client.shownShops(), 15);
  EXPECT_EQ(client.storedStateDifference(), "");
}

TEST_P(FaultySearch, AFailedNextPageKeepsTheShopsAlreadyShown) {
  ASSERT_TRUE(client.serviceRunning()) << client.serviceErrors();
  client.run("search 店");
  ASSERT_EQ(client.shownShops(), 15);
  client.setFaults(std::string(kSearchPath) + " " + GetParam());
  const std::string failed = client.run("pull-up");
  EXPECT_EQ(client.shownShops(), 15);
  EXPECT_FALSE(showsAlert(failed)) << failed;

  // Once the service behaves and the stored answers are gone (as after a stay in the
  // background), a new sort loads again.
  client.setFaults("");
  client.run("background");
  client.run("foreground");
  client.run("tap 点评数");
  EXPECT_EQ(client.shownShops(), 15);
  client.run("pull-up");
  EXPECT_EQ(client.shownShops(), 30);
  EXPECT_EQ(client.storedStateDifference(), "");
}

INSTANTIATE_TEST_SUITE_P(Faults, FaultySearch,
                         ::testing::Values("drop", "truncate", "corrupt", "notjson", "status=500",
                                           "status=404", "status=403"),
                         [](const ::testing::TestParamInfo<const char*>& param) {
                           std::string name = param.param;
                           for (char& c : name) {
                             if (c == '=') c = '_';
                           }
                           return name;
                         });

TEST(FaultyFilters, DamagedDistrictAndCategoryTreesLeaveThePickersEmptyUntilRetried) {
  ClientSession client;
  ASSERT_TRUE(client.serviceRunning()) << client.serviceErrors();
  client.setFaults("/client/index/131/citymore corrupt\n/client/index/131/catmore notjson");
  const std::string shown = client.run("search 火锅");
  ASSERT_GT(client.shownShops(), 0) << shown;
  const std::string picker = client.run("tap 全部区域");
  EXPECT_NE(picker.find("picker: (none) | (none)"), std::string::npos) << picker;
  EXPECT_FALSE(showsAlert(picker)) << picker;
  client.run("cancel");
  EXPECT_FALSE(showsAlert(client.run("tap 全部分类")));
  client.run("cancel");

  // Done on an empty tree asks for it again. The damaged answers were stored like any other
  // and are served again until the stored answers are dropped in the background.
  client.setFaults("");
  client.run("background");
  client.run("foreground");
  client.run("tap 全部区域");
  client.run("done");
  client.run("tap 全部区域");
  const std::string retried = client.run("pick 0 1");
  EXPECT_NE(retried.find("picker: 东城区 | 全部"), std::string::npos) << retried;
  client.run("cancel");
  EXPECT_EQ(client.storedStateDifference(), "");
}

// The one slow case: the answer comes a second after the transfer gives up (20 s).
TEST(FaultyTimeOut, AnAnswerLaterThanTheTimeOutFailsQuietly) {
  ClientSession client;
  ASSERT_TRUE(client.serviceRunning()) << client.serviceErrors();
  client.setSettleBound(std::chrono::seconds(30));
  client.setFaults(std::string(kSearchPath) + " delay=21000 times=1");
  const std::string failed = client.run("search 火锅");
  EXPECT_EQ(client.shownShops(), 0);
  EXPECT_FALSE(showsAlert(failed)) << failed;
  client.run("tap 总分");
  EXPECT_EQ(client.shownShops(), 15);
  EXPECT_EQ(client.storedStateDifference(), "");
}

}  // namespace
}  // namespace lk::test

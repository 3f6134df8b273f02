// The "现场播报" tab through the front end's commands against the stand-in service program; the
// service's request log shows what went on the wire.
#include <gtest/gtest.h>

#include <sstream>
#include <thread>

#include "Classes/LocalState/CacheCenter.h"
#include "Classes/ServiceClient/HttpRequestCacheCenter.h"
#include "Classes/ServiceClient/ServiceEndpoints.h"
#include "Classes/Toolkit/AlertCenter.h"
#include "Platform/UI/Application.h"
#include "frontends/commands/CliSession.h"
#include "tests/support/ScopedClientStorage.h"
#include "tests/support/ServiceLauncher.h"
#include "tests/support/StandInCliSession.h"
#include "tests/support/TestSupport.h"

namespace lk::test {
namespace {

class BroadcastEndToEnd : public StandInCliSession {};

TEST_F(BroadcastEndToEnd, TheCitysBroadcastsPageAndRefresh) {
  ASSERT_TRUE(service.running()) << service.errorOutput();
  run("city 131 北京");
  const std::string shown = run("tab 现场播报");
  EXPECT_NE(shown.find("navbar: 现场播报"), std::string::npos) << shown;
  EXPECT_NE(shown.find("发布播报"), std::string::npos);
  EXPECT_NE(shown.find("@"), std::string::npos) << "the city's rows name their shop";
  ASSERT_EQ(logged("/index/131/minicmt?p=0&n=15", 1).size(), 1u);

  run("pull-up");
  EXPECT_EQ(logged("/index/131/minicmt?p=1&n=15", 1).size(), 1u);

  run("pull-down");
  EXPECT_EQ(logged("/index/131/minicmt?p=0&n=15", 2).size(), 2u) << "a refresh asks for page 0";
}

}  // namespace
}  // namespace lk::test

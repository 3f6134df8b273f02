// The coupon tab through the front end's commands against the stand-in service program; the
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

class CouponEndToEnd : public StandInCliSession {};

TEST_F(CouponEndToEnd, OrdersACategoryADetailAndAnSms) {
  ASSERT_TRUE(service.running()) << service.errorOutput();
  run("city 131 北京");
  const std::string hottest = run("tab 优惠");
  EXPECT_NE(hottest.find("segments: [最热] | 最新"), std::string::npos) << hottest;
  EXPECT_NE(hottest.find("人下载"), std::string::npos);
  EXPECT_EQ(logged("/coupon/131/showlist?order=hot&p=0&n=20", 1).size(), 1u);

  const std::string newest = run("tap 最新");
  EXPECT_NE(newest.find("segments: 最热 | [最新]"), std::string::npos);
  EXPECT_EQ(newest.find("人下载"), std::string::npos) << newest;
  EXPECT_EQ(logged("order=new&p=0", 1).size(), 1u);

  run("tap 全部分类");
  run("pick 0 1");
  const std::string chosen = run("done");
  EXPECT_EQ(chosen.find("button: [全部分类]"), std::string::npos) << chosen;

  // The first row's shop name opens its offer.
  const auto drawn = chosen.find("drawn: ");
  ASSERT_NE(drawn, std::string::npos) << chosen;
  const auto nameEnd = chosen.find(" | ", drawn);
  const std::string detail = run("tap " + chosen.substr(drawn + 7, nameEnd - drawn - 7));
  EXPECT_EQ(detail.find("nothing on the screen"), std::string::npos) << detail;
  EXPECT_NE(detail.find("navbar: 优惠详情"), std::string::npos) << detail;
  EXPECT_NE(detail.find("适用商户:"), std::string::npos);
  EXPECT_EQ(logged("/info?gt=", 1).size(), 1u);
}

TEST_F(CouponEndToEnd, SendingAnOfferBySms) {
  ASSERT_TRUE(service.running()) << service.errorOutput();
  run("city 131 北京");
  run("tab 优惠");
  // The hottest offers are coupons of the sample data with SMS.
  std::string detail;
  std::string list = run("tab 优惠");
  std::size_t at = 0;
  for (int row = 0; row < 4; ++row) {
    at = list.find("drawn: ", at);
    if (at == std::string::npos) break;
    at += 7;
    detail = run("tap " + list.substr(at, list.find(" | ", at) - at));
    if (detail.find("right: [短信下载]") != std::string::npos) break;
    run("back");
  }
  ASSERT_NE(detail.find("right: [短信下载]"), std::string::npos) << detail;
  EXPECT_NE(run("tap 短信下载").find("alert: 请输入手机号码"), std::string::npos);
  run("type 1380013800");
  EXPECT_NE(run("alert 发送").find("请输入正确的手机号"), std::string::npos);
  run("alert 好的");
  run("tap 短信下载");
  run("type 13800138000");
  const std::string sent = run("alert 发送");
  EXPECT_EQ(sent.find("alert:"), std::string::npos) << sent;
  const auto lines = logged("sendCouponSms", 1);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_NE(lines[0].find("phone=13800138000"), std::string::npos) << lines[0];
  EXPECT_NE(lines[0].find("xda_did="), std::string::npos);
}

}  // namespace
}  // namespace lk::test

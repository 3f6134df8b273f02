// The front end against the stand-in service program on the real transport: a shop opened from
// a search, its map, phone sheet and sharing, then a shop's reviews and album, and the browse
// history in the stored user defaults.
#include <gtest/gtest.h>

#include <boost/json/parse.hpp>

#include <sstream>

#include "Classes/LocalState/CacheCenter.h"
#include "Classes/ServiceClient/HttpRequestCacheCenter.h"
#include "Classes/ServiceClient/ServiceEndpoints.h"
#include "Platform/UI/Application.h"
#include "frontends/commands/CliSession.h"
#include "tests/support/ScopedClientStorage.h"
#include "tests/support/ServiceLauncher.h"
#include "tests/support/TestSupport.h"

namespace lk::test {
namespace {

class ShopEndToEnd : public ::testing::Test {
 protected:
  ShopEndToEnd() {
    ui::Application::resetSharedInstanceForTesting();
    HttpRequestCacheCenter::resetSharedInstanceForTesting();
    ServiceEndpoints::setServiceURL(service.baseURL());
    // Located in 北京, as the run command starts: a refusal would put the search tab's alert over
    // every screen.
    cli::CliOptions located;
    located.position = cli::CliOptions::Position{39.915, 116.404};
    session = std::make_unique<cli::CliSession>(out, located);
    session->start();
  }
  ~ShopEndToEnd() override {
    session->finish();
    session.reset();
    ServiceEndpoints::setServiceURL("");
    HttpRequestCacheCenter::resetSharedInstanceForTesting();
    CacheCenter::resetSharedInstanceForTesting();
    ui::Application::resetSharedInstanceForTesting();
  }

  std::string run(const std::string& line) {
    out.str({});
    EXPECT_TRUE(session->execute(line)) << line;
    return out.str();
  }
  // The stored browse history, as the user-defaults file holds it.
  boost::json::array storedHistory() {
    const auto root = boost::json::parse(readFile(storage.storeFile()));
    const auto* history = root.as_object().if_contains("kShopBrowseHistory");
    return history != nullptr ? history->as_array() : boost::json::array();
  }

  ScopedMainLoop loop{false};
  ScopedClientStorage storage;
  ServiceLauncher service;
  std::ostringstream out;
  std::unique_ptr<cli::CliSession> session;
};

bool has(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

TEST_F(ShopEndToEnd, AShopFromASearchItsMapPhoneSharingReviewsAlbumAndHistory) {
  ASSERT_TRUE(service.running()) << service.errorOutput();
  const std::string results = run("search Tony");
  ASSERT_TRUE(has(results, "Tony's 牛排")) << results;

  const std::string shop = run("tap \"Tony's 牛排\"");
  ASSERT_TRUE(has(shop, "navbar: 商户详情")) << shop;
  EXPECT_TRUE(has(shop, "button: [拨打]"));
  EXPECT_TRUE(has(shop, "button: [shopinfo_tab_share]"));

  const std::string map = run("tap 地址");
  EXPECT_TRUE(has(map, "navbar: 地图")) << map;
  EXPECT_TRUE(has(map, "marker: Tony's 牛排")) << map;
  const std::string mapClosed = run("tap 返回");
  EXPECT_TRUE(has(mapClosed, "navbar: 商户详情")) << mapClosed;

  const std::string sheet = run("tap 拨打");
  ASSERT_TRUE(has(sheet, "sheet: 请选择商户电话")) << sheet;
  const auto buttons = sheet.substr(sheet.find("buttons: [") + 10);
  const std::string number = buttons.substr(0, buttons.find(']'));
  const std::string dialled = run("alert \"" + number + "\"");
  EXPECT_TRUE(has(dialled, "opened: tel:")) << dialled;

  const std::string sms = run("tap shopinfo_tab_share");
  EXPECT_TRUE(has(sms, "sms: [Tony's 牛排")) << sms;
  EXPECT_TRUE(has(run("send"), "button: [shopinfo_tab_share]")) << "back on the shop";

  // Shop 1000001 has 16 reviews and an album.
  run("back");
  run("back");
  const std::string second = run("shop 1000001");
  ASSERT_TRUE(has(second, "navbar: 商户详情")) << second;
  const std::string reviews = run("tap 点评");
  ASSERT_TRUE(has(reviews, "navbar: 点评")) << reviews;
  const std::string review = run("tap 深夜吃货181");
  EXPECT_TRUE(has(review, "navbar: 1/16")) << review;
  EXPECT_TRUE(has(run("tap comment_arrow_down"), "navbar: 2/16"));
  run("back");
  EXPECT_TRUE(has(run("pull-up"), "row 0.15")) << "the 16th review on the second page";
  run("back");
  const std::string album = run("tap 图片");
  EXPECT_TRUE(has(album, "navbar: 商户相册")) << album;
  EXPECT_TRUE(has(run("tap 图片1"), "label: 1/"));
  const std::string albumClosed = run("tap 返回");
  EXPECT_TRUE(has(albumClosed, "navbar: 商户详情")) << albumClosed;

  const auto history = storedHistory();
  ASSERT_EQ(history.size(), 2u);
  EXPECT_EQ(history[0].as_object().at("id").as_string(), "1000001");
  EXPECT_EQ(history[1].as_object().at("name").as_string().subview().substr(0, 13), "Tony's 牛排");

  // A new process on the same files shows the same shops.
  session->finish();
  session.reset();
  storage.restart();
  const auto& restored = CacheCenter::sharedInstance().shopBrowseHistory();
  ASSERT_EQ(restored.size(), 2u);
  EXPECT_EQ(restored[0]->shopId(), "1000001");
  session = std::make_unique<cli::CliSession>(out);
  session->start();
}

}  // namespace
}  // namespace lk::test

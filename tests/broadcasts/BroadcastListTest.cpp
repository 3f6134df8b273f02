// The broadcast list on the fake transport, in virtual time: its three sources, paging by 15,
// the pull-down refresh and what a failed answer leaves.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "Classes/Broadcasts/BroadcastListViewController.h"
#include "Classes/Broadcasts/BroadcastNotifications.h"
#include "Classes/LocalState/CacheCenter.h"
#include "Classes/Records/Broadcast.h"
#include "Classes/Records/ShopInfo.h"
#include "Classes/ServiceClient/HttpRequestCacheCenter.h"
#include "Classes/ServiceClient/ServiceEndpoints.h"
#include "Classes/Shop/LKImageDataSource.h"
#include "Classes/Shop/LKPhotoScrollViewController.h"
#include "Classes/Shop/ShopInfoViewController.h"
#include "Platform/Notifications/NotificationCenter.h"
#include "Platform/UI/Application.h"
#include "Platform/UI/NavigationController.h"
#include "Platform/UI/ScreenInput.h"
#include "Platform/UI/TableView.h"
#include "Platform/UI/Window.h"
#include "tests/support/FakeTransport.h"
#include "tests/support/ScopedClientStorage.h"
#include "tests/support/TestSupport.h"

namespace lk::test {
namespace {

constexpr const char* kBase = "http://directory.test/client";

// A page of `count` broadcasts numbered from `first`, under `key`.
std::string page(int first, int count, const std::string& key = "list") {
  std::string json = R"({"base": "http://pics.test/", ")" + key + R"(": [)";
  for (int i = 0; i < count; ++i) {
    const std::string n = std::to_string(first + i);
    if (i > 0) json += ",";
    json += R"({"uname": "作者)" + n + R"(", "content": "播报)" + n + R"(", "shop_id": ")" + n +
            R"(", "shop_name": "店)" + n + R"(", "create_time": 1300000000})";
  }
  return json + "]}";
}

// `total` broadcasts, 15 a page, under `key`.
FakeTransport::Responder catalogue(int total, const std::string& key = "list",
                                   Duration delay = Duration::zero()) {
  return [=](const FakeTransport::Request& request) {
    const int first = std::stoi(request.queryValue("p").value_or("0")) * 15;
    FakeTransport::Answer answer;
    answer.body = page(first, std::max(0, std::min(15, total - first)), key);
    answer.encoding = FakeTransport::Body::kGzip;
    answer.delay = delay;
    return answer;
  };
}

class BroadcastList : public ::testing::Test {
 protected:
  BroadcastList() {
    ui::Application::resetSharedInstanceForTesting();
    HttpRequestCacheCenter::resetSharedInstanceForTesting();
    ServiceEndpoints::setServiceURL(kBase);
  }
  ~BroadcastList() override {
    window.reset();
    nav.reset();
    screen.reset();
    loop->runFor(seconds(1));
    ServiceEndpoints::setServiceURL("");
    HttpRequestCacheCenter::resetSharedInstanceForTesting();
    ui::Application::resetSharedInstanceForTesting();
  }

  void open(std::shared_ptr<BroadcastListViewController> list =
                std::make_shared<BroadcastListViewController>()) {
    screen = std::move(list);
    nav = std::make_shared<ui::NavigationController>(screen);
    window = std::make_unique<ui::Window>();
    window->setRootViewController(nav);
    window->makeKeyAndVisible();
  }
  void settle() {
    for (int step = 0; step < 100 && screen->request(); ++step)
      loop->runFor(seconds(0.1));
    ASSERT_EQ(screen->request(), nullptr);
    loop->runFor(seconds(1));
  }
  void pullUp() {
    ui::TableView& table = *screen->tableView();
    const double toEnd = table.maxOffsetY() - table.contentOffset().y;
    if (toEnd > 0) table.drag(-toEnd);
    table.drag(-70);
  }
  void pullDown() {
    ui::TableView& table = *screen->tableView();
    table.drag(table.contentOffset().y + 70);
  }
  std::vector<std::string> pages(const std::string& part = "/minicmt") {
    std::vector<std::string> out;
    for (const auto& url : transport.requestedURLs()) {
      if (url.find(part) != std::string::npos) out.push_back(url.substr(std::string(kBase).size()));
    }
    return out;
  }
  static std::shared_ptr<ShopInfo> shop(const std::string& id, const std::string& name) {
    auto s = std::make_shared<ShopInfo>();
    s->setShopId(id);
    s->setStrName(name);
    return s;
  }
  static void forgetAnswers() { HttpRequestCacheCenter::sharedInstance().distoryCacheData(); }
  std::string dump() { return input.dump(); }
  bool shows(const std::string& text) { return dump().find(text) != std::string::npos; }

  ScopedMainLoop loop;
  ScopedClientStorage storage;
  FakeTransport transport;
  std::shared_ptr<BroadcastListViewController> screen;
  std::shared_ptr<ui::NavigationController> nav;
  std::unique_ptr<ui::Window> window;
  ui::ScreenInput input;
};

TEST_F(BroadcastList, TheCityListPagesByFifteenUnderList) {
  transport.respond(R"(.*/index/\d+/minicmt)", catalogue(40));
  open();
  EXPECT_TRUE(shows("正在载入数据")) << "the first page loads under the overlay";
  settle();
  ASSERT_EQ(pages().size(), 1u);
  EXPECT_EQ(pages()[0], "/index/131/minicmt?p=0&n=15&xda_from=iPhone&xda_page=BroadcastList&tn=gz");
  EXPECT_EQ(screen->title(), "现场播报");
  EXPECT_EQ(screen->broadcastList().size(), 15u);
  ASSERT_NE(screen->refreshFooterView(), nullptr) << "exactly 15 keeps load-more on";
  EXPECT_EQ(screen->refreshFooterView()->upText, "上拉载入更多15条播报");
  EXPECT_TRUE(shows("@店0")) << "the city's rows name their shop";

  pullUp();
  settle();
  EXPECT_NE(pages().back().find("?p=1&n=15"), std::string::npos);
  pullUp();
  settle();
  EXPECT_EQ(screen->broadcastList().size(), 40u);
  EXPECT_EQ(screen->refreshFooterView(), nullptr) << "10 broadcasts end the paging";
  EXPECT_EQ(screen->currentPage(), 3);
  pullUp();
  settle();
  EXPECT_EQ(pages().size(), 3u);
}

TEST_F(BroadcastList, AShopListReadsCmtlistAndHidesTheShopName) {
  transport.respond(R"(.*/shop/42/minicmt)", catalogue(2, "cmtlist"));
  open(BroadcastListViewController::initBroadcastListControllerWithShop(shop("42", "小店")));
  settle();
  ASSERT_EQ(pages().size(), 1u);
  EXPECT_EQ(pages()[0], "/shop/42/minicmt?p=0&n=15&tn=gz");
  EXPECT_EQ(screen->broadcastList().size(), 2u);
  EXPECT_TRUE(shows("播报1"));
  EXPECT_FALSE(shows("@店1"));
}

TEST_F(BroadcastList, ACityAnswerUnderCmtlistShowsNothingAndThePrompt) {
  transport.respond(R"(.*/index/\d+/minicmt)", catalogue(3, "cmtlist"));
  open();
  settle();
  EXPECT_TRUE(screen->broadcastList().empty());
  EXPECT_TRUE(shows("北京目前没有现场播报, 赶快抢发第一条吧")) << dump();
}

TEST_F(BroadcastList, AFailedAnswerShowsNoPromptAndKeepsTheRows) {
  transport.respond(R"(.*/index/\d+/minicmt)", [](const FakeTransport::Request&) {
    FakeTransport::Answer answer;
    answer.status = 500;
    answer.body = "{}";
    return answer;
  });
  open();
  settle();
  EXPECT_FALSE(shows("目前没有现场播报")) << "a refused answer is not an empty city";
  EXPECT_FALSE(shows("正在载入数据"));

  transport.respond(R"(.*/index/\d+/minicmt)", catalogue(3));
  screen->refresh();
  settle();
  EXPECT_EQ(screen->broadcastList().size(), 3u);
  forgetAnswers();
  transport.respond(R"(.*/index/\d+/minicmt)", [](const FakeTransport::Request&) {
    FakeTransport::Answer answer;
    answer.body = "not json";
    return answer;
  });
  screen->refresh();
  settle();
  EXPECT_EQ(screen->broadcastList().size(), 3u) << "the rows stay";
  EXPECT_FALSE(shows("目前没有现场播报"));
}

TEST_F(BroadcastList, PullingDownReplacesTheRowsWhenTheFirstPageArrives) {
  transport.respond(R"(.*/index/\d+/minicmt)", catalogue(20));
  open();
  settle();
  ASSERT_EQ(screen->broadcastList().size(), 15u);
  forgetAnswers();
  transport.respond(R"(.*/index/\d+/minicmt)", catalogue(4, "list", seconds(2)));
  pullDown();
  EXPECT_TRUE(screen->isRefreshing());
  loop->runFor(seconds(1));
  EXPECT_EQ(screen->broadcastList().size(), 15u) << "the old rows stay while refreshing";
  settle();
  EXPECT_FALSE(screen->isRefreshing());
  EXPECT_EQ(screen->broadcastList().size(), 4u);
  EXPECT_EQ(screen->currentPage(), 1);
  EXPECT_NE(screen->refreshHeaderView()->lastUpdatedLabel()->text().find("Last Updated: "),
            std::string::npos);
}

TEST_F(BroadcastList, APullUpDuringARefreshAsksForNothingAndEndsItsAnimation) {
  transport.respond(R"(.*/index/\d+/minicmt)", catalogue(40));
  open();
  settle();
  forgetAnswers();
  transport.respond(R"(.*/index/\d+/minicmt)", catalogue(40, "list", seconds(2)));
  screen->refresh();
  pullUp();
  loop->runFor(seconds(0.5));
  EXPECT_EQ(pages().size(), 2u) << "page 0 is asked for once";
  EXPECT_FALSE(screen->isLoading) << "the ignored pull-up leaves no loading state";
  settle();
  pullUp();
  settle();
  EXPECT_NE(pages().back().find("?p=1&n=15"), std::string::npos) << "load-more still works";
}

TEST_F(BroadcastList, ARefreshThatCancelsALoadMoreEndsItsLoadingState) {
  transport.respond(R"(.*/index/\d+/minicmt)", catalogue(40, "list", seconds(2)));
  open();
  settle();
  pullUp();
  loop->runFor(seconds(0.5));
  ASSERT_TRUE(screen->isLoading);
  screen->refresh();
  settle();
  EXPECT_FALSE(screen->isLoading);
  EXPECT_EQ(screen->broadcastList().size(), 15u);
  pullUp();
  settle();
  EXPECT_EQ(screen->broadcastList().size(), 30u) << "load-more is alive";
}

TEST_F(BroadcastList, CityChangeSetsEachSourcesPromptAndRefreshes) {
  transport.respond(R"(.*/minicmt)", catalogue(0));
  open(BroadcastListViewController::initBroadcastListControllerWithShop(shop("7", "老店")));
  settle();
  EXPECT_TRUE(shows("老店目前没有现场播报")) << dump();
  NotificationCenter::defaultCenter().post(kCityChanged);
  settle();
  EXPECT_EQ(pages().size(), 2u);
  EXPECT_TRUE(shows("老店目前没有现场播报")) << "a shop's list keeps the shop's name";
}

TEST_F(BroadcastList, TheOwnListWithoutASessionAsksForNothing) {
  transport.respond(R"(.*/minicmt)", catalogue(3, "cmtlist"));
  open(BroadcastListViewController::initBroadcastListControllerWithSSID("old-session"));
  settle();
  EXPECT_TRUE(pages().empty()) << "no session id goes into a URL it does not belong to";
  EXPECT_FALSE(shows("赶快发布你的第一条现场播报吧"));
}

TEST_F(BroadcastList, APhotoOpensTheFullSizePagerAndRowsOpenTheirShop) {
  transport.respond(R"(.*/index/\d+/minicmt)", catalogue(1));
  open();
  settle();
  Notification n{kBroadcastGoImageView, {}, {}};
  n.userInfo[kBroadcastGoImageViewUrlKey] = std::string("http://pics.test/abpic/1.jpg");
  NotificationCenter::defaultCenter().post(n);
  loop->runFor(seconds(1));
  auto* modal = dynamic_cast<ui::NavigationController*>(nav->modalViewController());
  ASSERT_NE(modal, nullptr);
  auto* pager = dynamic_cast<LKPhotoScrollViewController*>(modal->topViewController());
  ASSERT_NE(pager, nullptr);
  auto* source = dynamic_cast<LKImageDataSource*>(pager->dataSource().get());
  ASSERT_NE(source, nullptr);
  ASSERT_EQ(source->images().size(), 1u);
  EXPECT_EQ(source->images()[0][0], "http://pics.test/pic/1.jpg") << "the full-size picture";
  EXPECT_EQ(source->images()[0][1], "http://pics.test/abpic/1.jpg") << "the thumbnail";
  nav->dismissModalViewController(false);
  loop->runFor(seconds(1));

  screen->tableViewDidSelectRowAtIndexPath(*screen->tableView(), {0, 0});
  loop->runFor(seconds(1));
  auto* shopScreen = dynamic_cast<ShopInfoViewController*>(nav->topViewController());
  ASSERT_NE(shopScreen, nullptr);
  EXPECT_EQ(shopScreen->shopInfo()->shopId(), "0");
  EXPECT_EQ(shopScreen->shopInfo()->strName(), "店0");

  // Hidden under the shop screen, the list opens nothing more.
  Notification go{kBroadcastGoShopinfo, {}, {}};
  go.userInfo[kBroadcastGoShopinfoShopKey] = shop("9", "别家");
  NotificationCenter::defaultCenter().post(go);
  EXPECT_EQ(nav->topViewController(), shopScreen);
}

}  // namespace
}  // namespace lk::test

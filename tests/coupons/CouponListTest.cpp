#include <gtest/gtest.h>

#include "Classes/Coupons/CouponListHeaderView.h"
#include "Classes/Coupons/CouponListViewController.h"
#include "Classes/Coupons/CouponNotifications.h"
#include "Classes/Coupons/NearbyCouponViewController.h"
#include "Classes/Location/LKLocation.h"
#include "Classes/Location/LocationNotifications.h"
#include "Classes/Records/CouponList.h"
#include "Classes/ServiceClient/HttpRequest.h"
#include "Platform/Notifications/NotificationCenter.h"
#include "Platform/UI/TableView.h"
#include "tests/coupons/CouponFixture.h"

namespace lk::test {
namespace {

using Answer = ScriptedCouponService::Answer;

// A city of `total` offers, 20 a page.
ScriptedCouponService::Script catalogue(int total) {
  return [total](const httplib::Request& req) {
    const int first = std::stoi(req.get_param_value("p")) * 20;
    return Answer{200,
                  ScriptedCouponService::listPage(first, std::max(0, std::min(20, total - first)))};
  };
}

class CouponListScreen : public CouponScreenTest {
 protected:
  void open() {
    screen = std::make_shared<CouponListViewController>();
    nav->pushViewController(screen, false);
    settleList();
  }
  void settleList() {
    settle([&] { return !screen->couponRequest() && !screen->channelRequest(); });
  }
  void pullUp() {
    ui::TableView& table = *screen->tableView();
    const double toEnd = table.maxOffsetY() - table.contentOffset().y;
    if (toEnd > 0) table.drag(-toEnd);
    table.drag(-70);
    settleList();
  }
  static void forgetAnswers() { HttpRequestCacheCenter::sharedInstance().distoryCacheData(); }
  std::vector<std::string> pages() { return service.targetsWith("/showlist"); }
  std::shared_ptr<CouponListViewController> screen;
};

TEST_F(CouponListScreen, PagesOfTwentyKeepTheFooterAndAShortPageEndsIt) {
  service.onList(catalogue(45));
  open();
  ASSERT_EQ(pages().size(), 1u);
  EXPECT_EQ(pages()[0],
            "/client/coupon/131/showlist?order=hot&p=0&n=20&xda_from=iPhone&xda_page=Coupon&tn=gz");
  EXPECT_EQ(screen->couponList().size(), 20u);
  ASSERT_NE(screen->refreshFooterView(), nullptr);
  EXPECT_EQ(screen->refreshFooterView()->upText, "上拉载入更多优惠信息");
  EXPECT_EQ(screen->refreshFooterView()->releaseText, "松开载入更多优惠信息");
  pullUp();
  EXPECT_NE(pages().back().find("&p=1&n=20"), std::string::npos);
  EXPECT_NE(screen->refreshFooterView(), nullptr) << "a second page of 20 keeps it";
  pullUp();
  EXPECT_NE(pages().back().find("&p=2&n=20"), std::string::npos);
  EXPECT_EQ(screen->couponList().size(), 45u);
  EXPECT_EQ(screen->refreshFooterView(), nullptr) << "5 offers end the paging";
  EXPECT_EQ(screen->currentPage(), 3);
}

TEST_F(CouponListScreen, CountersShowOnlyInTheHottestOrderAndOnlyAboveZero) {
  service.onList(catalogue(3));
  open();
  // Offer 0 is a coupon downloaded 0 times; 1 is a discount with 7 interested; 2 a coupon with 2.
  std::string text = dump();
  EXPECT_EQ(text.find("0人下载"), std::string::npos) << text;
  EXPECT_NE(text.find("店1 | 7人感兴趣 | [火锅]"), std::string::npos) << text;
  EXPECT_NE(text.find("店2 | 2人下载"), std::string::npos);
  EXPECT_NE(text.find("<coupon_typeicon_2> | 优惠1"), std::string::npos);

  ASSERT_TRUE(screen->header()->segment()->tapSegment("最新"));
  settleList();
  EXPECT_NE(pages().back().find("order=new&p=0"), std::string::npos);
  text = dump();
  EXPECT_EQ(text.find("人感兴趣"), std::string::npos) << text;
  EXPECT_EQ(text.find("人下载"), std::string::npos);
  EXPECT_NE(text.find("店1 | [火锅]"), std::string::npos);
}

TEST_F(CouponListScreen, ANewOrderAfterAShortPageOffersMoreAgain) {
  service.onList(catalogue(19));
  open();
  EXPECT_EQ(screen->refreshFooterView(), nullptr);
  service.onList(catalogue(40));
  ASSERT_TRUE(screen->header()->segment()->tapSegment("最新"));
  settleList();
  EXPECT_EQ(screen->sortType(), CouponListViewController::kNewest);
  EXPECT_NE(screen->refreshFooterView(), nullptr);
}

TEST_F(CouponListScreen, AnEmptyCityShowsItsPromptButAFailedAnswerDoesNot) {
  open();
  EXPECT_TRUE(shows("该城市没有优惠信息")) << dump();

  forgetAnswers();
  service.onList([](const httplib::Request&) { return Answer{500, "{}"}; });
  screen->cityChanged();
  settleList();
  EXPECT_FALSE(shows("该城市没有优惠信息")) << "a refused answer is not an empty city";
  EXPECT_TRUE(shows("未知错误,Code:500"));
  ASSERT_TRUE(input.chooseAlertButton("好的"));

  forgetAnswers();
  service.onList([](const httplib::Request&) { return Answer{200, "not json"}; });
  screen->cityChanged();
  settleList();
  EXPECT_FALSE(shows("该城市没有优惠信息")) << "nor is an answer that does not decode";
  EXPECT_FALSE(shows("正在载入数据"));
}

TEST_F(CouponListScreen, ChoosingTheTabWhileTheFirstPageIsPendingAsksOnce) {
  service.onList(catalogue(20));
  screen = std::make_shared<CouponListViewController>();
  nav->pushViewController(screen, false);
  ASSERT_NE(screen->couponRequest(), nullptr);
  screen->checkData();
  settleList();
  EXPECT_EQ(pages().size(), 1u);
  EXPECT_EQ(screen->couponList().size(), 20u) << "no duplicate rows";
  EXPECT_EQ(screen->currentPage(), 1);
  screen->checkData();
  settleList();
  EXPECT_EQ(pages().size(), 1u) << "a list with rows is kept";
}

TEST_F(CouponListScreen, TheChooserLabelsTheButtonAndRestartsTheList) {
  service.onList(catalogue(25));
  open();
  pullUp();
  ASSERT_EQ(screen->couponList().size(), 25u);
  ASSERT_EQ(screen->channelList().size(), 2u) << "only the top-level categories";

  ASSERT_TRUE(screen->header()->button()->tap());
  ASSERT_TRUE(screen->isChooserShown());
  EXPECT_EQ(screen->cancelView()->superview(), window.get());
  loop->runFor(seconds(1));
  EXPECT_DOUBLE_EQ(screen->cancelView()->alpha(), 0.8);

  // "完成" without a turn keeps the label.
  screen->picker()->finishAction();
  settleList();
  EXPECT_FALSE(screen->isChooserShown());
  EXPECT_EQ(screen->header()->buttonTitle(), "全部分类");
  EXPECT_EQ(screen->couponList().size(), 20u) << "restarted from page 0";

  ASSERT_TRUE(screen->header()->button()->tap());
  ASSERT_TRUE(screen->picker()->turnWheel(0, 1));
  EXPECT_EQ(screen->header()->buttonTitle(), "休闲娱乐") << "the label follows the wheel";
  screen->touchCancelView();
  loop->runFor(seconds(1));
  EXPECT_FALSE(screen->isChooserShown());
  EXPECT_EQ(screen->cancelView()->superview(), nullptr);
  EXPECT_DOUBLE_EQ(screen->cancelView()->alpha(), 1);
  EXPECT_EQ(screen->header()->buttonTitle(), "全部分类") << "nothing was chosen";

  ASSERT_TRUE(screen->header()->button()->tap());
  ASSERT_TRUE(screen->picker()->turnWheel(0, 1));
  screen->picker()->finishAction();
  settleList();
  EXPECT_EQ(screen->header()->buttonTitle(), "休闲娱乐");
  EXPECT_TRUE(screen->channelTitle().empty());
  EXPECT_EQ(pages().back().find("20002"), std::string::npos) << "the list carries no category";
}

TEST_F(CouponListScreen, AChooserOverFailedCategoriesAsksForThemAgain) {
  service.onCategories([](const httplib::Request&) { return Answer{500, "{}"}; });
  open();
  ASSERT_TRUE(screen->channelList().empty());
  service.onCategories([](const httplib::Request&) {
    return Answer{200, R"({"list": [{"id": 20001, "name": "美食"}]})"};
  });
  ASSERT_TRUE(screen->header()->button()->tap());
  settleList();
  EXPECT_EQ(service.targetsWith("/catmore").size(), 2u);
  ASSERT_EQ(screen->channelList().size(), 1u);
  EXPECT_EQ(screen->picker()->numberOfRowsInComponent(0), 1);
  EXPECT_TRUE(shows("picker: 美食")) << dump();
}

TEST_F(CouponListScreen, OrdersAreIgnoredWhileAnotherScreenIsOnTop) {
  service.onList(catalogue(5));
  open();
  nav->pushViewController(std::make_shared<ui::ViewController>(), false);
  NotificationCenter::defaultCenter().post(kCouponSwitchToNewestList);
  settleList();
  EXPECT_EQ(screen->sortType(), CouponListViewController::kHottest);
  EXPECT_EQ(pages().size(), 1u);
}

TEST_F(CouponListScreen, ARowOpensTheOffersDetail) {
  service.onList(catalogue(3));
  open();
  ASSERT_TRUE(screen->tableView()->tapRow({0, 1}));
  settle([&] { return service.targetsWith("/info").size() == 1; });
  EXPECT_EQ(service.targetsWith("/info")[0], "/client/coupon/1/info?gt=2&tn=gz");
  EXPECT_TRUE(shows("navbar: 优惠详情")) << dump();
}

// The nearby list with the position the location service would report.
class TestNearbyCoupons : public NearbyCouponViewController {
 public:
  int located = 0;
  std::shared_ptr<LKLocation> position;

 protected:
  void startLocation() override { ++located; }
  [[nodiscard]] std::shared_ptr<LKLocation> location() const override { return position; }
};

TEST_F(CouponListScreen, NearbyOffersWaitForThePositionAndShowTheirPromptOnlyAfterAnAnswer) {
  service.onList(catalogue(3));
  open();
  auto nearby = std::make_shared<TestNearbyCoupons>();
  nav->pushViewController(nearby, false);
  loop->runFor(seconds(1));
  EXPECT_EQ(nearby->located, 1) << "no position yet: locating starts";
  EXPECT_TRUE(service.targetsWith("/search/0/q").empty());
  EXPECT_TRUE(shows("navbar: 附近优惠"));

  nearby->position = std::make_shared<LKLocation>();
  nearby->position->setX("116.4");
  nearby->position->setY("39.9");
  nearby->position->setCityId(131);
  service.onSearch([](const httplib::Request&) { return Answer{503, "{}"}; });
  forgetAnswers();
  NotificationCenter::defaultCenter().post(kLocationSuccessed);
  settle([&] { return nearby->couponRequest() == nullptr; });
  ASSERT_EQ(service.targetsWith("/search/0/q").size(), 1u);
  EXPECT_EQ(service.targetsWith("/search/0/q")[0],
            "/client/search/0/q?ci=131&x=116.4&y=39.9&sd=3.000000&ex=1&sort=1&p=0&n=20&tn=gz");
  EXPECT_FALSE(shows("您附近目前没有优惠信息")) << "a refused answer says nothing";
  EXPECT_FALSE(shows("alert:")) << "and shows no alert";

  service.onSearch([](const httplib::Request&) {
    return Answer{200, R"({"searchlist": [{"shop_name": "<em>茶</em>馆", "total_score": 3,
        "taglist": "茶", "cheap_off": [{"id": 9, "title": "买一送一", "interest_num": 4,
        "type": "活动"}]}, {"shop_name": "无", "cheap_off": []}]})"};
  });
  forgetAnswers();
  NotificationCenter::defaultCenter().post(kLocationSuccessed);
  settle([&] { return nearby->couponRequest() == nullptr; });
  ASSERT_EQ(nearby->couponList().size(), 1u);
  EXPECT_TRUE(shows("茶馆 | 4人感兴趣 | [茶]")) << dump();

  service.onSearch([](const httplib::Request&) { return Answer{200, R"({"searchlist": []})"}; });
  forgetAnswers();
  NotificationCenter::defaultCenter().post(kLocationSuccessed);
  settle([&] { return nearby->couponRequest() == nullptr; });
  EXPECT_TRUE(shows("您附近目前没有优惠信息"));
}

}  // namespace
}  // namespace lk::test

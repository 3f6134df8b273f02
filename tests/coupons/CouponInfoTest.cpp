#include <gtest/gtest.h>

#include "Classes/Account/LKPopupTextField.h"
#include "Classes/Coupons/CouponInfoCellView.h"
#include "Classes/Coupons/CouponInfoViewController.h"
#include "Classes/Records/Coupon.h"
#include "Platform/UI/Keyboard.h"
#include "Platform/UI/TableView.h"
#include "tests/coupons/CouponFixture.h"

namespace lk::test {
namespace {

using Answer = ScriptedCouponService::Answer;

std::shared_ptr<Coupon> stub(const std::string& id) {
  auto coupon = std::make_shared<Coupon>();
  coupon->setCouponId(id);
  coupon->setType(1);
  return coupon;
}

class CouponInfoScreen : public CouponScreenTest {
 protected:
  void open(std::vector<std::string> ids, bool displayShop = true) {
    std::vector<std::shared_ptr<Coupon>> coupons;
    for (const auto& id : ids)
      coupons.push_back(stub(id));
    screen = std::make_shared<CouponInfoViewController>(std::move(coupons));
    screen->displayShop = displayShop;
    nav->pushViewController(screen, false);
    settleInfo();
  }
  void settleInfo() {
    settle([&] { return screen->pendingInfoRequests() == 0 && screen->pendingSmsRequests() == 0; });
  }
  int sections() { return screen->tableView()->numberOfSections(); }
  int rows(int section) { return screen->tableView()->numberOfRowsInSection(section); }
  bool typeNumber(const std::string& digits) { return ui::Keyboard::shared().type(digits); }

  std::shared_ptr<CouponInfoViewController> screen;
};

TEST_F(CouponInfoScreen, OneOfferFromAListShowsItsShopsAndTheBarButton) {
  service.onDetail([](const httplib::Request&) {
    return Answer{200, ScriptedCouponService::detail("5", 5, true)};
  });
  open({"5"});
  EXPECT_EQ(service.targetsWith("/info")[0], "/client/coupon/5/info?gt=1&tn=gz");
  ASSERT_EQ(sections(), 2);
  EXPECT_EQ(rows(0), 2);
  EXPECT_EQ(rows(1), 4) << "3 shops and the row for all of them";
  EXPECT_TRUE(shows("right: [短信下载]")) << dump();
  EXPECT_TRUE(shows("适用商户:"));
  EXPECT_TRUE(shows("drawn: 标题5")) << dump();
  EXPECT_TRUE(shows("1970-01-01 至 1970-01-02") || shows(" 至 ")) << dump();
  screen->tableView()->scrollToRowAtIndexPath({1, 3}, ui::TableView::ScrollPosition::kBottom,
                                              false);
  EXPECT_TRUE(shows("所有适用商户（5）")) << dump();
  ASSERT_TRUE(screen->tableView()->tapRow({1, 3}));
  EXPECT_TRUE(screen->showAllShop());
  EXPECT_EQ(rows(1), 5);
  EXPECT_FALSE(shows("所有适用商户"));
}

TEST_F(CouponInfoScreen, OffersFromAShopHaveAButtonUnderEachOfferWithSms) {
  service.onDetail([](const httplib::Request& r) {
    const std::string id = r.matches[1];
    return Answer{200, ScriptedCouponService::detail(id, 2, id != "2")};
  });
  open({"1", "2", "3"}, false);
  EXPECT_EQ(sections(), 3) << "no shop section";
  EXPECT_FALSE(shows("right: [短信下载]"));
  EXPECT_DOUBLE_EQ(*screen->tableViewHeightForFooterInSection(*screen->tableView(), 0), 50);
  EXPECT_DOUBLE_EQ(*screen->tableViewHeightForFooterInSection(*screen->tableView(), 1), 0);
  EXPECT_EQ(screen->tableView()->frame().height(), 416);
}

TEST_F(CouponInfoScreen, ALateOrFailedOfferShiftsNoButtonToAnotherOffer) {
  service.onDetail([](const httplib::Request& r) {
    const std::string id = r.matches[1];
    if (id == "1") return Answer{404, "{}"};
    return Answer{200, ScriptedCouponService::detail(id, 1, true)};
  });
  open({"1", "2"}, false);
  ASSERT_EQ(sections(), 1) << "only the offer that arrived";
  EXPECT_FALSE(screen->indexWithCouponId("1").has_value());
  EXPECT_EQ(screen->indexWithCouponId("2"), 0);
  auto footer = screen->tableViewViewForFooterInSection(*screen->tableView(), 0);
  ASSERT_NE(footer, nullptr);
  auto button = std::dynamic_pointer_cast<ui::Button>(footer->subviews().front());
  ASSERT_TRUE(button && button->tap());
  EXPECT_EQ(screen->selectedCouponId(), "2") << "the button names its offer";
  ASSERT_TRUE(input.chooseAlertButton("取消"));
  screen->getSMS("1");
  EXPECT_EQ(screen->phonePrompt()->isVisible(), false) << "an offer not shown gets no prompt";
}

TEST_F(CouponInfoScreen, SendingChecksTheNumberAndStartsEachPromptEmpty) {
  open({"7"});
  ASSERT_TRUE(input.tap("短信下载"));
  ASSERT_TRUE(shows("alert: 请输入手机号码")) << dump();
  EXPECT_TRUE(typeNumber("13800138000"));
  typeNumber("1");
  EXPECT_EQ(screen->phoneNumber(), "13800138000") << "a 12th digit is refused";
  ui::Keyboard::shared().deleteBackward();
  EXPECT_EQ(screen->phoneNumber(), "1380013800") << "deleting from 11 is accepted";
  ASSERT_TRUE(input.chooseAlertButton("发送"));
  EXPECT_TRUE(shows("请输入正确的手机号"));
  ASSERT_TRUE(input.chooseAlertButton("好的"));
  EXPECT_TRUE(service.smsBodies().empty());

  ASSERT_TRUE(input.tap("短信下载"));
  EXPECT_TRUE(screen->phoneNumber().empty()) << "the earlier number is not sent again";
  ASSERT_TRUE(input.chooseAlertButton("发送"));
  EXPECT_TRUE(shows("请输入正确的手机号"));
  ASSERT_TRUE(input.chooseAlertButton("好的"));

  ASSERT_TRUE(input.tap("短信下载"));
  typeNumber("１３８００１３８０００");
  ASSERT_TRUE(input.chooseAlertButton("发送"));
  settleInfo();
  ASSERT_EQ(service.smsBodies().size(), 1u);
  EXPECT_EQ(service.smsBodies()[0].rfind("phone=13800138000&xda_did=", 0), 0u)
      << service.smsBodies()[0];
  EXPECT_EQ(service.targetsWith("sendCouponSms")[0], "/client/submit/7/sendCouponSms");
  EXPECT_FALSE(shows("alert:")) << "a sent message shows nothing";
}

TEST_F(CouponInfoScreen, APendingSmsShowsNoSecondPromptAndEndsWithTheScreen) {
  service.onSms([](const httplib::Request&) {
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    return Answer{200, "{}"};
  });
  open({"7"});
  ASSERT_TRUE(input.tap("短信下载"));
  typeNumber("13800138000");
  ASSERT_TRUE(input.chooseAlertButton("发送"));
  EXPECT_TRUE(screen->isSmsPending("7"));
  ASSERT_TRUE(input.tap("短信下载"));
  EXPECT_FALSE(shows("alert: 请输入手机号码")) << "no second prompt while it is on its way";
  std::weak_ptr<CouponInfoViewController> weak = screen;
  nav->popViewController(false);
  screen.reset();
  loop->runFor(seconds(2));
  EXPECT_TRUE(weak.expired());
}

TEST_F(CouponInfoScreen, AnSmsThatNeverLeftThePhoneIsReported) {
  open({"7"});
  ServiceEndpoints::setServiceURL("http://127.0.0.1:" + std::to_string(unusedLoopbackPort()) +
                                  "/client");
  ASSERT_TRUE(input.tap("短信下载"));
  typeNumber("13800138000");
  ASSERT_TRUE(input.chooseAlertButton("发送"));
  settleInfo();
  EXPECT_TRUE(shows("网络错误")) << dump();
}

TEST_F(CouponInfoScreen, ALongTextCollapsesAndItsButtonExpandsIt) {
  std::string text;
  for (int i = 0; i < 60; ++i)
    text += "优惠内容详情说明";
  service.onDetail([text](const httplib::Request&) {
    return Answer{200, ScriptedCouponService::detail("9", 0, false, text)};
  });
  open({"9"});
  const auto& coupon = *screen->couponList()[0];
  ASSERT_GT(CouponInfoCellView::textHeight(coupon), 200);
  const double collapsed = *screen->tableViewHeightForRowAtIndexPath(*screen->tableView(), {0, 0});
  EXPECT_DOUBLE_EQ(collapsed, 240);
  ASSERT_TRUE(input.tap(CouponInfoCellView::kButtonImage)) << dump();
  EXPECT_TRUE(coupon.showAll());
  const double expanded = *screen->tableViewHeightForRowAtIndexPath(*screen->tableView(), {0, 0});
  EXPECT_DOUBLE_EQ(expanded, 120 + CouponInfoCellView::textHeight(coupon));
  EXPECT_TRUE(shows("coupon_button_expand (flipped)")) << dump();
}

}  // namespace
}  // namespace lk::test

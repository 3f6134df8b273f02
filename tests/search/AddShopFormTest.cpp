#include <gtest/gtest.h>

#include <cmath>

#include "Classes/Account/MarkLocationViewController.h"
#include "Classes/Search/ChannelPickerViewController.h"
#include "Platform/UI/TableView.h"
#include "tests/search/AddShopFixture.h"

namespace lk::test {
namespace {

class AddShopForm : public AddShopTest {};

TEST_F(AddShopForm, TheAddShopRowOfAnEmptySearchOpensTheFormWithTheKeyword) {
  auto& screen = openForm("老北京炸酱面");
  EXPECT_EQ(screen.title(), "添加商户");
  EXPECT_EQ(screen.shop()->name, "老北京炸酱面");
  const std::string shown = dump();
  EXPECT_TRUE(shows("section: 必填信息")) << shown;
  EXPECT_TRUE(shows("section: 选填信息"));
  EXPECT_TRUE(shows("field: 老北京炸酱面"));
  for (const char* row : {"商户名", "详细地址", "所属分类", "在地图上标注位置", "电话"})
    EXPECT_TRUE(shows(row)) << row;
  EXPECT_TRUE(shows("right: [添加]"));
}

TEST_F(AddShopForm, NobodyLoggedInGetsTheLoginScreenAndNothingIsSent) {
  auto& screen = openForm();
  tapAdd();
  auto* modal = dynamic_cast<ui::NavigationController*>(tabs().modalViewController());
  ASSERT_NE(modal, nullptr) << dump();
  EXPECT_EQ(modal->topViewController(), &login());
  EXPECT_TRUE(proposals().empty());
  EXPECT_EQ(screen.shop()->name, "新开的店") << "the form is unchanged";
}

TEST_F(AddShopForm, TheRequiredFieldsAreCheckedInOrderOneAlertAtATime) {
  logIn();
  auto& screen = openForm("");
  tapAdd();
  EXPECT_EQ(alertMessage(), "请填写商户名");
  dismissAlert();
  screen.shop()->name = " \u3000 ";
  tapAdd();
  EXPECT_EQ(alertMessage(), "请填写商户名") << "white space is no name";
  dismissAlert();
  screen.shop()->name = "小店";
  tapAdd();
  EXPECT_EQ(alertMessage(), "请选择市");
  dismissAlert();
  screen.shop()->city = std::make_shared<Area>(131, "北京");
  tapAdd();
  EXPECT_EQ(alertMessage(), "请选择区");
  dismissAlert();
  EXPECT_TRUE(proposals().empty());
}

TEST_F(AddShopForm, AMinimalProposalSendsEmptyAddressCategoryZeroAndNoOptionalFields) {
  logIn();
  openForm("小店");
  chooseAddress("北京", "朝阳区");
  EXPECT_TRUE(shows("北京朝阳区")) << "the address line after going back\n" << dump();
  tapAdd();
  const auto sent = proposals();
  ASSERT_EQ(sent.size(), 1U);
  const AddShopTest::Fields expected{
      {"ssid", "S-1"}, {"name", "小店"}, {"city_id", "131"},     {"area", "朝阳区"},
      {"address", ""}, {"cat_id", "0"},  {"xda_from", "iPhone"}, {"xda_page", "AddShop"}};
  EXPECT_EQ(sent[0], expected);
  EXPECT_EQ(alertMessage(), "操作成功");
  dismissAlert();
  EXPECT_NE(topAs<AddShopViewController>(), nullptr) << "the form stays open";
  EXPECT_EQ(shop().address, "") << "a missing address became empty";
  EXPECT_EQ(shop().name, "小店");
}

TEST_F(AddShopForm, AFullProposalSendsCategoryIdPositionAndTelephone) {
  logIn();
  openForm("小店");
  chooseAddress("北京", "东城区");
  tapRow(AddShopViewController::kCategoryLabel);
  tapRow("美食");
  tapRow("川菜");
  ASSERT_NE(topAs<AddShopViewController>(), nullptr) << "both pickers popped\n" << dump();
  EXPECT_TRUE(shows("川菜"));
  form().locationGotSucceed(116.404, 39.915);
  shop().tel = "010-12345678";
  tapAdd();
  const auto sent = proposals();
  ASSERT_EQ(sent.size(), 1U);
  EXPECT_EQ(sent[0].at("cat_id"), "2000104");
  EXPECT_EQ(sent[0].at("area"), "东城区") << "the district's name, not its id";
  EXPECT_EQ(sent[0].at("x"), "116.403999") << "single precision, six decimals";
  EXPECT_EQ(sent[0].at("y"), "39.915001");
  EXPECT_EQ(sent[0].at("strTel1"), "010-12345678");
}

TEST_F(AddShopForm, ThePositionGoesOnlyWhenBothCoordinatesAreSet) {
  const auto fieldsWith = [](double x, double y) {
    NewShop shop("店");
    shop.city = std::make_shared<Area>(131, "北京");
    shop.area = std::make_shared<Area>(13101, "东城区");
    shop.location = {x, y};
    std::vector<std::string> names;
    for (const auto& [name, value] : AddShopViewController::addShopFields(shop, "S"))
      names.push_back(name);
    return names;
  };
  const std::vector<std::string> without = {"ssid",    "name",   "city_id",  "area",
                                            "address", "cat_id", "xda_from", "xda_page"};
  EXPECT_EQ(fieldsWith(0, 0), without);
  EXPECT_EQ(fieldsWith(116.4, 0), without);
  EXPECT_EQ(fieldsWith(0, 39.9), without);
  const std::vector<std::string> with = {"ssid",   "name", "city_id", "area",     "address",
                                         "cat_id", "x",    "y",       "xda_from", "xda_page"};
  EXPECT_EQ(fieldsWith(-73.98, 40.75), with);
}

TEST_F(AddShopForm, OnlyAnErrNoOfZeroIsSuccess) {
  logIn();
  openForm("小店");
  chooseAddress("北京", "东城区");
  struct Case {
    int status;
    std::string body;
    std::optional<int> failure;
    const char* expected;
  };
  const std::vector<Case> cases = {
      {200, R"({"errNo": 0})", std::nullopt, "操作成功"},
      {200, R"({"errNo": 1, "result": "请先登录"})", std::nullopt, "操作失败"},
      {200, R"({"result": "提交成功"})", std::nullopt, "操作失败"},
      {200, R"({"errNo": "0"})", std::nullopt, "操作失败"},
      {200, R"({"errNo": 0.5})", std::nullopt, "操作失败"},
      {200, "not json", std::nullopt, "操作失败"},
      {200, "[0]", std::nullopt, "操作失败"},
      {500, R"({"errNo": 0})", std::nullopt, "操作失败"},
      {200, "", -1004, "操作失败"},
  };
  for (const auto& c : cases) {
    submitAnswer = {};
    submitAnswer.status = c.status;
    submitAnswer.body = c.body;
    submitAnswer.failure = c.failure;
    tapAdd();
    EXPECT_EQ(alertMessage(), c.expected) << c.status << " " << c.body;
    EXPECT_EQ(form().request(), nullptr);
    dismissAlert();
  }
  EXPECT_EQ(proposals().size(), cases.size());
}

TEST_F(AddShopForm, AddIsIgnoredWhileItsRequestIsPending) {
  logIn();
  openForm("小店");
  chooseAddress("北京", "东城区");
  submitAnswer.delay = seconds(5);
  ASSERT_TRUE(input.tap("添加"));
  loop->runFor(seconds(1));
  ASSERT_TRUE(input.tap("添加"));
  ASSERT_TRUE(input.tap("添加"));
  loop->runFor(seconds(1));
  EXPECT_EQ(proposals().size(), 1U) << "one proposal in flight";
  loop->runFor(seconds(5));
  settle();
  EXPECT_EQ(alertMessage(), "操作成功") << "the first answer is the one heard";
  dismissAlert();
  submitAnswer.delay = {};
  tapAdd();
  EXPECT_EQ(proposals().size(), 2U) << "once answered, another tap posts again";
}

TEST_F(AddShopForm, TypedTextCountsWithoutEndingTheEdit) {
  logIn();
  openForm("");
  chooseAddress("北京", "东城区");
  tapRow(AddShopViewController::kTelLabel);
  ASSERT_TRUE(input.type("12345"));
  EXPECT_EQ(shop().tel, "12345") << "copied on every change";
  tapRow(AddShopViewController::kNameLabel);
  ASSERT_TRUE(input.type("鲜"));
  EXPECT_EQ(shop().name, "鲜");
  ASSERT_TRUE(input.type("面馆"));
  ASSERT_TRUE(ui::Keyboard::shared().isShown());
  // The bar button is tapped while the name field still has the keyboard.
  tapAdd();
  EXPECT_FALSE(ui::Keyboard::shared().isShown()) << "editing ends before the checks";
  const auto sent = proposals();
  ASSERT_EQ(sent.size(), 1U);
  EXPECT_EQ(sent[0].at("name"), "鲜面馆");
  EXPECT_EQ(sent[0].at("strTel1"), "12345");
}

TEST_F(AddShopForm, EditingEndsBeforeEveryPush) {
  openForm("");
  tapRow(AddShopViewController::kNameLabel);
  ASSERT_TRUE(input.type("一"));
  tapRow(AddShopViewController::kAddressLabel);
  EXPECT_NE(topAs<AddShopAddressViewController>(), nullptr);
  EXPECT_FALSE(ui::Keyboard::shared().isShown());
  ASSERT_TRUE(input.tapBack());
  settle();
  EXPECT_TRUE(shows("field: 一")) << dump();

  tapRow(AddShopViewController::kAddressLabel);
  tapRow(AddShopAddressViewController::kAddressLabel);
  ASSERT_TRUE(input.type("长安街1号"));
  ASSERT_TRUE(input.tapBack());
  settle();
  EXPECT_EQ(shop().address, "长安街1号") << "the street is taken when the screen goes";
  EXPECT_TRUE(shows("长安街1号"));
}

TEST_F(AddShopForm, TheKeyboardSetsTheTableHeightAbsolutely) {
  auto& screen = openForm();
  tapRow(AddShopViewController::kTelLabel);
  EXPECT_EQ(screen.tableView()->frame().height(), 200);
  screen.keyboardShow();
  EXPECT_EQ(screen.tableView()->frame().height(), 200) << "a second show does not shrink it";
  tapRow(AddShopViewController::kNameLabel);
  EXPECT_EQ(screen.tableView()->frame().height(), 200) << "moving the focus keeps it";
  ui::Keyboard::shared().dismiss();
  EXPECT_EQ(screen.tableView()->frame().height(), 367);
  screen.keyboardHide();
  EXPECT_EQ(screen.tableView()->frame().height(), 367);
}

TEST_F(AddShopForm, LeavingTheFormCancelsItsPendingProposal) {
  logIn();
  openForm("小店");
  chooseAddress("北京", "东城区");
  submitAnswer.delay = seconds(5);
  ASSERT_TRUE(input.tap("添加"));
  loop->runFor(seconds(1));
  ASSERT_TRUE(input.tapBack());
  settle();
  EXPECT_EQ(service.transport().inFlight(), 0U);
  EXPECT_FALSE(AlertCenter::sharedInstance().isShow()) << "nobody is told of a form that went";
}

// ---------------------------------------------------------------------------------------------
// The map page

TEST(MarkedPosition, OnlyTwoWholeFiniteNumbersInRangeArePositions) {
  using Screen = MarkLocationViewController;
  const auto read = [](std::string_view text) { return Screen::parsePosition(text); };
  ASSERT_TRUE(read("116.404,39.915"));
  EXPECT_DOUBLE_EQ(read("116.404,39.915")->x, 116.404);
  EXPECT_DOUBLE_EQ(read("116.404,39.915")->y, 39.915);
  EXPECT_TRUE(read(" -180 , 90 ")) << "the limits themselves, spaces around";
  EXPECT_TRUE(read("1e2,-4.5e1"));
  EXPECT_TRUE(read("0,0")) << "a reading; the form then sends no position";
  for (const char* bad :
       {"abc,def", "116.404", "", ",", "116.4,", ",39.9", "116.4x,39.9", "116.4,39.9,1",
        "180.0001,0", "0,-90.5", "nan,1", "1,inf", "0x10,1", "1 2,3", "116,4,39,9"}) {
    EXPECT_FALSE(read(bad)) << bad;
  }
}

TEST(MarkedPosition, TheCentreIsWrittenWithSixDecimals) {
  EXPECT_EQ(MarkLocationViewController::centreScript({116.404, 39.915}),
            "javascript:map(116.404000, 39.915000);");
  EXPECT_FALSE(MarkLocationViewController::centreScript({std::nan(""), 1}));
}

TEST_F(AddShopForm, TheMapPageCentresMarksAndReportsBack) {
  openForm();
  tapRow(AddShopViewController::kMarkLabel);
  auto* map = topAs<MarkLocationViewController>();
  ASSERT_NE(map, nullptr);
  EXPECT_EQ(map->title(), "标注位置");
  ASSERT_TRUE(map->webView()->marker()) << dump();
  EXPECT_EQ(map->webView()->evaluatedScripts().front(), "javascript:map(116.404000, 39.915000);");
  ASSERT_TRUE(map->webView()->moveMarker(116.5, 39.8));
  ASSERT_TRUE(input.tap("返回"));
  settle();
  EXPECT_NE(topAs<AddShopViewController>(), nullptr);
  EXPECT_DOUBLE_EQ(shop().location.x, 116.5);
  EXPECT_DOUBLE_EQ(shop().location.y, 39.8);

  // Opened again, the map shows what was marked, so going straight back keeps it.
  tapRow(AddShopViewController::kMarkLabel);
  map = topAs<MarkLocationViewController>();
  ASSERT_NE(map, nullptr);
  EXPECT_EQ(map->webView()->evaluatedScripts().front(), "javascript:map(116.500000, 39.800000);");
  ASSERT_TRUE(input.tap("返回"));
  settle();
  EXPECT_DOUBLE_EQ(shop().location.x, 116.5);
}

TEST_F(AddShopForm, AnUnreadableMarkerChangesNothing) {
  openForm();
  for (const char* answer : {"116.5", "abc,def", "200,10", ""}) {
    shop().location = {1.5, 2.5};
    tapRow(AddShopViewController::kMarkLabel);
    auto* map = topAs<MarkLocationViewController>();
    ASSERT_NE(map, nullptr);
    map->webView()->setScriptHandler([answer](const std::string&) { return std::string(answer); });
    ASSERT_TRUE(input.tap("返回"));
    settle();
    ASSERT_NE(topAs<AddShopViewController>(), nullptr) << answer;
    EXPECT_EQ(shop().location.x, 1.5) << answer;
    EXPECT_EQ(shop().location.y, 2.5) << answer;
  }
}

}  // namespace
}  // namespace lk::test

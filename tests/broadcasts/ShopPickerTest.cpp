// The shop picker of a new broadcast: the shops around the user by distance in metres, those
// found by name, the late position, and what a failed search leaves.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "Classes/Broadcasts/ComposeBroadcastViewController.h"
#include "Classes/Broadcasts/ShopPickerCellView.h"
#include "Classes/Broadcasts/ShopPickerViewController.h"
#include "Classes/Toolkit/LKSearchBar.h"
#include "Platform/UI/TableView.h"
#include "tests/broadcasts/ComposeFixture.h"

namespace lk::test {
namespace {

constexpr LocationCoordinate kWangfujing{39.915, 116.404};

// `count` shops numbered from `first`, each `step` metres further than the one before.
std::string shops(int first, int count, double step = 120.4) {
  std::string json = R"({"total": 99, "searchlist": [)";
  for (int i = 0; i < count; ++i) {
    const std::string n = std::to_string(first + i);
    if (i > 0) json += ",";
    json += R"({"shop_id": ")" + n + R"(", "shop_name": "<em>店</em>)" + n +
            R"(", "address": "王府井<em>大街</em>)" + n + R"(号", "distance": )" +
            std::to_string(step * (first + i + 1)) + "}";
  }
  return json + "]}";
}

class ShopPicker : public ComposeFixture {
 protected:
  ShopPicker() {
    transport.respond(R"(.*/client/user/0/pos)", [this](const FakeTransport::Request&) {
      FakeTransport::Answer a;
      a.body = R"({"address": "北京市东城区王府井附近", "point": {"x": "116.403999", "y": )"
               R"("39.915001"}, "address_detail": {"city": "北京市", "city_code": 131, )"
               R"("district": "东城区", "street": ""}})";
      a.encoding = FakeTransport::Body::kGzip;
      a.delay = positionDelay;
      return a;
    });
    answerSearches([](const FakeTransport::Request& r) {
      const int page = std::stoi(r.queryValue("p").value_or("0"));
      return shops(page * 15, page == 0 ? 15 : 3);
    });
  }
  void answerSearches(std::function<std::string(const FakeTransport::Request&)> body,
                      int status = 200) {
    transport.respond(R"(.*/client/search/0/q)", [body, status](const FakeTransport::Request& r) {
      FakeTransport::Answer a;
      a.status = status;
      a.body = body(r);
      a.encoding = FakeTransport::Body::kGzip;
      return a;
    });
  }
  void openPicker(bool loggedIn = true) {
    if (loggedIn) logIn();
    picker = std::make_shared<ShopPickerViewController>();
    stack = present(picker);
  }
  std::vector<std::string> searches() {
    std::vector<std::string> out;
    for (const auto* r : requestsTo("/search/0/q"))
      out.push_back(r->url.substr(std::string(kBase).size()));
    return out;
  }
  void searchFor(const std::string& text) {
    picker->searchBar()->textField()->setText(text);
    picker->searchBarSearch(*picker->searchBar());
    settle();
  }
  void pullUp() {
    ui::TableView& table = *picker->tableView();
    const double toEnd = table.maxOffsetY() - table.contentOffset().y;
    if (toEnd > 0) table.drag(-toEnd);
    table.drag(-70);
  }

  Duration positionDelay = Duration::zero();
  std::shared_ptr<ShopPickerViewController> picker;
  std::shared_ptr<ui::NavigationController> stack;
};

TEST_F(ShopPicker, NearbyShopsReadTheirDistanceInMetres) {
  LocationScript::deliverPosition(kWangfujing);
  openPicker();
  EXPECT_EQ(picker->title(), "您要播报哪家店？");
  ASSERT_EQ(searches().size(), 1u);
  EXPECT_EQ(searches()[0],
            "/search/0/q?ci=131&x=116.403999&y=39.915001&sd=1.500000&sort=4&p=0&n=15&sortm=0"
            "&tn=gz");
  ASSERT_EQ(picker->shopList().size(), 15u);
  EXPECT_EQ(picker->shopList()[0]->strName(), "店0") << "the em tags are gone";
  EXPECT_EQ(picker->shopList()[0]->strAddress(), "王府井大街0号");
  EXPECT_FLOAT_EQ(picker->shopList()[0]->distance(), 120.4F);
  EXPECT_TRUE(shows("120米")) << "metres as sent, never multiplied by 1000";
  EXPECT_FALSE(shows("3000米外")) << "the first rows are close";
  EXPECT_EQ(ShopPickerCellView::distanceText(3000), "3000米");
  EXPECT_EQ(ShopPickerCellView::distanceText(3000.5F), "3000米外");
}

TEST_F(ShopPicker, APullAskesForTheNextPageOnce) {
  LocationScript::deliverPosition(kWangfujing);
  openPicker();
  pullUp();
  pullUp();  // while the page is on its way
  settle();
  ASSERT_EQ(searches().size(), 2u) << "one request for page 1";
  EXPECT_NE(searches()[1].find("&p=1&"), std::string::npos);
  EXPECT_EQ(picker->shopList().size(), 18u);
  EXPECT_EQ(picker->refreshFooterView(), nullptr) << "a short page ends the paging";
}

TEST_F(ShopPicker, AFailedSearchShowsNoNothingHerePrompt) {
  LocationScript::deliverPosition(kWangfujing);
  answerSearches([](const FakeTransport::Request&) { return std::string("{}"); }, 500);
  openPicker();
  EXPECT_TRUE(picker->shopList().empty());
  EXPECT_FALSE(shows("您附近目前没有商户信息")) << "a 500 says nothing about the shops";
  EXPECT_FALSE(shows("正在载入数据"));

  transport.clearAnswers();
  // No answer for the search: the transport fails it.
  searchFor("");
  EXPECT_FALSE(shows("您附近目前没有商户信息")) << "neither does a transport failure";

  answerSearches(
      [](const FakeTransport::Request&) { return std::string(R"({"searchlist": []})"); });
  searchFor("");
  EXPECT_TRUE(shows("您附近目前没有商户信息")) << "a decoded empty answer does";
}

TEST_F(ShopPicker, ANameSearchListsWithoutDistancesAndNamesItsPrompt) {
  LocationScript::deliverPosition(kWangfujing);
  openPicker();
  answerSearches(
      [](const FakeTransport::Request&) { return std::string(R"({"searchlist": []})"); });
  searchFor("火锅 店");
  ASSERT_EQ(searches().size(), 2u);
  EXPECT_EQ(searches()[1],
            "/search/0/q?ci=131&x=116.403999&y=39.915001&k=%E7%81%AB%E9%94%85+%E5%BA%97&p=0&n=15"
            "&sortm=0&tn=gz");
  EXPECT_TRUE(shows("在您附近没有找到与“火锅 店”相关的商户"));
}

TEST_F(ShopPicker, ALatePositionKeepsTheNameResults) {
  LocationScript::deliverPosition(kWangfujing);
  positionDelay = seconds(10);
  logIn();
  picker = std::make_shared<ShopPickerViewController>();
  stack = std::make_shared<ui::NavigationController>(picker);
  presenter->presentModalViewController(stack, true);
  loop->runFor(seconds(0.5));
  EXPECT_TRUE(searches().empty()) << "nearby waits for the position";
  answerSearches([](const FakeTransport::Request&) { return shops(0, 4); });
  picker->searchBar()->textField()->setText("面");
  picker->searchBarSearch(*picker->searchBar());
  loop->runFor(seconds(0.5));
  ASSERT_EQ(searches().size(), 1u);
  EXPECT_EQ(searches()[0], "/search/0/q?ci=131&k=%E9%9D%A2&p=0&n=15&sortm=0&tn=gz")
      << "no position yet: the current city";
  ASSERT_EQ(picker->shopList().size(), 4u);

  loop->runFor(seconds(10));
  settle();
  ASSERT_NE(picker->location(), nullptr) << "the position came";
  EXPECT_EQ(searches().size(), 1u) << "the late position asks for nothing";
  EXPECT_EQ(picker->shopList().size(), 4u) << "and duplicates nothing";
  searchFor("面");
  EXPECT_NE(searches().back().find("&x=116.403999&y=39.915001&k="), std::string::npos)
      << "it serves the next search";
}

TEST_F(ShopPicker, APositionFailureSaysSoAndNameSearchStillWorks) {
  LocationScript::deliverFailure(LocationError::kDenied);
  openPicker();
  ASSERT_NE(shownAlert(), nullptr);
  EXPECT_EQ(shownAlert()->title(), "定位失败");
  EXPECT_EQ(shownAlert()->message(), "无法获取附近商户");
  EXPECT_TRUE(searches().empty()) << "no position goes into a URL when there is none";
  EXPECT_FALSE(shows("正在载入数据"));
  shownAlert()->tapButton(0);
  answerSearches([](const FakeTransport::Request&) { return shops(0, 2); });
  searchFor("面");
  EXPECT_EQ(picker->shopList().size(), 2u);
}

TEST_F(ShopPicker, ChoosingAShopOpensTheEditorForIt) {
  LocationScript::deliverPosition(kWangfujing);
  openPicker();
  ASSERT_TRUE(picker->tableView()->tapRow({0, 2}));
  settle();
  auto* editor = dynamic_cast<ComposeBroadcastViewController*>(stack->topViewController());
  ASSERT_NE(editor, nullptr);
  EXPECT_EQ(editor->shopInfo()->shopId(), "2");
  EXPECT_TRUE(shows("@店2"));
}

TEST_F(ShopPicker, TheLoginComesFirstAndTheSearchAfterIt) {
  LocationScript::deliverPosition(kWangfujing);
  openPicker(/*loggedIn=*/false);
  EXPECT_EQ(stack->topViewController(), &LoginViewController::sharedInstance());
  EXPECT_TRUE(searches().empty()) << "nothing is searched before the login";
  logIn();
  EXPECT_EQ(stack->topViewController(), picker.get());
  EXPECT_EQ(searches().size(), 1u);
}

}  // namespace
}  // namespace lk::test

#include <gtest/gtest.h>

#include "Classes/Search/AreaPickerViewController.h"
#include "Classes/Search/ChannelPickerViewController.h"
#include "Classes/Search/CityPickerViewController.h"
#include "Classes/Search/ProvincePickerViewController.h"
#include "tests/search/AddShopFixture.h"

namespace lk::test {
namespace {

// The directory pickers as the add-shop screens use them: pushed on the search stack, returning
// a city, a district or a category to the screen that opened them, never the current city.
class AddressPickers : public AddShopTest {
 protected:
  AddressPickers() {
    cityChanges_ = NotificationCenter::defaultCenter().addObserver(
        kCityChanged, [this](const Notification&) { ++cityChanges; });
    openForm("小店");
    tapRow(AddShopViewController::kAddressLabel);
  }
  AddShopAddressViewController* address() { return topAs<AddShopAddressViewController>(); }
  std::size_t stackSize() { return searchStack().viewControllers().size(); }

  int cityChanges = 0;

 private:
  ObserverToken cityChanges_;
};

TEST_F(AddressPickers, ACascadedCityPickPopsBackToTheAddressScreenAndKeepsTheCurrentCity) {
  const auto* homeBefore = &home();
  const std::size_t depth = stackSize();
  tapRow(AddShopAddressViewController::kCityLabel);
  auto* provinces = topAs<ProvincePickerViewController>();
  ASSERT_NE(provinces, nullptr);
  EXPECT_TRUE(provinces->isCascadeCity);
  EXPECT_TRUE(shows("left: [取消]"));
  tapRow("广东");
  auto* cities = topAs<CityPickerViewController>();
  ASSERT_NE(cities, nullptr);
  EXPECT_EQ(cities->title(), "广东");
  EXPECT_EQ(hits("/index/19/city").size(), 1U);
  EXPECT_EQ(stackSize(), depth + 2);
  tapRow("深圳");
  ASSERT_NE(address(), nullptr) << "both pickers popped at once\n" << dump();
  EXPECT_EQ(stackSize(), depth);
  ASSERT_TRUE(shop().city);
  EXPECT_EQ(shop().city->id(), 340);
  EXPECT_TRUE(shows("深圳"));
  EXPECT_EQ(CacheCenter::sharedInstance().currentCity()->id(), 131) << "the user stays in 北京";
  EXPECT_EQ(cityChanges, 0);
  EXPECT_EQ(&home(), homeBefore) << "no new tab set";
  settle();  // the popped pickers go on a later turn, without a sanitizer report
}

TEST_F(AddressPickers, AHotCityOrASpecialRegionIsReturnedDirectly) {
  tapRow(AddShopAddressViewController::kCityLabel);
  tapRow("广州");
  ASSERT_NE(address(), nullptr);
  EXPECT_EQ(shop().city->id(), 257);
  tapRow(AddShopAddressViewController::kCityLabel);
  tapRow("香港");
  ASSERT_NE(address(), nullptr) << "2911 does not open its cities";
  EXPECT_EQ(shop().city->id(), 2911);
  EXPECT_TRUE(hits("/index/2911/city").empty());
  EXPECT_EQ(CacheCenter::sharedInstance().currentCity()->id(), 131);
  EXPECT_EQ(cityChanges, 0);
}

TEST_F(AddressPickers, CancellingTheProvincePickerPopsOnlyIt) {
  const std::size_t depth = stackSize();
  tapRow(AddShopAddressViewController::kCityLabel);
  ASSERT_TRUE(input.tap("取消"));
  settle();
  ASSERT_NE(address(), nullptr);
  EXPECT_EQ(stackSize(), depth);
  EXPECT_FALSE(shop().city);
}

TEST_F(AddressPickers, TheDistrictNeedsACityFirst) {
  const std::size_t depth = stackSize();
  service.clearTargets();
  tapRow(AddShopAddressViewController::kAreaLabel);
  const auto& alert = AlertCenter::sharedInstance().sharedAlertView();
  ASSERT_TRUE(AlertCenter::sharedInstance().isShow());
  EXPECT_EQ(alert->title(), "提示");
  EXPECT_EQ(alert->message(), "请先选择市");
  EXPECT_EQ(alert->buttonTitles(), std::vector<std::string>{"好的"});
  EXPECT_EQ(stackSize(), depth) << "no district picker without a city";
  EXPECT_TRUE(hits("/citymore").empty());
}

TEST_F(AddressPickers, TheDistrictPickerListsTheShopsCityAndReturnsOneDistrict) {
  tapRow(AddShopAddressViewController::kCityLabel);
  tapRow("广东");
  tapRow("深圳");
  tapRow(AddShopAddressViewController::kAreaLabel);
  auto* districts = topAs<AreaPickerViewController>();
  ASSERT_NE(districts, nullptr);
  EXPECT_EQ(districts->title(), "深圳");
  EXPECT_EQ(hits("/index/340/citymore").size(), 1U);
  EXPECT_TRUE(shows("left: [取消]"));
  tapRow("福田区");
  ASSERT_NE(address(), nullptr);
  ASSERT_TRUE(shop().area);
  EXPECT_EQ(shop().area->nameText(), "福田区");
  EXPECT_EQ(CacheCenter::sharedInstance().currentCity()->id(), 131);
}

TEST_F(AddressPickers, AnotherCityClearsTheDistrictAndTheSameOneKeepsIt) {
  tapRow(AddShopAddressViewController::kCityLabel);
  tapRow("北京");
  tapRow(AddShopAddressViewController::kAreaLabel);
  tapRow("东城区");
  tapRow(AddShopAddressViewController::kCityLabel);
  tapRow("北京");
  ASSERT_TRUE(shop().area) << "the same city keeps its district";
  tapRow(AddShopAddressViewController::kCityLabel);
  tapRow("广州");
  EXPECT_FALSE(shop().area) << "another city clears it";
  EXPECT_FALSE(shows("东城区"));

  logIn();
  ASSERT_TRUE(input.tapBack());
  settle();
  tapAdd();
  EXPECT_EQ(alertMessage(), "请选择区");
  EXPECT_TRUE(proposals().empty());
}

TEST_F(AddressPickers, TheCategoryPickerReturnsASubCategoryAndPopsBothLevels) {
  ASSERT_TRUE(input.tapBack());
  settle();
  const std::size_t depth = stackSize();
  tapRow(AddShopViewController::kCategoryLabel);
  auto* top = topAs<ChannelPickerViewController>();
  ASSERT_NE(top, nullptr);
  EXPECT_EQ(top->title(), "选择分类");
  EXPECT_EQ(hits("/index/131/catmore").size(), 1U) << "the current city before one is chosen";
  EXPECT_TRUE(top->hasTabbar);
  const std::size_t requestsBefore = service.targets().size();
  tapRow("美食");
  auto* sub = topAs<ChannelPickerViewController>();
  ASSERT_NE(sub, nullptr);
  EXPECT_NE(sub, top);
  EXPECT_EQ(sub->cityId(), ChannelPickerViewController::kSubLevel);
  EXPECT_EQ(service.targets().size(), requestsBefore) << "the sub level asks for nothing";
  EXPECT_EQ(stackSize(), depth + 2);
  tapRow("火锅");
  ASSERT_NE(topAs<AddShopViewController>(), nullptr) << dump();
  EXPECT_EQ(stackSize(), depth);
  ASSERT_TRUE(shop().channel);
  EXPECT_EQ(shop().channel->id(), 2000103);
  EXPECT_TRUE(shows("火锅"));

  // With a city chosen, that city's categories.
  shop().city = std::make_shared<Area>(340, "深圳");
  tapRow(AddShopViewController::kCategoryLabel);
  EXPECT_EQ(hits("/index/340/catmore").size(), 1U);
}

}  // namespace
}  // namespace lk::test

#include <gtest/gtest.h>

#include "Classes/Records/LKObject.h"
#include "Classes/Search/SearchNotifications.h"
#include "Classes/Search/SearchResultsHeader.h"
#include "Platform/Notifications/NotificationCenter.h"
#include "tests/search/SearchScreenFixture.h"

namespace lk::test {
namespace {

using Answer = ScriptedSearchService::Answer;
using Request = ScriptedSearchService::Request;

// 北京's districts: 东城区 with two circles, 西城区 with one, 朝阳区 with two. The search finds
// shops in 东城区 and 朝阳区 only.
constexpr const char* kAreaTree = R"({"list": [
    {"id": 13101, "name": "东城区", "list": [{"id": 1310101, "name": "王府井"},
                                            {"id": 1310102, "name": "东直门"}]},
    {"id": 13102, "name": "西城区", "list": [{"id": 1310201, "name": "西单"}]},
    {"id": "13103", "name": "朝阳区", "list": [{"id": 1310301, "name": "三里屯"},
                                              {"id": 1310302, "name": "国贸"}]}]})";
constexpr const char* kCategoryTree = R"({"list": [
    {"id": 20001, "name": "美食", "list": [{"id": 2000101, "name": "火锅"},
                                          {"id": 2000102, "name": "R&B 西餐"}]},
    {"id": 20002, "name": "购物", "list": []}]})";

class SearchFilters : public SearchScreenTest {
 protected:
  SearchFilters() {
    service.onSearch([](const Request&) {
      return Answer{200, ScriptedSearchService::searchAnswer(3, 0, 3, {13101, 13103}, {20001})};
    });
    service.onAreaTree([](const Request&) { return Answer{200, kAreaTree}; });
    service.onCategoryTree([](const Request&) { return Answer{200, kCategoryTree}; });
  }
  // Opens a picker through the header's button, as a finger would.
  void tapHeader(const std::string& title) { ASSERT_TRUE(input.tap(title)) << dump(); }
  void pick(int component, int row) { ASSERT_TRUE(input.turnPicker(component, row)); }
  void press(const std::string& item) {
    ASSERT_NE(screen->picker(), nullptr);
    ASSERT_TRUE(screen->picker()->toolbar()->tapItem(item));
  }
  std::vector<std::string> names(const std::vector<std::shared_ptr<LKObject>>& list) {
    std::vector<std::string> out;
    for (const auto& o : list)
      out.push_back(o->nameText());
    return out;
  }
  std::string lastSearch() { return searches().empty() ? "" : searches().back(); }
};

TEST_F(SearchFilters, AreaPickerListsOnlyDistrictsWithResults) {
  open("火锅");
  settle();
  EXPECT_EQ(names(screen->leftData()), (std::vector<std::string>{"全部区域", "东城区", "朝阳区"}));
  ASSERT_EQ(screen->leftData()[2]->id(), 13103) << "an id given as text";
  EXPECT_EQ(names(screen->leftData()[2]->children()),
            (std::vector<std::string>{"朝阳区", "三里屯", "国贸"}))
      << "the district itself first, standing for the whole district";
  EXPECT_EQ(names(screen->rightData()), (std::vector<std::string>{"全部分类", "美食"}));
}

TEST_F(SearchFilters, ChoosingACircleFiltersInTheFixedOrderWithEscapedNames) {
  open("火锅");
  settle();
  tapHeader("全部区域");
  ASSERT_TRUE(screen->picker()->isShown());
  EXPECT_TRUE(shows("picker: 全部区域 | 全部"));
  pick(0, 2);
  EXPECT_TRUE(shows("picker: 朝阳区 | 全部"));
  pick(1, 1);
  EXPECT_TRUE(shows("picker: 朝阳区 | 三里屯"));
  press("完成");
  settle();
  EXPECT_EQ(screen->header()->leftTitle(), "三里屯");
  EXPECT_NE(lastSearch().find("&sort=1&p=0&n=15&xda_from=iPhone&xda_page=SearchInfo"
                              "&rc=13103&rn=%E6%9C%9D%E9%98%B3%E5%8C%BA"
                              "&zi=1310301&z=%E4%B8%89%E9%87%8C%E5%B1%AF&tn=gz"),
            std::string::npos)
      << lastSearch();
  EXPECT_FALSE(screen->picker()->isShown());

  // A sub-category whose name holds "&" and a space cannot break the query.
  tapHeader("全部分类");
  pick(0, 1);
  pick(1, 2);
  press("完成");
  settle();
  EXPECT_EQ(screen->header()->rightTitle(), "R&B 西餐");
  EXPECT_NE(lastSearch().find("&rc=13103&rn=%E6%9C%9D%E9%98%B3%E5%8C%BA&zi=1310301&z=%E4%B8%89"
                              "%E9%87%8C%E5%B1%AF&sc=20001&chn=%E7%BE%8E%E9%A3%9F&c=2000102"
                              "&cn=R%26B+%E8%A5%BF%E9%A4%90&tn=gz"),
            std::string::npos)
      << lastSearch();
}

TEST_F(SearchFilters, TheFirstRowClearsBothAreaFiltersAndShowsAllAreas) {
  open("火锅", "", [](SearchResultsViewController& s) {
    s.area = "东城区";
    s.areaId = 13101;
    s.subArea = "王府井";
    s.subAreaId = 1310101;
  });
  settle();
  EXPECT_EQ(screen->header()->leftTitle(), "王府井");
  EXPECT_EQ(screen->leftMainIndex, 1) << "the given district is selected when the tree arrives";
  tapHeader("王府井");
  EXPECT_TRUE(shows("picker: 东城区 | 王府井")) << "the remembered selection";
  pick(0, 0);
  press("完成");
  settle();
  EXPECT_EQ(screen->header()->leftTitle(), "全部区域");
  EXPECT_FALSE(screen->area.has_value());
  EXPECT_EQ(screen->areaId, 0);
  EXPECT_FALSE(screen->subArea.has_value());
  EXPECT_EQ(screen->subAreaId, 0);
  EXPECT_EQ(lastSearch().find("&rc="), std::string::npos);
  EXPECT_EQ(lastSearch().find("&zi="), std::string::npos);
}

TEST_F(SearchFilters, ChoosingTheWholeDistrictClearsTheCircle) {
  open("火锅");
  settle();
  tapHeader("全部区域");
  pick(0, 1);
  press("完成");
  settle();
  EXPECT_EQ(screen->header()->leftTitle(), "东城区");
  EXPECT_EQ(screen->areaId, 13101);
  EXPECT_EQ(screen->subAreaId, 0);
  EXPECT_NE(lastSearch().find("&rc=13101&rn=%E4%B8%9C%E5%9F%8E%E5%8C%BA&tn=gz"), std::string::npos);
}

TEST_F(SearchFilters, CancelChangesNothing) {
  open("火锅");
  settle();
  tapHeader("全部区域");
  pick(0, 2);
  pick(1, 2);
  const auto before = searches().size();
  press("取消");
  loop->runFor(seconds(1));
  EXPECT_FALSE(screen->picker()->isShown());
  EXPECT_EQ(searches().size(), before);
  EXPECT_FALSE(screen->area.has_value());
  EXPECT_EQ(screen->leftMainIndex, 0);
  tapHeader("全部区域");
  EXPECT_TRUE(shows("picker: 全部区域 | 全部"));
}

TEST_F(SearchFilters, DoneOnATreeThatFailedAsksForItAgain) {
  service.onAreaTree([](const Request&) { return Answer{500, ""}; });
  open("火锅");
  settle();
  EXPECT_TRUE(screen->leftData().empty());
  tapHeader("全部区域");
  EXPECT_TRUE(shows("picker:"));
  const auto searchesBefore = searches().size();
  service.onAreaTree([](const Request&) { return Answer{200, kAreaTree}; });
  press("完成");
  settle();
  EXPECT_EQ(service.targetsWith("citymore").size(), 2u);
  EXPECT_EQ(searches().size(), searchesBefore) << "no search for an empty tree";
  EXPECT_EQ(names(screen->leftData()), (std::vector<std::string>{"全部区域", "东城区", "朝阳区"}));
}

TEST_F(SearchFilters, PickerReadsBeyondTheTreeShowNothing) {
  open("火锅");
  settle();
  tapHeader("全部区域");
  auto& picker = *screen->picker();
  screen->leftMainIndex = 7;  // beyond the three entries
  EXPECT_EQ(screen->pickerViewNumberOfRowsInComponent(picker, 1), 0);
  EXPECT_EQ(screen->pickerViewTitleForRow(picker, 3, 1), "");
  screen->leftMainIndex = 1;
  EXPECT_EQ(screen->pickerViewNumberOfRowsInComponent(picker, 1), 3);
  EXPECT_EQ(screen->pickerViewTitleForRow(picker, 2, 1), "东直门");
  EXPECT_EQ(screen->pickerViewTitleForRow(picker, 3, 1), "") << "beyond the circles";
  EXPECT_EQ(screen->pickerViewTitleForRow(picker, 9, 0), "");
  EXPECT_EQ(screen->pickerViewTitleForRow(picker, -1, 0), "");
}

TEST_F(SearchFilters, CouponTabKeepsThePreviousSort) {
  open("火锅");
  settle();
  ASSERT_TRUE(input.tap("总分"));
  settle();
  EXPECT_NE(lastSearch().find("&sort=2&p=0&"), std::string::npos);
  EXPECT_EQ(lastSearch().find("&ex=1"), std::string::npos);
  ASSERT_TRUE(input.tap("优惠"));
  settle();
  EXPECT_TRUE(screen->showCouponOnly);
  EXPECT_NE(lastSearch().find("&sort=2&p=0&"), std::string::npos) << lastSearch();
  EXPECT_NE(lastSearch().find("&ex=1&tn=gz"), std::string::npos);
  forgetAnswers();
  ASSERT_TRUE(input.tap("默认"));
  settle();
  EXPECT_NE(lastSearch().find("&sort=1&p=0&"), std::string::npos);
  EXPECT_EQ(lastSearch().find("&ex=1"), std::string::npos);
  EXPECT_FALSE(screen->showCouponOnly);
}

TEST_F(SearchFilters, TheNotificationsReachOnlyTheTopScreenWhileItShows) {
  open("火锅");
  settle();
  auto above = std::make_shared<ui::ViewController>();
  nav->pushViewController(above, false);
  const auto before = searches().size();
  Notification sortBy{kSearchSortTermChanged, {}, {}};
  sortBy.userInfo[kSearchSortKey] = 3;
  NotificationCenter::defaultCenter().post(sortBy);
  NotificationCenter::defaultCenter().post(kSearchSelectLeft);
  settle();
  EXPECT_EQ(searches().size(), before);
  EXPECT_EQ(screen->sort, 1);
  EXPECT_EQ(screen->picker(), nullptr);
  nav->popViewController(false);
  NotificationCenter::defaultCenter().post(sortBy);
  settle();
  EXPECT_EQ(screen->sort, 3);
  EXPECT_NE(lastSearch().find("&sort=3&"), std::string::npos);
}

TEST_F(SearchFilters, TypedKeywordAndPlaceAreEscaped) {
  open("A&B C#", "王府井 100%");
  settle();
  ASSERT_FALSE(searches().empty());
  EXPECT_NE(searches()[0].find("?k=A%26B+C%23&r=%E7%8E%8B%E5%BA%9C%E4%BA%95+100%25&ci=131&"),
            std::string::npos)
      << searches()[0];
}

}  // namespace
}  // namespace lk::test

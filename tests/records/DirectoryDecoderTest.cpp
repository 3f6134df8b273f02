#include "Classes/Records/DirectoryDecoder.h"

#include <gtest/gtest.h>

#include "Classes/Json/JsonValue.h"
#include "Platform/Resources/AppResources.h"

namespace lk {
namespace {

json::value parsed(std::string_view text) {
  auto v = json::parse(text);
  EXPECT_TRUE(v) << text;
  return v ? *v : json::value();
}

template <typename T>
std::vector<int> ids(const std::vector<std::shared_ptr<T>>& list) {
  std::vector<int> out;
  for (const auto& n : list)
    out.push_back(n->id());
  return out;
}

template <typename T>
std::vector<std::string> namesOf(const std::vector<std::shared_ptr<T>>& list) {
  std::vector<std::string> out;
  for (const auto& n : list)
    out.push_back(n->nameText());
  return out;
}

TEST(ProvinceIndex, SpecialRegionsGoLastIn2912Then2911Order) {
  auto index = DirectoryDecoder::decodeProvinceIndex(parsed(R"({
    "hot": [{"id": 131, "name": "北京"}, {"id": "289", "name": "上海"}],
    "list": [{"id": 2911, "name": "香港"}, {"id": 1, "name": "河北"},
             {"id": 2, "name": "山西"}, {"id": 2912, "name": "澳门"}]})"));
  EXPECT_EQ(ids(index.hot), (std::vector<int>{131, 289}));
  EXPECT_EQ(namesOf(index.hot), (std::vector<std::string>{"北京", "上海"}));
  EXPECT_EQ(ids(index.provinces), (std::vector<int>{1, 2, 2912, 2911}));
  EXPECT_EQ(index.provinces[3]->name(), "香港");
}

TEST(ProvinceIndex, MissingSpecialRegionsAreNotInvented) {
  auto index = DirectoryDecoder::decodeProvinceIndex(
      parsed(R"({"list": [{"id": 2911, "name": "香港"}, {"id": 3, "name": "辽宁"}]})"));
  EXPECT_TRUE(index.hot.empty());
  EXPECT_EQ(ids(index.provinces), (std::vector<int>{3, 2911}));
}

TEST(CityList, IdsAsTextMissingOrMalformedAndNamesAsGiven) {
  auto cities = DirectoryDecoder::decodeCityList(parsed(R"({"list": [
    {"id": "123", "name": "甲"}, {"name": "乙"}, {"id": "x7", "name": "丙"},
    {"id": 12.9, "name": null}, "not a node", 42, {"id": [1], "name": "丁"}]})"));
  EXPECT_EQ(ids(cities), (std::vector<int>{123, 0, 0, 12, 0}));
  EXPECT_EQ(cities[3]->name(), std::nullopt);
  EXPECT_EQ(cities[4]->name(), "丁");
}

TEST(AreaTree, DistrictsWithCirclesHaveChildren) {
  auto districts = DirectoryDecoder::decodeAreaTree(parsed(R"({"list": [
    {"id": 10, "name": "朝阳区", "list": [{"id": 101, "name": "三里屯"}, {"id": 102, "name": "国贸"}]},
    {"id": 11, "name": "延庆区", "list": []},
    {"id": 12, "name": "密云区", "list": null},
    {"id": 13, "name": "东城区"}]})"));
  ASSERT_EQ(ids(districts), (std::vector<int>{10, 11, 12, 13}));
  EXPECT_TRUE(districts[0]->hasChildren());
  ASSERT_EQ(districts[0]->children().size(), 2u);
  auto circle = std::dynamic_pointer_cast<Area>(districts[0]->children()[1]);
  ASSERT_NE(circle, nullptr);
  EXPECT_EQ(circle->id(), 102);
  EXPECT_EQ(circle->name(), "国贸");
  for (std::size_t i = 1; i < districts.size(); ++i) {
    EXPECT_FALSE(districts[i]->hasChildren()) << i;
    EXPECT_TRUE(districts[i]->children().empty()) << i;
  }
}

TEST(AreaTree, NullOrWrongShapedAnswersHoldNoAreas) {
  for (const char* text :
       {R"({"list": null})", "{}", "[]", "null", R"({"list": {"id": 1}})", R"("list")"}) {
    EXPECT_TRUE(DirectoryDecoder::decodeAreaTree(parsed(text)).empty()) << text;
    EXPECT_TRUE(DirectoryDecoder::decodeChannelTree(parsed(text)).empty()) << text;
    EXPECT_TRUE(DirectoryDecoder::decodeCityList(parsed(text)).empty()) << text;
  }
}

TEST(ChannelTree, CategoriesAndSubCategoriesAreChannels) {
  auto channels = DirectoryDecoder::decodeChannelTree(parsed(R"({"list": [
    {"id": 20001, "name": "美食", "list": [{"id": "30001", "name": "川菜"}]},
    {"id": 20002, "name": "购物"}]})"));
  ASSERT_EQ(ids(channels), (std::vector<int>{20001, 20002}));
  ASSERT_EQ(channels[0]->children().size(), 1u);
  auto sub = std::dynamic_pointer_cast<Channel>(channels[0]->children()[0]);
  ASSERT_NE(sub, nullptr);
  EXPECT_EQ(sub->id(), 30001);
  EXPECT_EQ(sub->name(), "川菜");
}

TEST(SearchFacets, AreasAndChannelsFromTheirOwnKeys) {
  auto answer = parsed(R"({"list": [],
    "geoarealist": [{"area_id": "7", "area_name": "海淀区"}, {"id": 8, "name": "ignored"}],
    "channellist": [{"channel_id": 20001, "channel_name": "美食"}]})");
  auto areas = DirectoryDecoder::decodeSearchAreas(answer);
  EXPECT_EQ(ids(areas), (std::vector<int>{7, 0}));
  EXPECT_EQ(areas[0]->name(), "海淀区");
  EXPECT_EQ(areas[1]->name(), std::nullopt);
  auto channels = DirectoryDecoder::decodeSearchChannels(answer);
  EXPECT_EQ(ids(channels), (std::vector<int>{20001}));
  EXPECT_EQ(namesOf(channels), (std::vector<std::string>{"美食"}));
  EXPECT_TRUE(DirectoryDecoder::decodeSearchAreas(parsed(R"({"geoarealist": null})")).empty());
}

TEST(CityIndex, PlainNamesBecomeRecordsOrLists) {
  auto index = DirectoryDecoder::decodeCityIndex(parsed(R"({
    "area": ["朝阳区", 5, "海淀区"], "cat": ["火锅"], "all_cat": ["美食", "交通出行", null]})"));
  EXPECT_EQ(namesOf(index.areas), (std::vector<std::string>{"朝阳区", "海淀区"}));
  EXPECT_EQ(ids(index.areas), (std::vector<int>{0, 0}));
  EXPECT_EQ(index.hotCategories, (std::vector<std::string>{"火锅"}));
  EXPECT_EQ(ids(Channel::getHotChannel(index.allCategories)), (std::vector<int>{20001, -1}));
  auto empty = DirectoryDecoder::decodeCityIndex(parsed("[]"));
  EXPECT_TRUE(empty.areas.empty() && empty.hotCategories.empty() && empty.allCategories.empty());
}

TEST(HotCityTable, KeyOrderIsListOrder) {
  auto cities =
      DirectoryDecoder::decodeHotCityTable(parsed(R"({"西安": 233, "北京": "131", "无": null})"));
  EXPECT_EQ(namesOf(cities), (std::vector<std::string>{"西安", "北京", "无"}));
  EXPECT_EQ(ids(cities), (std::vector<int>{233, 131, 0}));
}

TEST(HotCityTable, TheShippedResourceHoldsElevenCities) {
  auto text = AppResources::contentsOfResource("hotcity", "json");
  ASSERT_TRUE(text);
  auto cities = DirectoryDecoder::decodeHotCityTable(parsed(*text));
  EXPECT_EQ(namesOf(cities),
            (std::vector<std::string>{"北京", "重庆", "广州", "上海", "深圳", "天津", "杭州",
                                      "南京", "成都", "武汉", "西安"}));
  EXPECT_EQ(ids(cities), (std::vector<int>{131, 132, 257, 289, 340, 332, 179, 315, 75, 218, 233}));
}

}  // namespace
}  // namespace lk

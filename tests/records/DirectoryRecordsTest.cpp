#include <gtest/gtest.h>

#include "Classes/Records/Area.h"
#include "Classes/Records/Channel.h"

namespace lk {
namespace {

std::vector<std::pair<int, std::string>> idsAndNames(
    const std::vector<std::shared_ptr<Channel>>& list) {
  std::vector<std::pair<int, std::string>> out;
  for (const auto& c : list)
    out.emplace_back(c->id(), c->nameText());
  return out;
}

TEST(LKObjectCopy, CopyOfAnAreaIsAPlainRecordWithIdAndNameOnly) {
  auto area = std::make_shared<Area>(5, "朝阳区");
  area->setHasChildren(true);
  area->setChildren({std::make_shared<Area>(51, "三里屯")});
  std::shared_ptr<LKObject> copy = area->copy();
  EXPECT_EQ(std::dynamic_pointer_cast<Area>(copy), nullptr);
  EXPECT_EQ(std::dynamic_pointer_cast<Channel>(Channel::allChannel()->copy()), nullptr);
  EXPECT_EQ(copy->id(), 5);
  EXPECT_EQ(copy->name(), "朝阳区");
  EXPECT_TRUE(copy->children().empty());
  // The copy owns its name: changing the source leaves it alone.
  area->setName("海淀区");
  EXPECT_EQ(copy->name(), "朝阳区");
}

TEST(LKObjectCopy, AbsentNameStaysAbsent) {
  LKObject nameless(7, std::nullopt);
  EXPECT_EQ(nameless.copy()->name(), std::nullopt);
  EXPECT_EQ(nameless.nameText(), "");
}

TEST(LKObjectEquality, ComparesIdsOnlyAcrossKinds) {
  Area area(5, "A");
  Channel channel(5, "B");
  EXPECT_TRUE(area.isEqual(channel));
  EXPECT_TRUE(channel == area);
  EXPECT_FALSE(Area(5, "A") == Area(6, "A"));
  EXPECT_TRUE(Area::allArea()->isEqual(*Channel::allChannel()));
  EXPECT_FALSE(area.isEqual(nullptr));
  EXPECT_TRUE(area.isEqual(&channel));
}

TEST(DirectoryFactories, AllRecordsAndTheMainChannels) {
  auto all = Area::allArea();
  EXPECT_EQ(all->id(), 0);
  EXPECT_EQ(all->name(), "全部区域");
  EXPECT_FALSE(all->hasChildren());
  EXPECT_EQ(Channel::allChannel()->name(), "全部分类");
  EXPECT_NE(Area::allArea(), Area::allArea());  // each call makes a new record

  EXPECT_EQ(idsAndNames(Channel::mainChannelList()),
            (std::vector<std::pair<int, std::string>>{{20001, "美食"},
                                                      {20002, "购物"},
                                                      {20003, "休闲娱乐"},
                                                      {20004, "丽人"},
                                                      {20005, "健身"},
                                                      {20006, "旅游"},
                                                      {20007, "酒店"},
                                                      {-1, "便民"}}));
}

TEST(GetHotChannel, KeepsServiceOrderAndFoldsConvenienceIntoOneTrailingEntry) {
  EXPECT_EQ(
      idsAndNames(Channel::getHotChannel({"美食", "交通出行", "酒店", "医疗服务"})),
      (std::vector<std::pair<int, std::string>>{{20001, "美食"}, {20007, "酒店"}, {-1, "便民"}}));
  EXPECT_EQ(idsAndNames(Channel::getHotChannel({"丽人", "购物"})),
            (std::vector<std::pair<int, std::string>>{{20004, "丽人"}, {20002, "购物"}}));
  EXPECT_EQ(idsAndNames(Channel::getHotChannel({"生活便利"})),
            (std::vector<std::pair<int, std::string>>{{-1, "便民"}}));
}

TEST(GetHotChannel, UnknownAndEmptyInputGiveNothing) {
  EXPECT_TRUE(Channel::getHotChannel({}).empty());
  EXPECT_TRUE(Channel::getHotChannel({"未知"}).empty());
  EXPECT_TRUE(Channel::getHotChannel({"美食 ", "", "美"}).empty());  // exact matches only
}

TEST(GetHotChannel, ExplicitConvenienceNameAndAConvenienceCategoryGiveTwoEntries) {
  EXPECT_EQ(idsAndNames(Channel::getHotChannel({"便民", "教育培训", "美食", "美食"})),
            (std::vector<std::pair<int, std::string>>{
                {-1, "便民"}, {20001, "美食"}, {20001, "美食"}, {-1, "便民"}}));
}

}  // namespace
}  // namespace lk

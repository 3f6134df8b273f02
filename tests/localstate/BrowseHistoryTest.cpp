#include <gtest/gtest.h>

#include <boost/json/parse.hpp>
#include <boost/json/serialize.hpp>

#include "Classes/LocalState/CacheCenter.h"
#include "Classes/Records/ShopInfo.h"
#include "Platform/Storage/UserDefaults.h"
#include "Platform/UI/Application.h"
#include "tests/support/ScopedClientStorage.h"
#include "tests/support/TestSupport.h"

namespace lk {
namespace {

std::shared_ptr<ShopInfo> shop(const std::string& id, const std::string& name = "店",
                               float score = 4.5F) {
  auto s = std::make_shared<ShopInfo>();
  s->setShopId(id);
  s->setStrName(name);
  s->setStrAddress("路" + id);
  s->setFltScoreTotal(score);
  return s;
}

std::vector<std::string> ids() {
  std::vector<std::string> out;
  for (const auto& s : CacheCenter::sharedInstance().shopBrowseHistory())
    out.push_back(s->shopId());
  return out;
}

class BrowseHistory : public ::testing::Test {
 protected:
  BrowseHistory() { ui::Application::resetSharedInstanceForTesting(); }
  ~BrowseHistory() override {
    CacheCenter::resetSharedInstanceForTesting();
    ui::Application::resetSharedInstanceForTesting();
  }
  CacheCenter& cache() { return CacheCenter::sharedInstance(); }
  boost::json::value stored() {
    return storage.store().objectForKey(kShopBrowseHistory).value_or(boost::json::value());
  }

  test::ScopedMainLoop loop;
  test::ScopedClientStorage storage;
};

TEST_F(BrowseHistory, ReopeningAShopMovesItToTheFrontWithoutGrowing) {
  cache().recordBrowsedShop(*shop("1"));
  cache().recordBrowsedShop(*shop("2"));
  cache().recordBrowsedShop(*shop("3"));
  auto renamed = shop("1", "新名字");
  cache().recordBrowsedShop(*renamed);
  EXPECT_EQ(ids(), (std::vector<std::string>{"1", "3", "2"}));
  EXPECT_EQ(cache().shopBrowseHistory().front()->strName(), "新名字");
}

TEST_F(BrowseHistory, KeepsThirtyShopsDroppingTheOldest) {
  for (int i = 1; i <= 31; ++i)
    cache().recordBrowsedShop(*shop(std::to_string(i)));
  ASSERT_EQ(cache().shopBrowseHistory().size(), 30u);
  EXPECT_EQ(ids().front(), "31");
  EXPECT_EQ(ids().back(), "2") << "the first shop opened went";
  EXPECT_EQ(stored().as_array().size(), 30u);
}

TEST_F(BrowseHistory, EntriesAreSlimCopiesNotTheShownRecord) {
  auto full = shop("7", "七号店", 3.5F);
  full->setStrHours("10:00-22:00");
  full->setIntCmtCount(12);
  full->setArrTel({"010-1234567"});
  cache().recordBrowsedShop(*full);
  const auto& entry = cache().shopBrowseHistory().front();
  EXPECT_NE(entry.get(), full.get());
  EXPECT_EQ(entry->strHours(), "");
  EXPECT_EQ(entry->intCmtCount(), 0);
  EXPECT_TRUE(entry->arrTel().empty());
  EXPECT_FALSE(entry->showDetails()) << "a history entry downloads nothing";
  EXPECT_EQ(boost::json::serialize(stored()),
            R"([{"id":"7","name":"七号店","address":"路7","score":3.5E0}])");
}

TEST_F(BrowseHistory, AShopWithoutAnIdIsNeverRecorded) {
  cache().recordBrowsedShop(*shop("1"));
  cache().recordBrowsedShop(*shop(""));
  EXPECT_EQ(ids(), (std::vector<std::string>{"1"}));
  EXPECT_EQ(stored().as_array().size(), 1u);
}

TEST_F(BrowseHistory, SurvivesARestartInOrderWithOnlyTheFourFields) {
  cache().recordBrowsedShop(*shop("1", "一", 4.1F));
  auto nameless = shop("2", "", 0);
  nameless->setStrAddress("");
  cache().recordBrowsedShop(*nameless);
  cache().recordBrowsedShop(*shop("3", "三", 2.5F));

  storage.restart();
  EXPECT_EQ(ids(), (std::vector<std::string>{"3", "2", "1"}));
  const auto& history = cache().shopBrowseHistory();
  EXPECT_EQ(history[2]->strName(), "一");
  EXPECT_FLOAT_EQ(history[2]->fltScoreTotal(), 4.1F);
  EXPECT_EQ(history[2]->strAddress(), "路1");
  EXPECT_EQ(history[1]->strName(), "") << "stored without a name, restored without one";
  EXPECT_FALSE(stored().as_array()[1].as_object().contains("name"));
  EXPECT_FALSE(stored().as_array()[1].as_object().contains("address"));
  EXPECT_EQ(stored().as_array()[1].as_object().at("score").as_double(), 0.0);
}

TEST_F(BrowseHistory, CleaningStoresAnEmptyListThatStaysEmptyAfterARestart) {
  cache().recordBrowsedShop(*shop("1"));
  cache().cleanBrowseHistory();
  EXPECT_TRUE(cache().shopBrowseHistory().empty());
  EXPECT_TRUE(stored().is_array() && stored().as_array().empty());
  storage.restart();
  EXPECT_TRUE(cache().shopBrowseHistory().empty());
}

TEST_F(BrowseHistory, ADamagedOrOlderStoreRestoresOnlyWhatFits) {
  boost::json::array list;
  list.push_back(42);
  list.push_back("not a shop");
  list.push_back(boost::json::parse(R"({"id": 5, "name": "number id"})"));
  list.push_back(boost::json::parse(R"({"name": "no id"})"));
  list.push_back(
      boost::json::parse(R"({"id": "a", "name": ["x"], "address": {"y": 1}, "score": "4.5"})"));
  for (int i = 0; i < 40; ++i) {
    list.push_back(
        boost::json::parse(R"({"id": ")" + std::to_string(i) + R"(", "name": "n", "score": 3})"));
  }
  storage.store().setObject(kShopBrowseHistory, list);
  storage.restart();

  const auto& history = cache().shopBrowseHistory();
  ASSERT_EQ(history.size(), 30u) << "never more than the history keeps";
  EXPECT_EQ(history[0]->shopId(), "a");
  EXPECT_EQ(history[0]->strName(), "") << "a name that is no string is left out";
  EXPECT_EQ(history[0]->strAddress(), "");
  EXPECT_EQ(history[0]->fltScoreTotal(), 0) << "a score that is no number is 0";
  EXPECT_EQ(history[1]->shopId(), "0");
  EXPECT_FLOAT_EQ(history[1]->fltScoreTotal(), 3);
  EXPECT_EQ(history[29]->shopId(), "28");

  // The next record writes the cleaned list back.
  cache().recordBrowsedShop(*shop("new"));
  EXPECT_EQ(stored().as_array().size(), 30u);
}

}  // namespace
}  // namespace lk

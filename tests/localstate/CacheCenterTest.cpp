#include "Classes/LocalState/CacheCenter.h"

#include <gtest/gtest.h>

#include <boost/json/parse.hpp>

#include "Classes/LocalState/TabSetLoader.h"
#include "Platform/Notifications/NotificationCenter.h"
#include "Platform/Resources/AppResources.h"
#include "Platform/Storage/UserDefaults.h"
#include "Platform/UI/Application.h"
#include "tests/support/ScopedClientStorage.h"
#include "tests/support/TestSupport.h"

namespace lk {
namespace {

std::string keyword(int i) {
  std::string k = "k";
  k += std::to_string(i);
  return k;
}

// The application's delegate, which installs the tab sets.
struct RecordingLoader : ui::ApplicationDelegate, TabSetLoader {
  void loadTabControllersWithCoupon() override { calls.push_back("with"); }
  void loadTabControllersWithoutCoupon() override { calls.push_back("without"); }
  std::vector<std::string> calls;
};

class CacheCenterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ui::Application::resetSharedInstanceForTesting();
    ui::Application::shared().setDelegate(&loader_);
  }
  void TearDown() override {
    CacheCenter::resetSharedInstanceForTesting();
    ui::Application::resetSharedInstanceForTesting();
    AppResources::setDirectory({});
  }
  // A fresh process on the same store file.
  void restart() {
    storage_.restart();
    store_ = &storage_.store();
    loader_.calls.clear();
    cityChanges_ = 0;
  }
  std::string storedFile() const { return test::readFile(storage_.storeFile()); }

  test::ScopedMainLoop loop_;
  test::ScopedClientStorage storage_;
  UserDefaults* store_ = &storage_.store();
  RecordingLoader loader_;
  int cityChanges_ = 0;
  ObserverToken observer_ = NotificationCenter::defaultCenter().addObserver(
      kCityChanged, [this](const Notification&) { ++cityChanges_; });
};

TEST_F(CacheCenterTest, FirstLaunchDefaultsToBeijingWithCoupons) {
  auto& cc = CacheCenter::sharedInstance();
  ASSERT_NE(cc.currentCity(), nullptr);
  EXPECT_EQ(cc.currentCity()->id(), 131);
  EXPECT_EQ(cc.currentCity()->name(), "北京");
  EXPECT_EQ(store_->integerForKey(kCurrentCityId), 131);
  EXPECT_EQ(store_->stringForKey(kCurrentCityName), "北京");
  EXPECT_EQ(cityChanges_, 1);
  EXPECT_TRUE(cc.isCouponCityCurrent());
  EXPECT_EQ(loader_.calls, std::vector<std::string>{"with"});
  EXPECT_FALSE(cc.username());
  EXPECT_FALSE(cc.password());
  EXPECT_TRUE(cc.areaSearchHistory().empty());
  EXPECT_TRUE(cc.channelSearchHistory().empty());
  EXPECT_EQ(&CacheCenter::sharedInstance(), &cc);
}

TEST_F(CacheCenterTest, StoredStateIsRestoredAndAnnounced) {
  store_->setInteger(kCurrentCityId, 75);
  store_->setString(kCurrentCityName, "成都");
  store_->setString(kUsername, "alice");
  store_->setString(kPassword, "pw");
  store_->setStringArray(kAreaSearchHistory, {"火锅", "茶馆"});
  store_->setStringArray(kChannelSearchHistory, {"川菜"});
  auto& cc = CacheCenter::sharedInstance();
  EXPECT_EQ(cc.currentCity()->id(), 75);
  EXPECT_EQ(cc.currentCity()->name(), "成都");
  EXPECT_EQ(cityChanges_, 1);
  EXPECT_EQ(loader_.calls, std::vector<std::string>{"without"});
  EXPECT_FALSE(cc.isCouponCityCurrent());
  EXPECT_EQ(cc.username(), "alice");
  EXPECT_EQ(cc.password(), "pw");
  EXPECT_EQ(cc.areaSearchHistory(), (std::vector<std::string>{"火锅", "茶馆"}));
  EXPECT_EQ(cc.channelSearchHistory(), std::vector<std::string>{"川菜"});
}

TEST_F(CacheCenterTest, StoredIdAsTextAndDamagedListsAreRead) {
  store_->setString(kCurrentCityId, "332");
  store_->setString(kCurrentCityName, "天津");
  boost::json::array list;
  for (int i = 0; i < 40; ++i) {
    list.emplace_back(keyword(i));
    list.emplace_back(7);
  }
  list.emplace_back(nullptr);
  store_->setObject(kAreaSearchHistory, std::move(list));
  store_->setObject(kChannelSearchHistory, boost::json::value("not a list"));
  auto& cc = CacheCenter::sharedInstance();
  EXPECT_EQ(cc.currentCity()->id(), 332);
  ASSERT_EQ(cc.areaSearchHistory().size(), CacheCenter::kMaxKeywords);
  EXPECT_EQ(cc.areaSearchHistory().front(), "k0");
  EXPECT_EQ(cc.areaSearchHistory().back(), "k29");
  EXPECT_TRUE(cc.channelSearchHistory().empty());
}

TEST_F(CacheCenterTest, CityIdWithoutNameFallsBackToTheDefault) {
  store_->setInteger(kCurrentCityId, 75);
  auto& cc = CacheCenter::sharedInstance();
  EXPECT_EQ(cc.currentCity()->id(), 131);
  EXPECT_EQ(cityChanges_, 1);
}

TEST_F(CacheCenterTest, SameIdUnderAnotherNameChangesNothing) {
  auto& cc = CacheCenter::sharedInstance();
  loader_.calls.clear();
  cityChanges_ = 0;
  const std::string before = storedFile();
  cc.setCurrentCity(Area(131, "Peking"));
  EXPECT_EQ(cc.currentCity()->name(), "北京");
  EXPECT_EQ(cityChanges_, 0);
  EXPECT_TRUE(loader_.calls.empty());
  EXPECT_EQ(storedFile(), before);
}

TEST_F(CacheCenterTest, CityChangeIsStoredAnnouncedAndSwitchesTheTabSet) {
  auto& cc = CacheCenter::sharedInstance();
  loader_.calls.clear();
  cityChanges_ = 0;
  Area chengdu(75, "成都");
  cc.setCurrentCity(chengdu);
  EXPECT_EQ(cityChanges_, 1);
  EXPECT_EQ(loader_.calls, std::vector<std::string>{"without"});
  EXPECT_FALSE(cc.isCouponCityCurrent());
  EXPECT_EQ(store_->integerForKey(kCurrentCityId), 75);
  EXPECT_EQ(store_->stringForKey(kCurrentCityName), "成都");
  // The kept city is not the caller's record.
  chengdu.setId(99);
  EXPECT_EQ(cc.currentCity()->id(), 75);

  cc.setCurrentCity(Area(340, "深圳"));
  EXPECT_EQ(loader_.calls, (std::vector<std::string>{"without", "with"}));
  EXPECT_EQ(cityChanges_, 2);
}

TEST_F(CacheCenterTest, EveryCouponCityIsRecognised) {
  auto& cc = CacheCenter::sharedInstance();
  for (int id : {131, 132, 257, 289, 340}) {
    cc.setCurrentCity(Area(id, "c"));
    EXPECT_TRUE(cc.isCouponCityCurrent()) << id;
  }
  for (int id : {0, 75, 130, 332, 2911, -1}) {
    cc.setCurrentCity(Area(id, "c"));
    EXPECT_FALSE(cc.isCouponCityCurrent()) << id;
  }
}

TEST_F(CacheCenterTest, ThirtyFirstKeywordDropsTheOldest) {
  auto& cc = CacheCenter::sharedInstance();
  for (int i = 0; i < 31; ++i)
    cc.recordAreaSearch(keyword(i));
  ASSERT_EQ(cc.areaSearchHistory().size(), 30u);
  EXPECT_EQ(cc.areaSearchHistory().front(), "k30");
  EXPECT_EQ(cc.areaSearchHistory().back(), "k1");
  EXPECT_EQ(store_->stringArrayForKey(kAreaSearchHistory), cc.areaSearchHistory());
  EXPECT_TRUE(cc.channelSearchHistory().empty());
}

TEST_F(CacheCenterTest, RepeatedKeywordMovesToTheFrontWithoutGrowing) {
  auto& cc = CacheCenter::sharedInstance();
  for (const char* k : {"a", "b", "c"})
    cc.recordChannelSearch(k);
  cc.recordChannelSearch("a");
  EXPECT_EQ(cc.channelSearchHistory(), (std::vector<std::string>{"a", "c", "b"}));
  cc.recordChannelSearch("A");  // case matters
  EXPECT_EQ(cc.channelSearchHistory().size(), 4u);
  // At the limit, repeating an entry keeps every other entry.
  std::vector<std::string> full;
  for (int i = 0; i < 30; ++i)
    CacheCenter::recordKeyword(keyword(i), full);
  CacheCenter::recordKeyword("k0", full);
  EXPECT_EQ(full.size(), 30u);
  EXPECT_EQ(full.front(), "k0");
  EXPECT_EQ(full.back(), "k1");
}

TEST_F(CacheCenterTest, ClearingAHistoryStoresAnEmptyList) {
  auto& cc = CacheCenter::sharedInstance();
  cc.recordAreaSearch("a");
  cc.recordChannelSearch("b");
  cc.clearAreaSearchHistory();
  EXPECT_TRUE(cc.areaSearchHistory().empty());
  EXPECT_EQ(cc.channelSearchHistory(), std::vector<std::string>{"b"});
  auto stored = store_->objectForKey(kAreaSearchHistory);
  ASSERT_TRUE(stored);
  EXPECT_TRUE(stored->is_array() && stored->get_array().empty());
  cc.clearChannelSearchHistory();
  restart();
  EXPECT_TRUE(CacheCenter::sharedInstance().channelSearchHistory().empty());
}

TEST_F(CacheCenterTest, RestartOnTheSameStoreRestoresEverything) {
  {
    auto& cc = CacheCenter::sharedInstance();
    cc.setCurrentCity(Area(218, "武汉"));
    cc.recordUsername("bob");
    cc.recordPassword("secret");
    cc.recordAreaSearch("热干面");
    cc.recordChannelSearch("小吃");
  }
  restart();
  CacheCenter direct;  // a new process builds its own
  EXPECT_EQ(&CacheCenter::sharedInstance(), &direct);
  EXPECT_EQ(direct.currentCity()->id(), 218);
  EXPECT_EQ(direct.currentCity()->name(), "武汉");
  EXPECT_EQ(direct.username(), "bob");
  EXPECT_EQ(direct.password(), "secret");
  EXPECT_EQ(direct.areaSearchHistory(), std::vector<std::string>{"热干面"});
  EXPECT_EQ(direct.channelSearchHistory(), std::vector<std::string>{"小吃"});
  EXPECT_EQ(loader_.calls, std::vector<std::string>{"without"});
  EXPECT_EQ(cityChanges_, 1);
}

TEST_F(CacheCenterTest, RestoringAgainDoesNotDoubleTheHistories) {
  auto& cc = CacheCenter::sharedInstance();
  cc.recordAreaSearch("a");
  cc.recordChannelSearch("b");
  cityChanges_ = 0;
  cc.restore();
  EXPECT_EQ(cc.areaSearchHistory(), std::vector<std::string>{"a"});
  EXPECT_EQ(cc.channelSearchHistory(), std::vector<std::string>{"b"});
  EXPECT_EQ(cityChanges_, 0);
}

TEST_F(CacheCenterTest, LoggingOutLeavesNoPasswordAfterRestart) {
  auto& cc = CacheCenter::sharedInstance();
  cc.recordUsername("bob");
  cc.recordPassword("secret");
  cc.recordPassword(std::nullopt);
  EXPECT_FALSE(cc.password());
  EXPECT_EQ(storedFile().find("secret"), std::string::npos);
  restart();
  EXPECT_FALSE(CacheCenter::sharedInstance().password());
  EXPECT_EQ(CacheCenter::sharedInstance().username(), "bob");
}

TEST_F(CacheCenterTest, NamelessCitySurvivesARestart) {
  CacheCenter::sharedInstance().setCurrentCity(Area(233, std::nullopt));
  restart();
  EXPECT_EQ(CacheCenter::sharedInstance().currentCity()->id(), 233);
}

TEST_F(CacheCenterTest, HotCitiesComeFromTheResourceInTableOrder) {
  auto& cc = CacheCenter::sharedInstance();
  const auto& hot = cc.hotCityList();
  ASSERT_EQ(hot.size(), 11u);
  EXPECT_EQ(hot.front()->name(), "北京");
  EXPECT_EQ(hot.back()->id(), 233);
  EXPECT_TRUE(cc.isHotCityCurrent());
  cc.setCurrentCity(Area(332, "天津"));  // hot, without coupons
  EXPECT_TRUE(cc.isHotCityCurrent());
  EXPECT_FALSE(cc.isCouponCityCurrent());
  cc.setCurrentCity(Area(1000, "小城"));
  EXPECT_FALSE(cc.isHotCityCurrent());
  EXPECT_EQ(&cc.hotCityList(), &hot);  // built once
}

TEST_F(CacheCenterTest, MissingOrBrokenHotCityTableGivesNoHotCities) {
  test::TempDir resources;
  AppResources::setDirectory(resources.path());
  {
    test::LogCapture log;
    EXPECT_TRUE(CacheCenter::sharedInstance().hotCityList().empty());
    EXPECT_FALSE(CacheCenter::sharedInstance().isHotCityCurrent());
    EXPECT_TRUE(log.contains("hot-city table"));
  }
  restart();
  test::writeFile(resources / "hotcity.json", "{\"北京\": 131,");
  test::LogCapture log;
  EXPECT_TRUE(CacheCenter::sharedInstance().hotCityList().empty());
  EXPECT_TRUE(log.contains("hot-city table cannot be decoded"));
  EXPECT_FALSE(CacheCenter::sharedInstance().isHotCityCurrent());
}

// Restoring posts kCityChanged and switches the tab set; both may reach the singleton again.
TEST_F(CacheCenterTest, CodeReachedWhileRestoringFindsTheSameInstance) {
  struct ReenteringLoader : ui::ApplicationDelegate, TabSetLoader {
    void loadTabControllersWithCoupon() override {
      seen = &CacheCenter::sharedInstance();
      coupon = CacheCenter::sharedInstance().isCouponCityCurrent();
    }
    CacheCenter* seen = nullptr;
    bool coupon = false;
  } reentering;
  ui::Application::shared().setDelegate(&reentering);
  CacheCenter* seenByObserver = nullptr;
  std::shared_ptr<const Area> citySeen;
  auto token = NotificationCenter::defaultCenter().addObserver(kCityChanged, [&](const auto&) {
    seenByObserver = &CacheCenter::sharedInstance();
    citySeen = seenByObserver->currentCity();
  });
  auto& cc = CacheCenter::sharedInstance();
  EXPECT_EQ(seenByObserver, &cc);
  EXPECT_EQ(reentering.seen, &cc);
  EXPECT_TRUE(reentering.coupon);
  ASSERT_NE(citySeen, nullptr);
  EXPECT_EQ(citySeen->id(), 131);
}

TEST_F(CacheCenterTest, SecondDirectAllocationIsAProgrammingError) {
  (void)CacheCenter::sharedInstance();
  EXPECT_DEATH({ CacheCenter second; }, "Duplicate alloc a singleton class");
}

}  // namespace
}  // namespace lk

namespace lk {
namespace {

TEST_F(CacheCenterTest, CityChangeWorksWithoutATabSetLoader) {
  ui::ApplicationDelegate plain;
  ui::Application::shared().setDelegate(&plain);
  auto& cc = CacheCenter::sharedInstance();
  cc.setCurrentCity(Area(75, "成都"));
  EXPECT_EQ(cc.currentCity()->id(), 75);
  EXPECT_EQ(cityChanges_, 2);
  EXPECT_TRUE(loader_.calls.empty());
  ui::Application::shared().setDelegate(nullptr);
  cc.setCurrentCity(Area(76, "x"));
  EXPECT_EQ(cityChanges_, 3);
}

}  // namespace
}  // namespace lk

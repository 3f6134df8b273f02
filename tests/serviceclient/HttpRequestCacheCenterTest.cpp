#include "Classes/ServiceClient/HttpRequestCacheCenter.h"

#include <gtest/gtest.h>

#include "tests/support/TestSupport.h"

namespace lk {
namespace {

class HttpRequestCacheCenterTest : public ::testing::Test {
 protected:
  void SetUp() override { HttpRequestCacheCenter::resetSharedInstanceForTesting(); }
  void TearDown() override { HttpRequestCacheCenter::resetSharedInstanceForTesting(); }
  HttpRequestCacheCenter& cache() { return HttpRequestCacheCenter::sharedInstance(); }
};

TEST_F(HttpRequestCacheCenterTest, StoresLooksUpAndReplacesByExactUrl) {
  cache().cacheData(std::string("one"), "http://h/a?x=1&y=2");
  cache().cacheData(std::string("two"), "http://h/a?y=2&x=1");
  EXPECT_EQ(*cache().dataForURL("http://h/a?x=1&y=2"), "one");
  EXPECT_EQ(*cache().dataForURL("http://h/a?y=2&x=1"), "two") << "parameter order matters";
  EXPECT_EQ(cache().dataForURL("http://h/a"), nullptr);
  cache().cacheData(std::string("three"), "http://h/a?x=1&y=2");
  EXPECT_EQ(*cache().dataForURL("http://h/a?x=1&y=2"), "three");
  EXPECT_EQ(cache().dataDictionary().size(), 2u);
}

TEST_F(HttpRequestCacheCenterTest, The501stUrlEmptiesTheStoreWholesale) {
  for (int i = 0; i < 500; ++i)
    cache().cacheData(std::to_string(i), "http://h/" + std::to_string(i));
  EXPECT_EQ(cache().dataDictionary().size(), 500u);
  cache().cacheData(std::string("new"), "http://h/new");
  EXPECT_EQ(cache().dataDictionary().size(), 1u);
  EXPECT_EQ(*cache().dataForURL("http://h/new"), "new");
  EXPECT_EQ(cache().dataForURL("http://h/0"), nullptr);
}

TEST_F(HttpRequestCacheCenterTest, StoringAPresentUrlIntoAFullStoreAlsoEmptiesIt) {
  for (int i = 0; i < 500; ++i)
    cache().cacheData(std::to_string(i), "http://h/" + std::to_string(i));
  cache().cacheData(std::string("again"), "http://h/7");
  EXPECT_EQ(cache().dataDictionary().size(), 1u);
  EXPECT_EQ(*cache().dataForURL("http://h/7"), "again");
}

TEST_F(HttpRequestCacheCenterTest, DistoryCacheDataRemovesEverythingButHandedOutBytesLive) {
  cache().cacheData(std::string("kept by a reader"), "http://h/a");
  const auto held = cache().dataForURL("http://h/a");
  cache().distoryCacheData();
  EXPECT_TRUE(cache().dataDictionary().empty());
  EXPECT_EQ(*held, "kept by a reader");
}

TEST_F(HttpRequestCacheCenterTest, SecondInstanceIsReportedAsAProgrammingError) {
  auto& shared = cache();
  EXPECT_EQ(&shared, &HttpRequestCacheCenter::sharedInstance());
  test::LogCapture log;
  HttpRequestCacheCenter duplicate;
  EXPECT_TRUE(log.contains("Duplicate alloc a singleton class"));
}

}  // namespace
}  // namespace lk

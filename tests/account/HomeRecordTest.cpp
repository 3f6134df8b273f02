// The user's profile record and the header that watches it: the avatar by address (store first,
// else one download), the latest broadcast, and what the header shows for each.
#include <gtest/gtest.h>

#include <boost/json/parse.hpp>

#include "Classes/Account/Home.h"
#include "Classes/Account/HomeTableViewHeader.h"
#include "Classes/Pictures/LKImageCache.h"
#include "Classes/ServiceClient/HttpRequestCacheCenter.h"
#include "Classes/Util/Utility.h"
#include "Platform/Image/ImageCodec.h"
#include "tests/support/PictureHttpServer.h"
#include "tests/support/ScopedClientStorage.h"
#include "tests/support/TestSupport.h"

namespace lk::test {
namespace {

class HomeRecord : public ::testing::Test {
 protected:
  HomeRecord() {
    HttpRequestCacheCenter::resetSharedInstanceForTesting();
    LKImageCache::resetSharedInstanceForTesting();
    server.serve("/a.png", ImageCodec::encodePng(Image(60, 60)));
    server.serve("/b.png", ImageCodec::encodePng(Image(30, 30)));
    server.serve("/broken.png", "not a picture");
  }
  ~HomeRecord() override {
    LKImageCache::resetSharedInstanceForTesting();
    HttpRequestCacheCenter::resetSharedInstanceForTesting();
  }
  void settle(const Home& home) {
    ASSERT_TRUE(loop->runUntil([&] { return home.request() == nullptr; }, seconds(5)));
  }
  static boost::json::object object(const char* text) {
    return boost::json::parse(text).as_object();
  }

  ScopedMainLoop loop{false};
  ScopedClientStorage storage;
  PictureHttpServer server;
};

TEST_F(HomeRecord, AnEmptyAddressMeansNoAvatarAndNoRequest) {
  Home home;
  home.setImgUrl(server.url("/a.png"));
  settle(home);
  ASSERT_NE(home.img().get(), nullptr);
  home.setImgUrl("");
  EXPECT_EQ(home.img().get(), nullptr);
  EXPECT_EQ(home.request(), nullptr);
  EXPECT_EQ(server.requestCount("/a.png"), 1);
}

TEST_F(HomeRecord, ANewAddressDropsTheOldPictureAndItsDownload) {
  Home home;
  home.setImgUrl(server.url("/a.png"));
  settle(home);
  ASSERT_EQ(home.img().get()->width(), 60);
  server.hold("/b.png");
  home.setImgUrl(server.url("/b.png"));
  EXPECT_EQ(home.img().get(), nullptr) << "the old avatar belongs to another address";
  home.setImgUrl(server.url("/broken.png"));
  server.open("/b.png");
  settle(home);
  loop->runFor(std::chrono::milliseconds(100));
  EXPECT_EQ(home.img().get(), nullptr) << "neither the dropped nor the broken picture shows";
}

TEST_F(HomeRecord, StoredAvatarsNeedNoDownloadAndOneAddressIsFetchedOnce) {
  auto stored = std::make_shared<const Image>(12, 12);
  LKImageCache::sharedImageCache().storeImage(stored, server.url("/b.png"), false);
  Home home;
  home.setImgUrl(server.url("/b.png"));
  EXPECT_EQ(home.img().get(), stored);
  EXPECT_EQ(home.request(), nullptr);

  Home other;
  server.hold("/a.png");
  other.setImgUrl(server.url("/a.png"));
  other.setImgUrl(server.url("/a.png"));
  server.open("/a.png");
  settle(other);
  EXPECT_EQ(server.requestCount("/a.png"), 1);
  EXPECT_EQ(server.requestCount("/b.png"), 0);
  // Stored for the next time.
  EXPECT_NE(LKImageCache::sharedImageCache().imageFromKey(server.url("/a.png")), nullptr);
}

TEST_F(HomeRecord, ProfileAndLatestBroadcastFillTheHeader) {
  auto home = std::make_shared<Home>();
  home->updateFromProfile(
      object(R"({"userinfo":{"uid":42,"name":"小吃货","pic":"","grade":"3","minicmtcount":3},)"
             R"("want_to_num":21,"been_to_num":"16"})"));
  EXPECT_EQ(home->uid, "42");
  EXPECT_EQ(home->level, 3);
  EXPECT_EQ(home->broadcastCount, 3);
  EXPECT_EQ(home->wantCount, 21);
  EXPECT_EQ(home->beenCount, 16);
  EXPECT_EQ(home->request(), nullptr);

  HomeTableViewHeader header;
  header.setHome(home);
  EXPECT_EQ(header.nameLabel()->text(), "小吃货");
  EXPECT_EQ(header.levelImg()->image().name(), "userlevel_3");
  EXPECT_FALSE(header.showsDialog());
  EXPECT_EQ(header.nameLabel()->frame().width(), HomeTableViewHeader::kWideNameWidth);
  EXPECT_EQ(header.photoImg()->image().name(), HomeTableViewHeader::kDefaultPhoto);

  home->updateFromLatestBroadcasts(
      object(R"({"cmtlist":[{"shop_name":"老渡口火锅","create_time":1700000000}]})"));
  EXPECT_TRUE(header.showsDialog());
  EXPECT_EQ(header.nameLabel()->frame().width(), HomeTableViewHeader::kNarrowNameWidth);
  EXPECT_EQ(header.placeLabel()->text(), "@老渡口火锅");
  EXPECT_EQ(header.timeLabel()->text(),
            Utility::stringWithDate(Date(std::chrono::seconds(1700000000))));

  home->updateFromLatestBroadcasts(object(R"({"cmtlist":[]})"));
  EXPECT_FALSE(header.showsDialog());
  EXPECT_EQ(header.placeLabel()->text(), "");
  EXPECT_EQ(home->lastBroadcastTime.get(), 0);

  // The avatar arriving later is drawn clipped; a header given no record empties.
  home->setImgUrl(server.url("/a.png"));
  settle(*home);
  EXPECT_EQ(header.photoImg()->image().describe(), "46x46 bitmap");
  header.setHome(nullptr);
  EXPECT_EQ(header.nameLabel()->text(), "");
  EXPECT_EQ(header.photoImg()->image().name(), HomeTableViewHeader::kDefaultPhoto);
  EXPECT_EQ(home->img().subscriberCount(), 0u);
}

}  // namespace
}  // namespace lk::test

#include <gtest/gtest.h>

#include <cmath>

#include "Classes/Pictures/LKImageCache.h"
#include "Classes/Records/Broadcast.h"
#include "Classes/Records/Comment.h"
#include "Classes/ServiceClient/HttpRequest.h"
#include "Platform/Image/ImageCodec.h"
#include "tests/records/RecordsFixture.h"

namespace lk {
namespace {

std::string png(int width) {
  return ImageCodec::encodePng(Image(width, 1));
}

using CommentDecoding = test::RecordsFixture;
using PictureFetch = test::RecordsFixture;

TEST_F(CommentDecoding, ReadsEveryMemberOfAReviewEntry) {
  const auto c = Comment::fromReviewEntry(object(R"({
      "cmt_id": "c9", "pic_url_s": "u/1.jpg", "uname": "小王", "ulevel": 3,
      "total_score": 4.5, "create_time": 1277915400, "pay": {"cost": 100, "person_count": 3},
      "vote_use": 12, "recommand": "鱼香肉丝", "content": "好吃", "is_content_trunc": 1,
      "detail_score": {"口味": 4, "环境": 3}})"),
                                          deadBase());
  EXPECT_EQ(c->cmtId(), "c9");
  EXPECT_EQ(c->userImgUrl(), deadBase() + "u/1.jpg");
  EXPECT_EQ(c->userName(), "小王");
  EXPECT_EQ(c->uLevel(), 3);
  EXPECT_FLOAT_EQ(c->totalScore(), 4.5f);
  EXPECT_EQ(c->createdTime(), 1277915400.0);
  EXPECT_NEAR(c->fltAverage(), 33.333, 0.001);
  EXPECT_EQ(c->usefulCount(), 12);
  EXPECT_EQ(c->recommend(), "鱼香肉丝");
  EXPECT_EQ(c->content(), "好吃");
  EXPECT_TRUE(c->isContentTrunc());
  EXPECT_EQ(c->detailScore().size(), 2u);
  EXPECT_EQ(c->createdDate(), "2010-07-01");
  EXPECT_TRUE(c->userId().empty()) << "no decoder fills it";
}

TEST_F(CommentDecoding, NullsStringsForNumbersAndMissingMembers) {
  const auto c = Comment::fromReviewEntry(object(R"({
      "cmt_id": 77, "pic_url_s": "", "uname": null, "ulevel": "2", "total_score": "3.5",
      "create_time": "1000.5", "vote_use": null, "is_content_trunc": "false"})"),
                                          deadBase());
  EXPECT_EQ(c->cmtId(), "77");
  EXPECT_EQ(c->userImgUrl(), "");
  EXPECT_EQ(c->imgRequest(), nullptr);
  EXPECT_EQ(c->userName(), "");
  EXPECT_EQ(c->uLevel(), 2);
  EXPECT_FLOAT_EQ(c->totalScore(), 3.5f);
  EXPECT_EQ(c->createdTime(), 1000.5);
  EXPECT_EQ(c->usefulCount(), 0);
  EXPECT_FALSE(c->isContentTrunc());
  EXPECT_EQ(c->content(), "");
  EXPECT_TRUE(c->detailScore().empty());
  EXPECT_EQ(c->fltAverage(), 0.0f);
}

TEST_F(CommentDecoding, PaymentWithoutPeopleGivesNoAverage) {
  for (const char* pay :
       {R"({"pay": {"cost": 100, "person_count": 0}})", R"({"pay": {"cost": 100}})",
        R"({"pay": {"cost": 100, "person_count": -2}})", R"({"pay": "100"})",
        R"({"pay": {"cost": 100, "person_count": "0.5"}})"}) {
    EXPECT_EQ(Comment::fromReviewEntry(object(pay), "")->fltAverage(), 0.0f) << pay;
  }
  EXPECT_FLOAT_EQ(
      Comment::fromReviewEntry(object(R"({"pay": {"cost": "90", "person_count": "2"}})"), "")
          ->fltAverage(),
      45.0f);
}

TEST_F(CommentDecoding, BroadcastEntryAndItsOptionalPhoto) {
  const auto b = Broadcast::fromBroadcastEntry(object(R"({
      "pic_url_s": "a.png", "uname": "阿明", "img": "p.jpg", "shop_id": 42,
      "shop_name": "茶馆", "create_time": 1277915400.5, "content": "人很多"})"),
                                               deadBase());
  EXPECT_EQ(b->userImgUrl(), deadBase() + "a.png");
  EXPECT_EQ(b->imgUrl(), deadBase() + "p.jpg");
  EXPECT_EQ(b->userName(), "阿明");
  EXPECT_EQ(b->shopId(), "42");
  EXPECT_EQ(b->shopName(), "茶馆");
  EXPECT_EQ(b->createdTime(), 1277915400.5);
  EXPECT_EQ(b->content(), "人很多");
  EXPECT_NE(b->userImgRequest(), nullptr);
  EXPECT_NE(b->bcImgRequest(), nullptr);
  EXPECT_EQ(std::any_cast<int>(b->userImgRequest()->extraData()), 0);
  EXPECT_EQ(std::any_cast<int>(b->bcImgRequest()->extraData()), 1);

  const auto noPhoto =
      Broadcast::fromBroadcastEntry(object(R"({"img": "", "pic_url_s": null})"), deadBase());
  EXPECT_EQ(noPhoto->imgUrl(), "");
  EXPECT_EQ(noPhoto->bcImgRequest(), nullptr);
  EXPECT_EQ(noPhoto->userImgRequest(), nullptr);
}

TEST(BroadcastAge, MinutesUpToHalfAnHourThenHoursDaysAndTheDate) {
  test::ScopedTimeZone zone("Asia/Shanghai");
  const double created = 1277915400;  // 2010-07-01 00:30 in Beijing
  const auto at = [&](double age) {
    return Broadcast::createdDate(created, dateFromSeconds(created + age));
  };
  EXPECT_EQ(at(0), "0分钟前");
  EXPECT_EQ(at(59), "0分钟前");
  EXPECT_EQ(at(1799), "29分钟前");
  EXPECT_EQ(at(1800), "30分钟前");
  EXPECT_EQ(at(1801), "0小时前");
  EXPECT_EQ(at(3600), "1小时前");
  EXPECT_EQ(at(86400), "24小时前");
  EXPECT_EQ(at(86401), "1天前");
  EXPECT_EQ(at(604800), "7天前");
  EXPECT_EQ(at(604801), "2010-07-01");
}

TEST(BroadcastAge, FutureTimesReadAsJustNow) {
  test::ScopedTimeZone zone("Asia/Shanghai");
  const double created = 1277915400;
  EXPECT_EQ(Broadcast::createdDate(created, dateFromSeconds(created - 300)), "0分钟前");
  EXPECT_EQ(Broadcast::createdDate(created, dateFromSeconds(created - 1e9)), "0分钟前");
  EXPECT_EQ(Broadcast::createdDate(std::nan(""), dateFromSeconds(created)), "1970-01-01");
  EXPECT_EQ(Broadcast::createdDate(-1e300, dateFromSeconds(created)).size(), 10u);
}

TEST_F(PictureFetch, SameUrlTwiceDownloadsOnceAndTheCellIsTold) {
  server_.serve("/u.png", png(3));
  Comment comment;
  int told = 0;
  const auto subscription = comment.userImg().subscribe([&](const ImagePtr&) { ++told; });
  comment.setUserImgUrl(server_.url("/u.png"));
  comment.setUserImgUrl(server_.url("/u.png"));
  ASSERT_TRUE(runUntil([&] { return comment.userImg().get() != nullptr; }));
  EXPECT_EQ(comment.userImg().get()->width(), 3);
  EXPECT_EQ(told, 1);
  EXPECT_EQ(comment.imgRequest(), nullptr) << "released when done";
  EXPECT_EQ(server_.requestCount("/u.png"), 1);
  // Stored under the URL text, so another record with it needs no download.
  Comment other;
  other.setUserImgUrl(server_.url("/u.png"));
  EXPECT_NE(other.userImg().get(), nullptr);
  EXPECT_EQ(other.imgRequest(), nullptr);
  EXPECT_EQ(server_.requestCount("/u.png"), 1);
  LKImageCache::sharedImageCache().waitUntilDiskJobsAreFinished();
  EXPECT_TRUE(std::filesystem::exists(
      LKImageCache::sharedImageCache().cachePathForKey(server_.url("/u.png"))));
}

TEST_F(PictureFetch, CachedPictureIsSetAtOnceWithoutARequest) {
  const auto image = std::make_shared<Image>(2, 2);
  LKImageCache::sharedImageCache().storeImage(image, "http://pictures.invalid/a.png", false);
  Broadcast b;
  b.setImgUrl("http://pictures.invalid/a.png");
  EXPECT_EQ(b.bcImg().get(), image);
  EXPECT_EQ(b.bcImgRequest(), nullptr);
  EXPECT_EQ(b.userImg().get(), nullptr);
}

TEST_F(PictureFetch, FailedOrNonPictureAnswersLeaveThePictureUnset) {
  server_.serve("/missing.png", png(2), 404);
  server_.serve("/text.png", "hello", 200, "text/plain");
  Broadcast b;
  b.setUserImgUrl(server_.url("/missing.png"));
  b.setImgUrl(server_.url("/text.png"));
  ASSERT_TRUE(runUntil([&] { return !b.userImgRequest() && !b.bcImgRequest(); }));
  EXPECT_EQ(b.userImg().get(), nullptr);
  EXPECT_EQ(b.bcImg().get(), nullptr);
  b.setUserImgUrl(deadBase() + "x.png");
  ASSERT_TRUE(runUntil([&] { return !b.userImgRequest(); }));
  EXPECT_EQ(b.userImg().get(), nullptr);
}

TEST_F(PictureFetch, ChangedUrlDropsTheOldDownload) {
  server_.serve("/old.png", png(5));
  server_.serve("/new.png", png(6));
  server_.hold("/old.png");
  Comment comment;
  comment.setUserImgUrl(server_.url("/old.png"));
  ASSERT_TRUE(runUntil([&] { return server_.requestCount("/old.png") == 1; }));
  comment.setUserImgUrl(server_.url("/new.png"));
  ASSERT_TRUE(runUntil([&] { return comment.userImg().get() != nullptr; }));
  server_.open("/old.png");
  settle();
  EXPECT_EQ(comment.userImg().get()->width(), 6);
}

TEST_F(PictureFetch, RecordGoneBeforeItsPictureArrivesCancelsItsDownload) {
  server_.serve("/slow.png", png(4));
  server_.hold("/slow.png");
  const int runningBefore = HttpRequest::networkActivityCount();
  {
    Broadcast b;
    b.setImgUrl(server_.url("/slow.png"));
    ASSERT_TRUE(runUntil([&] { return server_.requestCount("/slow.png") == 1; }));
    EXPECT_EQ(HttpRequest::networkActivityCount(), runningBefore + 1);
  }
  EXPECT_EQ(HttpRequest::networkActivityCount(), runningBefore)
      << "the download outlived its record";
  server_.open("/slow.png");
  settle();
  // Had the download gone on, its picture would have been stored for later rows.
  EXPECT_EQ(LKImageCache::sharedImageCache().imageFromKey(server_.url("/slow.png"), false),
            nullptr);
  // The same download with its record alive stores the picture, so the check above can tell.
  Broadcast kept;
  kept.setImgUrl(server_.url("/slow.png"));
  ASSERT_TRUE(runUntil([&] { return kept.bcImg().get() != nullptr; }));
  EXPECT_NE(LKImageCache::sharedImageCache().imageFromKey(server_.url("/slow.png"), false),
            nullptr);
}

TEST_F(PictureFetch, ACellMayLetTheRecordGoWhenThePictureArrives) {
  server_.serve("/p.png", png(2));
  auto record = std::make_shared<Comment>();
  Subscription subscription = record->userImg().subscribe([&](const ImagePtr&) { record.reset(); });
  record->setUserImgUrl(server_.url("/p.png"));
  ASSERT_TRUE(runUntil([&] { return record == nullptr; }));
  settle();
}

}  // namespace
}  // namespace lk

#include <gtest/gtest.h>

#include <boost/json/serialize.hpp>

#include <climits>
#include <cmath>
#include <string>
#include <vector>

#include "Classes/Json/JsonDocument.h"
#include "Classes/Pictures/LKImageCache.h"
#include "Classes/Records/Broadcast.h"
#include "Classes/Records/Comment.h"
#include "Classes/Records/Coupon.h"
#include "Classes/Records/ShopAdditionList.h"
#include "Classes/Records/ShopInfo.h"
#include "Classes/ServiceClient/HttpRequest.h"
#include "Classes/ServiceClient/HttpRequestCacheCenter.h"
#include "Platform/Image/ImageCodec.h"
#include "tests/records/RecordsFixture.h"
#include "tests/support/Compression.h"

namespace lk {
namespace {

using ShopSearchItem = test::RecordsFixture;
using ShopInformation = test::RecordsFixture;

TEST_F(ShopSearchItem, DecodesWithoutHighlightTagsAndNeverDownloads) {
  const auto shop = ShopInfo::fromSearchItem(object(R"({
      "shop_name": "<em>老北京</em>炸酱面 &amp; 小吃", "shop_id": "1001", "total_score": 4.5,
      "address": "东城区<em>王府井</em>", "distance": "350.5", "taglist": "面馆 小吃",
      "cmt_num": "27", "average_pay": 35,
      "cheap_off": [{"title": "九折", "id": 5}, {"title": null}]})"));
  EXPECT_EQ(shop->strName(), "老北京炸酱面 & 小吃");
  EXPECT_EQ(shop->shopId(), "1001");
  EXPECT_FLOAT_EQ(shop->fltScoreTotal(), 4.5f);
  EXPECT_EQ(shop->strAddress(), "东城区<em>王府井</em>") << "only the name is stripped";
  EXPECT_FLOAT_EQ(shop->distance(), 350.5f);
  EXPECT_EQ(shop->firstTag(), "面馆");
  EXPECT_EQ(shop->intCmtCount(), 27);
  EXPECT_FLOAT_EQ(shop->fltAverage(), 35.0f);
  ASSERT_EQ(shop->arrCouponList().size(), 2u);
  EXPECT_EQ(shop->arrCouponList()[0]->topic(), "九折");
  EXPECT_EQ(shop->arrCouponList()[0]->couponId(), "5");
  EXPECT_EQ(shop->arrCouponList()[1]->topic(), "");
  EXPECT_FALSE(shop->showDetails());
  EXPECT_EQ(shop->additionRequest(), nullptr);
  EXPECT_EQ(shop->imgRequest(), nullptr);
}

TEST_F(ShopSearchItem, MissingOrEmptyMembersKeepTheDefaults) {
  const auto shop = ShopInfo::fromSearchItem(
      object(R"({"shop_name": null, "taglist": "", "total_score": "abc", "cmt_num": null})"));
  EXPECT_EQ(shop->strName(), "");
  EXPECT_EQ(shop->shopId(), "");
  EXPECT_FALSE(shop->tagList().has_value());
  EXPECT_FALSE(shop->firstTag().has_value());
  EXPECT_EQ(shop->fltScoreTotal(), 0.0f);
  EXPECT_EQ(shop->intCmtCount(), 0);
  EXPECT_TRUE(shop->arrCouponList().empty()) << "always set, empty without offers";
}

TEST(ShopInfoDerived, RecommendStringAndHasRecommend) {
  ShopInfo shop;
  shop.setArrRecommend(boost::json::array{"a", "", "b"});
  EXPECT_EQ(shop.recommendString(), "a | b ");
  EXPECT_FALSE(shop.hasRecommend()) << "no recommendations name";
  shop.setStrRecommendName("推荐菜");
  EXPECT_TRUE(shop.hasRecommend());
  shop.setArrRecommend(boost::json::array{"", 3, nullptr});
  EXPECT_FALSE(shop.recommendString().has_value());
  EXPECT_FALSE(shop.hasRecommend());
  shop.setArrRecommend({});
  EXPECT_FALSE(shop.recommendString().has_value());
}

TEST(ShopInfoDerived, EqualityByIdOnly) {
  ShopInfo a;
  ShopInfo b;
  EXPECT_FALSE(a == b) << "records without an id are no shop";
  a.setShopId("7");
  a.setStrName("甲");
  b.setShopId("7");
  b.setStrName("乙");
  EXPECT_TRUE(a == b);
  b.setShopId("70");
  EXPECT_FALSE(a == b);
}

TEST_F(ShopInformation, TelephonesSplitAtFullWidthCommasAndTrimmed) {
  ShopInfo shop;
  shop.decodeShopInformation(
      object(R"({"arrTel": ["010-1111，010-2222", "  13900000000 ", 84001234]})"));
  EXPECT_EQ(shop.arrTel(),
            (std::vector<std::string>{"010-1111", "010-2222", "13900000000", "84001234"}));
  ShopInfo spaced;
  spaced.decodeShopInformation(
      object("{\"arrTel\": [\"\xE3\x80\x80"
             "123\xC2\xA0，\\t456\"]}"));
  EXPECT_EQ(spaced.arrTel(), (std::vector<std::string>{"123", "456"}));
}

TEST_F(ShopInformation, DecodesEveryMemberWithoutDownloadsWhenNotShownInDetail) {
  ShopInfo shop;
  shop.decodeShopInformation(object(R"({
      "intStauts": 2, "intShopId": 88, "strName": "茶馆", "intCityId": "1", "strAddress": "街",
      "strLandmark": "口", "fltPositionX": 116.5, "fltPositionY": "39.9", "strHours": "9-21",
      "strBusInfo": "1路", "strPriceInfo": "贵", "fltAverage": 50, "fltScoreTotal": 4,
      "arrMeta": [1], "arrScore": {"口味": 4}, "strShopImgUrl": "http://127.0.0.1:1/s.png",
      "strRecommendName": "推荐", "arrRecommend": ["茶"], "arrSpecialList": [{"x": 1}],
      "intCmtCount": 9, "intMiniCmtCount": 3, "base": "http://127.0.0.1:1/",
      "arrCmtList": [{"uname": "甲", "total_score": "3.5", "content": "好", "pic_url_s": "a.png",
                      "cmt_id": "ignored"}, {"uname": "乙"}],
      "arrMiniCmtList": [{"uname": "丙", "content": "挤", "create_time": 5, "pic_url_s": "",
                          "img": "i.png"}],
      "want": true, "been": "1",
      "arrCouponList": [{"strId": "c1", "strTopic": "满减", "strType": "活动"}]})"));
  EXPECT_EQ(shop.intStatus(), 2);
  EXPECT_EQ(shop.shopId(), "88");
  EXPECT_EQ(shop.strName(), "茶馆");
  EXPECT_EQ(shop.intCityId(), 1);
  EXPECT_FLOAT_EQ(shop.fltPositionX(), 116.5f);
  EXPECT_FLOAT_EQ(shop.fltPositionY(), 39.9f);
  EXPECT_EQ(shop.strHours(), "9-21");
  EXPECT_FALSE(shop.arrMeta().has_value()) << "not an object";
  EXPECT_TRUE(shop.arrScore().is_object());
  EXPECT_EQ(shop.strShopImgUrl(), "http://127.0.0.1:1/s.png");
  EXPECT_TRUE(shop.hasRecommend());
  EXPECT_TRUE(shop.arrSpecialList().is_array());
  EXPECT_EQ(shop.intCmtCount(), 9);
  EXPECT_EQ(shop.intMiniCmtCount(), 3);
  ASSERT_EQ(shop.arrCmtList().size(), 1u);
  EXPECT_EQ(shop.arrCmtList()[0]->userName(), "甲");
  EXPECT_FLOAT_EQ(shop.arrCmtList()[0]->totalScore(), 3.5f);
  EXPECT_EQ(shop.arrCmtList()[0]->userImgUrl(), "http://127.0.0.1:1/a.png");
  EXPECT_EQ(shop.arrCmtList()[0]->cmtId(), "");
  ASSERT_EQ(shop.arrMiniCmtList().size(), 1u);
  EXPECT_EQ(shop.arrMiniCmtList()[0]->imgUrl(), "http://127.0.0.1:1/i.png");
  EXPECT_EQ(shop.arrMiniCmtList()[0]->userImgUrl(), "");
  EXPECT_EQ(shop.arrMiniCmtList()[0]->createdTime(), 5.0);
  EXPECT_TRUE(shop.want());
  EXPECT_TRUE(shop.been());
  ASSERT_EQ(shop.arrCouponList().size(), 1u);
  EXPECT_EQ(shop.arrCouponList()[0]->type(), Coupon::kEvent);
  EXPECT_EQ(shop.arrCouponList()[0]->couponId(), "c1");
  EXPECT_EQ(shop.additionRequest(), nullptr);
  EXPECT_EQ(shop.imgRequest(), nullptr);
}

TEST_F(ShopInformation, EmptyListsLeaveTheLatestReviewAndBroadcastAbsent) {
  ShopInfo shop;
  shop.decodeShopInformation(
      object(R"({"arrCmtList": [], "arrMiniCmtList": null, "arrMeta": {"a": 1}})"));
  EXPECT_TRUE(shop.arrCmtList().empty());
  EXPECT_TRUE(shop.arrMiniCmtList().empty());
  ASSERT_TRUE(shop.arrMeta().has_value());
  EXPECT_EQ(shop.arrMeta()->size(), 1u);
}

// Decoders read a parsed document in one pass over its members: members in any order, repeated
// ones (the last counts) and numbers of any form must read as they read from a Boost.JSON value.
TEST_F(ShopInformation, ADocumentDecodesLikeAValueWhateverTheMemberOrder) {
  const std::string text = R"({
      "arrCouponList": [{"strType": "活动", "strId": "c1", "strId": "c2"}, 7],
      "been": 0, "want": "yes", "intShopId": "1", "strName": "甲", "intShopId": "9",
      "fltPositionX": 1e400, "intCityId": 18446744073709551616, "intStauts": "-3x",
      "arrTel": ["1，2", 3.5, null], "arrMeta": {"k": 1, "j": 2, "k": 3},
      "arrCmtList": [{"content": "a", "uname": "乙", "uname": "丙"}],
      "arrRecommend": ["x", "", "y"], "strRecommendName": "r", "arrScore": null})";
  const auto document = json::Document::parse(text);
  ASSERT_TRUE(document.has_value());
  ShopInfo fromDocument;
  fromDocument.decodeShopInformation(document->root());
  ShopInfo fromValue;
  fromValue.decodeShopInformation(object(text));
  for (const ShopInfo* shop : {&fromDocument, &fromValue}) {
    EXPECT_EQ(shop->shopId(), "9");
    EXPECT_EQ(shop->intStatus(), -3);
    EXPECT_EQ(shop->intCityId(), INT_MAX);
    EXPECT_TRUE(std::isinf(shop->fltPositionX()));
    EXPECT_TRUE(shop->want());
    EXPECT_FALSE(shop->been());
    EXPECT_EQ(shop->arrTel(), (std::vector<std::string>{"1", "2", "3.5"}));
    ASSERT_TRUE(shop->arrMeta().has_value());
    EXPECT_EQ(boost::json::serialize(*shop->arrMeta()), R"({"k":3,"j":2})");
    EXPECT_EQ(shop->recommendString(), "x | y ");
    ASSERT_EQ(shop->arrCmtList().size(), 1u);
    EXPECT_EQ(shop->arrCmtList()[0]->userName(), "丙");
    ASSERT_EQ(shop->arrCouponList().size(), 2u);
    EXPECT_EQ(shop->arrCouponList()[0]->couponId(), "c2");
    EXPECT_EQ(shop->arrCouponList()[0]->type(), Coupon::kEvent);
    EXPECT_EQ(shop->arrCouponList()[1]->couponId(), "");
  }
  const auto search = json::Document::parse(
      R"({"cheap_off": [{"id": 1, "title": "t"}], "shop_id": 5, "shop_name": "<em>a</em>&amp;",
          "shop_name": "<em>b</em>&#39;", "taglist": "x y", "total_score": "4.5x"})");
  ASSERT_TRUE(search.has_value());
  const auto item = ShopInfo::fromSearchItem(search->root());
  EXPECT_EQ(item->strName(), "b'");
  EXPECT_EQ(item->shopId(), "5");
  EXPECT_EQ(item->firstTag(), "x");
  EXPECT_FLOAT_EQ(item->fltScoreTotal(), 4.5f);
  ASSERT_EQ(item->arrCouponList().size(), 1u);
  EXPECT_EQ(item->arrCouponList()[0]->topic(), "t");
  EXPECT_EQ(item->arrCouponList()[0]->couponId(), "1");
}

class ShopDetailDownloads : public test::RecordsFixture {
 protected:
  std::string answer(const std::string& picturePath) {
    return R"({"intShopId": "7", "strName": "店", "strShopImgUrl": ")" + server_.url(picturePath) +
           R"("})";
  }
};

TEST_F(ShopDetailDownloads, DetailAnswerStartsEachDownloadOnce) {
  server_.serve("/shop.png", ImageCodec::encodePng(Image(9, 4)));
  server_.serve("/client/shop/7/addition",
                test::gzipBytes(R"({"type": "menu", "total": "2", "list": {"a": 1, "b": 2}})"), 200,
                "application/json");
  ShopInfo shop;
  shop.setShowDetails(true);
  int pictures = 0;
  const auto subscription = shop.shopImg().subscribe([&](const ImagePtr&) { ++pictures; });
  shop.decodeShopInformation(object(answer("/shop.png")));
  EXPECT_NE(shop.additionRequest(), nullptr);
  EXPECT_NE(shop.imgRequest(), nullptr);
  shop.decodeShopInformation(object(answer("/shop.png")));  // same values: nothing new
  ASSERT_TRUE(runUntil([&] { return shop.addition() && shop.shopImg().get(); }));
  settle();
  EXPECT_EQ(server_.requestCount("/client/shop/7/addition"), 1);
  EXPECT_EQ(server_.requestCount("/shop.png"), 1);
  EXPECT_EQ(server_.lastQuery("/client/shop/7/addition"), "n=500&p=0&tn=gz");
  EXPECT_EQ(shop.addition()->type(), "menu");
  EXPECT_EQ(shop.addition()->total(), 2);
  EXPECT_EQ(shop.addition()->list().size(), 2u);
  EXPECT_EQ(shop.shopImg().get()->width(), 9);
  EXPECT_EQ(pictures, 1);
  EXPECT_EQ(shop.imgRequest(), nullptr);
  EXPECT_EQ(shop.additionRequest(), nullptr);
  EXPECT_NE(LKImageCache::sharedImageCache().imageFromKey(server_.url("/shop.png"), false),
            nullptr);
}

TEST_F(ShopDetailDownloads, PictureInTheStoreNeedsNoDownload) {
  const auto image = std::make_shared<Image>(1, 1);
  LKImageCache::sharedImageCache().storeImage(image, server_.url("/stored.png"), false);
  ShopInfo shop;
  shop.setShowDetails(true);
  shop.decodeShopInformation(object(answer("/stored.png")));
  EXPECT_EQ(shop.shopImg().get(), image);
  EXPECT_EQ(shop.imgRequest(), nullptr);
  settle();
  EXPECT_EQ(server_.requestCount("/stored.png"), 0);
}

TEST_F(ShopDetailDownloads, UnusableAdditionAnswersChangeNothing) {
  const std::pair<std::string, int> answers[] = {
      {test::gzipBytes(R"({"type": "menu", "list": {}})"), 200},
      {test::gzipBytes(R"({"type": "menu", "list": [1, 2]})"), 200},
      {test::gzipBytes("not json"), 200},
      {"not compressed", 200},
      {test::gzipBytes(R"({"list": {"a": 1}})"), 500},
  };
  int id = 100;
  for (const auto& [body, status] : answers) {
    const std::string shopId = std::to_string(++id);
    server_.serve("/client/shop/" + shopId + "/addition", body, status, "application/json");
    ShopInfo shop;
    shop.setShowDetails(true);
    shop.setShopId(shopId);
    ASSERT_TRUE(runUntil([&] { return shop.additionRequest() == nullptr; })) << shopId;
    EXPECT_EQ(shop.addition(), nullptr) << shopId;
  }
}

TEST_F(ShopDetailDownloads, RecordGoneCancelsItsDownloads) {
  server_.serve("/shop.png", ImageCodec::encodePng(Image(2, 2)));
  server_.serve("/client/shop/7/addition",
                test::gzipBytes(R"({"type": "menu", "total": "1", "list": {"a": 1}})"), 200,
                "application/json");
  server_.hold("/client/shop/7/addition");
  server_.hold("/shop.png");
  HttpRequestCacheCenter::sharedInstance().distoryCacheData();
  const int runningBefore = HttpRequest::networkActivityCount();
  {
    ShopInfo shop;
    shop.setShowDetails(true);
    shop.decodeShopInformation(object(answer("/shop.png")));
    ASSERT_TRUE(runUntil([&] {
      return server_.requestCount("/client/shop/7/addition") == 1 &&
             server_.requestCount("/shop.png") == 1;
    }));
    EXPECT_EQ(HttpRequest::networkActivityCount(), runningBefore + 2);
  }
  EXPECT_EQ(HttpRequest::networkActivityCount(), runningBefore)
      << "the record's requests outlived it";
  server_.open("/client/shop/7/addition");
  server_.open("/shop.png");
  settle();
  // Had a download gone on, its answer would have been kept for later screens.
  const std::string additionKey =
      HttpRequest::makeRequest(server_.url("/client/shop/7/addition?p=0&n=500&tn=gz")).url;
  EXPECT_FALSE(HttpRequestCacheCenter::sharedInstance().dataForURL(additionKey));
  EXPECT_EQ(LKImageCache::sharedImageCache().imageFromKey(server_.url("/shop.png"), false),
            nullptr);
  // The same downloads with the record alive store both, so the checks above can tell.
  HttpRequestCacheCenter::sharedInstance().distoryCacheData();
  ShopInfo kept;
  kept.setShowDetails(true);
  kept.decodeShopInformation(object(answer("/shop.png")));
  ASSERT_TRUE(runUntil([&] { return kept.addition() && kept.shopImg().get(); }));
  EXPECT_TRUE(HttpRequestCacheCenter::sharedInstance().dataForURL(additionKey));
  EXPECT_NE(LKImageCache::sharedImageCache().imageFromKey(server_.url("/shop.png"), false),
            nullptr);
}

}  // namespace
}  // namespace lk

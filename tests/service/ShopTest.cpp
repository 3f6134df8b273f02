#include "tests/service/SharedService.h"

namespace lk::test {
namespace {

namespace json = boost::json;

class Shop : public SharedService {
 protected:
  static json::object info(int id) {
    return client().json("/client/shop/" + std::to_string(id) +
                         "/info?xda_from=iPhone&xda_page=ShopInfo");
  }
};

TEST_F(Shop, InformationCarriesEveryMemberWithItsType) {
  auto shop = info(1000001);
  EXPECT_TRUE(shop["intStauts"].is_int64());
  EXPECT_EQ(shop["intShopId"].as_string(), "1000001");
  EXPECT_TRUE(shop["strName"].is_string());
  EXPECT_EQ(shop["intCityId"].as_int64(), 131);
  for (const char* key : {"strAddress", "strLandmark", "strHours", "strBusInfo", "strPriceInfo",
                          "strShopImgUrl", "strRecommendName", "base"}) {
    EXPECT_TRUE(shop[key].is_string()) << key;
  }
  for (const char* key : {"fltPositionX", "fltPositionY", "fltAverage", "fltScoreTotal"}) {
    EXPECT_TRUE(shop[key].is_number()) << key;
  }
  EXPECT_NEAR(shop["fltPositionX"].to_number<double>(), 116.4, 0.2);
  EXPECT_NEAR(shop["fltPositionY"].to_number<double>(), 39.9, 0.2);
  for (const char* key : {"arrTel", "arrRecommend", "arrSpecialList", "arrCmtList",
                          "arrMiniCmtList", "arrCouponList"}) {
    EXPECT_TRUE(shop[key].is_array()) << key;
  }
  EXPECT_TRUE(shop["arrScore"].is_object());
  EXPECT_TRUE(shop["want"].is_bool());
  EXPECT_TRUE(shop["been"].is_bool());
  // Counts match what the lists hold.
  EXPECT_EQ(shop["intCmtCount"].as_int64(), 16);
  auto reviews = client().json("/client/shop/1000001/cmt?p=0&n=15&tn=gz");
  EXPECT_EQ(reviews["total"].as_int64(), 16);
  auto broadcasts = client().json("/client/shop/1000001/minicmt?p=0&n=15&tn=gz");
  EXPECT_EQ(broadcasts["total"].as_int64(), shop["intMiniCmtCount"].as_int64());
  EXPECT_EQ(static_cast<std::int64_t>(broadcasts["cmtlist"].as_array().size()),
            shop["intMiniCmtCount"].as_int64());
  ASSERT_EQ(shop["arrCmtList"].as_array().size(), 1u);
  const auto& latest = shop["arrCmtList"].as_array()[0].as_object();
  EXPECT_TRUE(latest.at("uname").is_string());
  EXPECT_TRUE(latest.at("total_score").is_number());
  EXPECT_TRUE(latest.at("content").is_string());
  EXPECT_TRUE(latest.at("pic_url_s").is_string());
  EXPECT_EQ(client().get("/client/shop/999/info").status, 404);
  EXPECT_EQ(client().get("/client/shop/abc/info").status, 404);
}

TEST_F(Shop, SampleShopsCoverTheVarietyTheScreensDraw) {
  bool status3 = false, status9 = false, noAverage = false, zeroAspect = false;
  bool emptyLabel = false, twoNumbers = false, spaces = false, emptyRecommendEntry = false;
  bool noPicture = false, metaNotObject = false;
  for (int id = 1000001; id <= 1000300; ++id) {
    auto shop = info(id);
    status3 |= shop["intStauts"].as_int64() == 3;
    status9 |= shop["intStauts"].as_int64() == 9;
    noAverage |= shop["fltAverage"].to_number<double>() == 0;
    for (const auto& [k, v] : shop["arrScore"].as_object())
      zeroAspect |= v.to_number<double>() == 0;
    emptyLabel |=
        shop["strRecommendName"].as_string().empty() && !shop["arrRecommend"].as_array().empty();
    for (const auto& tel : shop["arrTel"].as_array()) {
      const std::string t(tel.as_string());
      twoNumbers |= t.find("，") != std::string::npos;
      spaces |= t.front() == ' ' || t.back() == ' ';
    }
    for (const auto& r : shop["arrRecommend"].as_array())
      emptyRecommendEntry |= r.as_string().empty();
    noPicture |= shop["strShopImgUrl"].as_string().empty();
    metaNotObject |= !shop["arrMeta"].is_object();
    if (id < 1000040) {
      // The counts the detail screen shows are those of the lists behind them.
      const std::string path = "/client/shop/" + std::to_string(id);
      EXPECT_EQ(client().json(path + "/cmt?p=0&n=1")["total"], shop["intCmtCount"]) << id;
      EXPECT_EQ(client().json(path + "/minicmt?p=0&n=1")["total"], shop["intMiniCmtCount"]) << id;
      EXPECT_EQ(shop["arrCmtList"].as_array().empty(), shop["intCmtCount"].as_int64() == 0);
      EXPECT_EQ(shop["arrMiniCmtList"].as_array().empty(), shop["intMiniCmtCount"].as_int64() == 0);
    }
  }
  EXPECT_TRUE(status3);
  EXPECT_TRUE(status9);
  EXPECT_TRUE(noAverage);
  EXPECT_TRUE(zeroAspect);
  EXPECT_TRUE(emptyLabel);
  EXPECT_TRUE(twoNumbers);
  EXPECT_TRUE(spaces);
  EXPECT_TRUE(emptyRecommendEntry);
  EXPECT_TRUE(noPicture);
  EXPECT_TRUE(metaNotObject);
}

TEST_F(Shop, AlbumThumbnailsAndFullPicturesAreRealImages) {
  int id = 1000001;
  json::object album;
  for (; id < 1000050; ++id) {
    album = client().json("/client/shop/" + std::to_string(id) +
                          "/album?p=0&n=500&xda_from=iPhone&xda_page=ShopAlbum&tn=gz");
    if (!album["arrList"].as_array().empty() && !info(id)["strShopImgUrl"].as_string().empty())
      break;
  }
  auto shop = info(id);
  const auto& list = album["arrList"].as_array();
  EXPECT_EQ(album["intTotal"].as_int64(), static_cast<std::int64_t>(list.size()));
  ASSERT_FALSE(list.empty());
  const std::string base(album["base"].as_string());
  for (const auto& entry : list) {
    const std::string thumb(entry.at("strSrc").as_string());
    ASSERT_NE(thumb.find("abpic"), std::string::npos);
    std::string full = thumb;
    full.replace(full.find("abpic"), 5, "pic");
    // Only the first entry may be the shop's own picture.
    if (&entry != &list.front()) {
      EXPECT_NE(base + full, std::string(shop["strShopImgUrl"].as_string()));
    }
    // Pictures are raw bytes even when compression is asked for.
    const auto small = client().get(thumb + "?tn=gz");
    const auto large = client().get(full);
    ASSERT_EQ(small.status, 200);
    ASSERT_EQ(large.status, 200);
    EXPECT_EQ(static_cast<unsigned char>(small.body[0]), 0xFF);
    EXPECT_EQ(static_cast<unsigned char>(small.body[1]), 0xD8);
    EXPECT_EQ(small.contentType, "image/jpeg");
    EXPECT_LT(small.body.size(), large.body.size());
  }
  const std::string picture(shop["strShopImgUrl"].as_string());
  ASSERT_EQ(picture.rfind(base, 0), 0u);
  EXPECT_EQ(client().get(picture.substr(base.size())).status, 200);
  EXPECT_EQ(client().get("/pic/99999.jpg").status, 404);
}

TEST_F(Shop, SomeAlbumsStartWithTheShopsOwnPicture) {
  int found = 0;
  for (int id = 1000001; id <= 1000200 && found == 0; ++id) {
    const auto album =
        client().json("/client/shop/" + std::to_string(id) + "/album?p=0&n=500&tn=gz");
    if (album.at("arrList").as_array().empty()) continue;
    std::string first(album.at("arrList").as_array()[0].at("strSrc").as_string());
    first.replace(first.find("abpic"), 5, "pic");
    const auto shop = info(id);
    if (std::string(album.at("base").as_string()) + first == shop.at("strShopImgUrl").as_string()) {
      ++found;
    }
  }
  EXPECT_GT(found, 0);
}

TEST_F(Shop, ReviewPagesShortenLongTextsAndOneReviewPagesSendItWhole) {
  auto page =
      client().json("/client/shop/1000001/cmt?p=0&n=15&xda_from=iPhone&xda_page=CommentList&tn=gz");
  const auto& list = page["cmtlist"].as_array();
  ASSERT_EQ(list.size(), 15u);
  bool sawShortened = false;
  for (std::size_t i = 0; i < list.size(); ++i) {
    const auto& r = list[i].as_object();
    for (const char* key : {"cmt_id", "pic_url_s", "uname", "recommand", "content"}) {
      EXPECT_TRUE(r.at(key).is_string()) << key;
    }
    EXPECT_TRUE(r.at("ulevel").is_int64());
    EXPECT_TRUE(r.at("total_score").is_number());
    EXPECT_TRUE(r.at("create_time").is_int64());
    EXPECT_TRUE(r.at("vote_use").is_int64());
    EXPECT_TRUE(r.at("detail_score").is_object());
    EXPECT_TRUE(r.at("pay").is_object() || r.at("pay").is_null());
    if (!r.at("is_content_trunc").as_bool()) continue;
    sawShortened = true;
    auto whole = client().json("/client/shop/1000001/cmt?p=" + std::to_string(i) +
                               "&n=1&xda_from=iPhone&xda_page=CmtInfo&tn=gz");
    const auto& one = whole["cmtlist"].as_array().at(0).as_object();
    EXPECT_EQ(one.at("cmt_id"), r.at("cmt_id"));
    EXPECT_FALSE(one.at("is_content_trunc").as_bool());
    const std::string full(one.at("content").as_string());
    const std::string shortText(r.at("content").as_string());
    EXPECT_GT(full.size(), shortText.size());
    EXPECT_EQ(full.rfind(shortText, 0), 0u);
  }
  EXPECT_TRUE(sawShortened);
  auto second = client().json("/client/shop/1000001/cmt?p=1&n=15&tn=gz");
  EXPECT_EQ(second["cmtlist"].as_array().size(), 1u);
  auto third = client().json("/client/shop/1000001/cmt?p=2&n=15&tn=gz");
  EXPECT_TRUE(third["cmtlist"].as_array().empty());
}

TEST_F(Shop, AdditionalInformationIsAnObjectList) {
  bool sawEntries = false;
  for (int id = 1000001; id <= 1000020; ++id) {
    auto addition =
        client().json("/client/shop/" + std::to_string(id) + "/addition?p=0&n=500&tn=gz");
    EXPECT_TRUE(addition["type"].is_string());
    ASSERT_TRUE(addition["list"].is_object());
    EXPECT_EQ(addition["total"].as_int64(),
              static_cast<std::int64_t>(addition["list"].as_object().size()));
    sawEntries |= !addition["list"].as_object().empty();
  }
  EXPECT_TRUE(sawEntries);
}

}  // namespace
}  // namespace lk::test

#include <set>

#include "tests/service/SharedService.h"

namespace lk::test {
namespace {

namespace json = boost::json;

class Search : public SharedService {
 protected:
  static json::object search(const std::string& query) {
    return client().json("/client/search/0/q?" + query + "&tn=gz");
  }
  static std::string text(const json::value& v) { return std::string(v.as_string()); }
};

TEST_F(Search, KeywordMatchesAreMarkedInNameAndAddress) {
  // "路" occurs in many addresses; "tony" in a brand name written with capitals and a quote.
  auto byName = search("k=tony&r=&ci=131&sort=1&p=0&n=15");
  ASSERT_GT(byName["total"].as_int64(), 0);
  for (const auto& item : byName["searchlist"].as_array()) {
    const std::string name = text(item.at("shop_name"));
    EXPECT_NE(name.find("<em>Tony</em>"), std::string::npos) << name;
    // The name is mark-up: its apostrophe travels as an entity.
    EXPECT_NE(name.find("&#39;"), std::string::npos) << name;
    EXPECT_EQ(name.find('\''), std::string::npos) << name;
  }
  const std::string road = "%E8%B7%AF";  // 路
  auto byAddress = search("k=" + road + "&ci=131&p=0&n=15");
  ASSERT_GT(byAddress["total"].as_int64(), 0);
  int markedAddresses = 0;
  for (const auto& item : byAddress["searchlist"].as_array()) {
    const bool inAddress = text(item.at("address")).find("<em>路</em>") != std::string::npos;
    const bool inName = text(item.at("shop_name")).find("<em>路</em>") != std::string::npos;
    EXPECT_TRUE(inAddress || inName) << text(item.at("shop_name"));
    markedAddresses += inAddress ? 1 : 0;
  }
  EXPECT_GT(markedAddresses, 0);
}

TEST_F(Search, AnswerMembersHaveTheTypesTheClientReads) {
  auto answer = search("k=&r=&ci=289&sort=1&p=0&n=15");
  ASSERT_EQ(answer["searchlist"].as_array().size(), 15u);
  for (const auto& v : answer["searchlist"].as_array()) {
    const auto& item = v.as_object();
    EXPECT_TRUE(item.at("shop_id").is_string());
    EXPECT_TRUE(item.at("shop_name").is_string());
    EXPECT_TRUE(item.at("total_score").is_number());
    EXPECT_TRUE(item.at("address").is_string());
    EXPECT_TRUE(item.at("distance").is_number());
    EXPECT_TRUE(item.at("taglist").is_string() || item.at("taglist").is_null());
    EXPECT_TRUE(item.at("cmt_num").is_int64());
    EXPECT_TRUE(item.at("average_pay").is_number());
    ASSERT_TRUE(item.at("cheap_off").is_array());
    for (const auto& c : item.at("cheap_off").as_array()) {
      EXPECT_TRUE(c.at("id").is_string());
      EXPECT_TRUE(c.at("title").is_string());
      const std::string kind = text(c.at("type"));
      EXPECT_TRUE(kind == "优惠券" || kind == "折扣信息" || kind == "活动") << kind;
      EXPECT_TRUE(c.at("interest_num").is_int64());
    }
  }
}

TEST_F(Search, FacetsDescribeTheWholeMatchNotThePage) {
  auto one = search("ci=131&p=0&n=1");
  const auto total = one["total"].as_int64();
  ASSERT_GT(total, 100);
  std::int64_t areaSum = 0;
  for (const auto& a : one["geoarealist"].as_array()) {
    EXPECT_TRUE(a.at("area_id").is_int64());
    EXPECT_TRUE(a.at("area_name").is_string());
    areaSum += a.at("num").as_int64();
  }
  std::int64_t channelSum = 0;
  for (const auto& c : one["channellist"].as_array()) {
    EXPECT_TRUE(c.at("channel_id").is_int64());
    EXPECT_TRUE(c.at("channel_name").is_string());
    channelSum += c.at("num").as_int64();
  }
  EXPECT_EQ(areaSum, total);
  EXPECT_EQ(channelSum, total);
  EXPECT_GE(one["geoarealist"].as_array().size(), 5u);
  // Every facet id filters to exactly its count.
  const auto& first = one["geoarealist"].as_array().front();
  auto filtered = search("ci=131&p=0&n=1&rc=" + std::to_string(first.at("area_id").as_int64()));
  EXPECT_EQ(filtered["total"].as_int64(), first.at("num").as_int64());
}

TEST_F(Search, PagesAreDisjointAndTheLastOneIsShort) {
  auto first = search("ci=315&sort=2&p=0&n=15");
  const auto total = first["total"].as_int64();
  ASSERT_GT(total, 30);
  std::set<std::string> seen;
  std::int64_t received = 0;
  for (int page = 0; page * 15 < total + 15; ++page) {
    auto answer = search("ci=315&sort=2&p=" + std::to_string(page) + "&n=15");
    EXPECT_EQ(answer["total"].as_int64(), total);
    const auto& list = answer["searchlist"].as_array();
    if (static_cast<std::int64_t>((page + 1) * 15) <= total) {
      EXPECT_EQ(list.size(), 15u) << page;
    } else {
      EXPECT_LT(list.size(), 15u) << page;
    }
    for (const auto& item : list)
      EXPECT_TRUE(seen.insert(text(item.at("shop_id"))).second);
    received += static_cast<std::int64_t>(list.size());
  }
  EXPECT_EQ(received, total);
}

TEST_F(Search, SortsByScoreReviewsAndDistance) {
  auto byScore = search("ci=131&sort=2&p=0&n=50");
  double last = 10;
  for (const auto& item : byScore["searchlist"].as_array()) {
    const double score = item.at("total_score").to_number<double>();
    EXPECT_LE(score, last);
    last = score;
  }
  auto byReviews = search("ci=131&sort=3&p=0&n=50");
  std::int64_t lastCount = 1 << 30;
  for (const auto& item : byReviews["searchlist"].as_array()) {
    EXPECT_LE(item.at("cmt_num").as_int64(), lastCount);
    lastCount = item.at("cmt_num").as_int64();
  }
  // Around Tian'anmen within 1.5 km, nearest first, in metres.
  auto nearby = search("ci=131&x=116.404&y=39.915&sd=1.5&sort=4&p=0&n=50&sortm=0");
  ASSERT_GT(nearby["total"].as_int64(), 0);
  double lastDistance = 0;
  for (const auto& item : nearby["searchlist"].as_array()) {
    const double d = item.at("distance").to_number<double>();
    EXPECT_GE(d, lastDistance);
    EXPECT_LE(d, 1500.0);
    lastDistance = d;
  }
  EXPECT_GT(lastDistance, 10.0);  // metres, not kilometres
}

TEST_F(Search, FiltersByIdAndByNameAgree) {
  auto byId = search("ci=131&p=0&n=1&rc=13103");
  auto byName = search("ci=131&p=0&n=1&rn=%E6%9C%9D%E9%98%B3%E5%8C%BA");  // 朝阳区
  EXPECT_GT(byId["total"].as_int64(), 0);
  EXPECT_EQ(byId["total"], byName["total"]);
  auto category = search("ci=131&p=0&n=1&sc=20001");
  auto categoryName = search("ci=131&p=0&n=1&chn=%E7%BE%8E%E9%A3%9F");  // 美食
  EXPECT_EQ(category["total"], categoryName["total"]);
  ASSERT_EQ(category["channellist"].as_array().size(), 1u);
  EXPECT_EQ(category["channellist"].as_array()[0].at("channel_id").as_int64(), 20001);
  // A business circle by name ("z"), and a district name given as circle.
  auto circle = search("ci=131&p=0&n=1&z=%E4%B8%89%E9%87%8C%E5%B1%AF");  // 三里屯
  EXPECT_GT(circle["total"].as_int64(), 0);
  EXPECT_LT(circle["total"].as_int64(), byId["total"].as_int64());
  auto couponsOnly = search("ci=131&p=0&n=100&ex=1");
  ASSERT_GT(couponsOnly["total"].as_int64(), 0);
  for (const auto& item : couponsOnly["searchlist"].as_array()) {
    EXPECT_FALSE(item.at("cheap_off").as_array().empty());
  }
  auto elsewhere = search("ci=224&p=0&n=15");  // a city without shops
  EXPECT_EQ(elsewhere["total"].as_int64(), 0);
  EXPECT_TRUE(elsewhere["searchlist"].as_array().empty());
}

TEST_F(Search, MalformedParametersAreRefused) {
  auto c = client();
  EXPECT_EQ(c.get("/client/search/0/q?k=a&p=0&n=15").status, 400);             // no city
  EXPECT_EQ(c.get("/client/search/0/q?ci=abc&p=0&n=15").status, 400);          // bad city
  EXPECT_EQ(c.get("/client/search/0/q?ci=131&p=-1&n=15").status, 400);         // bad page
  EXPECT_EQ(c.get("/client/search/0/q?ci=131&p=0&n=0").status, 400);           // bad size
  EXPECT_EQ(c.get("/client/search/0/q?ci=131&x=116.4&p=0&n=15").status, 400);  // x alone
  EXPECT_EQ(c.get("/client/search/0/q?ci=131&sort=x&p=0&n=15").status, 400);
  EXPECT_EQ(c.get("/client/search/0/q?ci=131&k=%FF%FE&p=0&n=15").status, 400);  // not UTF-8
  // Quotes and SQL in the keyword are only text.
  auto answer = c.json("/client/search/0/q?ci=131&k=%27%3B%20DROP%20TABLE%20shop%3B--&p=0&n=15");
  EXPECT_EQ(answer["total"].as_int64(), 0);
  EXPECT_GT(c.json("/client/search/0/q?ci=131&p=0&n=1")["total"].as_int64(), 0);
}

}  // namespace
}  // namespace lk::test

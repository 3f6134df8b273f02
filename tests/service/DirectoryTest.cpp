#include <boost/json.hpp>

#include <fstream>
#include <sstream>

#include "tests/service/SharedService.h"

namespace lk::test {
namespace {

namespace json = boost::json;

class Directory : public SharedService {};

TEST_F(Directory, ProvinceIndexListsHotCitiesOfTheResourceAndBothSpecialRegions) {
  auto answer = client().json("/client/index/0/province?tn=gz");
  // The hot cities are those of the client's resource, same names, ids and order.
  std::ifstream in(std::string(LOKAVO_SOURCE_DIR) + "/Resources/hotcity.json");
  std::stringstream text;
  text << in.rdbuf();
  const auto table = json::parse(text.str()).as_object();
  const auto& hot = answer["hot"].as_array();
  ASSERT_EQ(hot.size(), table.size());
  std::size_t i = 0;
  for (const auto& [name, id] : table) {
    EXPECT_EQ(hot[i].at("name").as_string(), name);
    EXPECT_EQ(hot[i].at("id").as_int64(), id.as_int64());
    ++i;
  }
  // Both special regions are sent, in the service's own order (the client moves them last).
  const auto& list = answer["list"].as_array();
  std::ptrdiff_t at2911 = -1;
  std::ptrdiff_t at2912 = -1;
  for (std::size_t k = 0; k < list.size(); ++k) {
    if (list[k].at("id").as_int64() == 2911) at2911 = static_cast<std::ptrdiff_t>(k);
    if (list[k].at("id").as_int64() == 2912) at2912 = static_cast<std::ptrdiff_t>(k);
  }
  ASSERT_GE(at2911, 0);
  ASSERT_GE(at2912, 0);
  EXPECT_LT(at2912, static_cast<std::ptrdiff_t>(list.size()) - 2);
  EXPECT_GT(list.size(), 30u);
  EXPECT_EQ(client().get("/client/index/1/province").status, 404);
}

TEST_F(Directory, CityListOfAProvince) {
  auto guangdong = client().json("/client/index/2906/city?tn=gz");
  std::set<std::int64_t> ids;
  for (const auto& c : guangdong["list"].as_array())
    ids.insert(c.at("id").as_int64());
  EXPECT_TRUE(ids.count(257));
  EXPECT_TRUE(ids.count(340));
  EXPECT_TRUE(client().json("/client/index/99999/city")["list"].as_array().empty());
  EXPECT_EQ(client().get("/client/index/abc/city").status, 400);
}

TEST_F(Directory, AreaTreeHasDistrictsWithCirclesAndNullForACityWithout) {
  auto beijing = client().json("/client/index/131/citymore?tn=gz");
  const auto& districts = beijing["list"].as_array();
  ASSERT_GE(districts.size(), 5u);
  for (const auto& d : districts) {
    EXPECT_TRUE(d.at("id").is_int64());
    EXPECT_TRUE(d.at("name").is_string());
    EXPECT_FALSE(d.at("list").as_array().empty());
  }
  auto suzhou = client().json("/client/index/224/citymore");
  EXPECT_TRUE(suzhou["list"].is_null());
}

TEST_F(Directory, CategoryTreeAndCityIndex) {
  auto tree = client().json("/client/index/131/catmore?tn=gz");
  std::vector<std::int64_t> ids;
  for (const auto& c : tree["list"].as_array()) {
    ids.push_back(c.at("id").as_int64());
    EXPECT_FALSE(c.at("list").as_array().empty());
  }
  ASSERT_GE(ids.size(), 7u);
  for (int id = 20001; id <= 20007; ++id)
    EXPECT_EQ(ids[static_cast<std::size_t>(id - 20001)], id);

  auto index = client().json("/client/index/131/area?xda_from=iPhone&xda_page=IndexInfo&tn=gz");
  EXPECT_FALSE(index["area"].as_array().empty());
  for (const auto& name : index["area"].as_array())
    EXPECT_TRUE(name.is_string());
  std::set<std::string> all;
  for (const auto& name : index["all_cat"].as_array())
    all.insert(std::string(name.as_string()));
  for (const char* name :
       {"美食", "酒店", "教育培训", "医疗服务", "金融银行", "专业机构", "生活便利", "交通出行"}) {
    EXPECT_TRUE(all.count(name)) << name;
  }
  EXPECT_FALSE(index["cat"].as_array().empty());
}

}  // namespace
}  // namespace lk::test

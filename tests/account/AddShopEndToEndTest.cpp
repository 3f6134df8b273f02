#include <gtest/gtest.h>
#include <sqlite3.h>

#include <map>
#include <optional>
#include <string>

#include "Classes/Account/LoginViewController.h"
#include "Classes/LocalState/CacheCenter.h"
#include "tests/account/AccountSession.h"

namespace lk::test {
namespace {

bool has(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

// The proposals the stand-in stored, read from its database: name → the other columns as text.
std::map<std::string, std::map<std::string, std::string>> storedProposals(
    const std::filesystem::path& database) {
  std::map<std::string, std::map<std::string, std::string>> out;
  sqlite3* db = nullptr;
  if (sqlite3_open_v2(database.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
    ADD_FAILURE() << "cannot open " << database;
    sqlite3_close(db);
    return out;
  }
  sqlite3_busy_timeout(db, 5000);
  sqlite3_stmt* statement = nullptr;
  const char* sql =
      "SELECT name, username, city_id, area, address, cat_id, printf('%.6f', x), "
      "printf('%.6f', y), tel FROM shop_proposal";
  EXPECT_EQ(sqlite3_prepare_v2(db, sql, -1, &statement, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
  const char* columns[] = {"name",   "username", "city_id", "area", "address",
                           "cat_id", "x",        "y",       "tel"};
  while (statement != nullptr && sqlite3_step(statement) == SQLITE_ROW) {
    std::map<std::string, std::string> row;
    for (int i = 1; i < 9; ++i) {
      const auto* text = sqlite3_column_text(statement, i);
      row[columns[i]] = text != nullptr ? reinterpret_cast<const char*>(text) : "(null)";
    }
    out[reinterpret_cast<const char*>(sqlite3_column_text(statement, 0))] = std::move(row);
  }
  sqlite3_finalize(statement);
  sqlite3_close(db);
  return out;
}

class AddShopEndToEnd : public AccountSession {};

TEST_F(AddShopEndToEnd, AShopFromAnEmptySearchWithPickersMarkerAndTelephoneIsStored) {
  ASSERT_TRUE(service.running()) << service.errorOutput();
  const std::string loggedIn = loginThroughScreen("lokavo", "lokavo123");
  ASSERT_TRUE(login().isLogin()) << loggedIn;

  run("tab 搜索");
  const std::string results = run("search 街角新开的面馆");
  ASSERT_TRUE(has(results, "赶快添加商户")) << results;
  const std::string form = run("tap 赶快添加商户");
  ASSERT_TRUE(has(form, "navbar: 添加商户")) << form;
  EXPECT_TRUE(has(form, "field: 街角新开的面馆")) << "the keyword is the name";
  EXPECT_TRUE(has(run("tap 添加"), "message: 请选择市"));
  run("alert 好的");

  // The address: a province, its city, a district and the street.
  ASSERT_TRUE(has(run("tap 详细地址"), "navbar: 详细地址"));
  EXPECT_TRUE(has(run("tap 区"), "message: 请先选择市"));
  run("alert 好的");
  std::string provinces = run("tap 市");
  ASSERT_TRUE(has(provinces, "navbar: 选择省(直辖市)")) << provinces;
  for (int i = 0; i < 10 && !has(provinces, "label: 广东"); ++i)
    provinces = run("scroll down");
  const std::string cities = run("tap 广东");
  ASSERT_TRUE(has(cities, "navbar: 广东")) << cities;
  std::string address = run("tap 深圳");
  ASSERT_TRUE(has(address, "navbar: 详细地址")) << "back on the address screen\n" << address;
  EXPECT_TRUE(has(address, "label: 深圳"));
  const std::string districts = run("tap 区");
  ASSERT_TRUE(has(districts, "navbar: 深圳")) << districts;
  address = run("tap 南山区");
  EXPECT_TRUE(has(address, "label: 南山区")) << address;
  run("tap 详细地址");
  run("type 科技园南区1号");
  const std::string back = run("back");
  EXPECT_TRUE(has(back, "深圳南山区科技园南区1号")) << back;

  // The category, two levels deep.
  ASSERT_TRUE(has(run("tap 所属分类"), "navbar: 选择分类"));
  run("tap 美食");
  EXPECT_TRUE(has(run("tap 火锅"), "navbar: 添加商户"));

  // The marker, moved on the page and read back.
  const std::string map = run("tap 在地图上标注位置");
  ASSERT_TRUE(has(map, "navbar: 标注位置")) << map;
  EXPECT_TRUE(has(map, "marker: (116.404, 39.915) (movable)")) << map;
  EXPECT_TRUE(has(run("mark 113.95 22.54"), "marker: (113.95, 22.54)"));
  EXPECT_TRUE(has(run("tap 返回"), "navbar: 添加商户"));

  run("tap 电话");
  run("type 0755-26612345");
  const std::string added = run("tap 添加");
  EXPECT_TRUE(has(added, "message: 操作成功")) << added;
  run("alert 好的");
  EXPECT_TRUE(has(run("dump"), "navbar: 添加商户")) << "the form stays open";
  EXPECT_EQ(CacheCenter::sharedInstance().currentCity()->id(), 131) << "still in 北京";

  const auto posted = received("/submit/0/addShop", 1);
  ASSERT_EQ(posted.size(), 1U);
  EXPECT_EQ(posted[0].method, "POST");
  EXPECT_TRUE(has(posted[0].body, "&city_id=340&")) << posted[0].body;
  EXPECT_TRUE(has(posted[0].body, "&x=113.949997&y=22.540001&")) << posted[0].body;
  EXPECT_TRUE(has(posted[0].body, "&strTel1=0755-26612345&")) << posted[0].body;

  const auto stored = storedProposals(service.databasePath());
  ASSERT_EQ(stored.count("街角新开的面馆"), 1U);
  const auto& row = stored.at("街角新开的面馆");
  EXPECT_EQ(row.at("username"), "lokavo");
  EXPECT_EQ(row.at("city_id"), "340");
  EXPECT_EQ(row.at("area"), "南山区");
  EXPECT_EQ(row.at("address"), "科技园南区1号");
  EXPECT_EQ(row.at("cat_id"), "2000103");
  EXPECT_EQ(row.at("x"), "113.949997");
  EXPECT_EQ(row.at("y"), "22.540001");
  EXPECT_EQ(row.at("tel"), "0755-26612345");
}

TEST_F(AddShopEndToEnd, MarkAppliesOnlyToAMovableMarker) {
  const std::string refused = run("mark 1 2");
  EXPECT_TRUE(has(refused, "no page with a movable marker")) << refused;
  EXPECT_EQ(session->failedCommands(), 1);
  run("tab 搜索");
  run("search 街角新开的面馆");
  run("tap 赶快添加商户");
  run("tap 在地图上标注位置");
  EXPECT_TRUE(has(run("mark abc 2"), "usage: mark X Y"));
  EXPECT_TRUE(has(run("mark 1"), "usage: mark X Y"));
  const std::string moved = run("mark -1.5 2.25");
  EXPECT_TRUE(has(moved, "marker: (-1.5, 2.25)")) << moved;
}

}  // namespace
}  // namespace lk::test

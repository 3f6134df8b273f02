#include "service/DirectoryHandlers.h"

#include <boost/json.hpp>

#include <cmath>
#include <sstream>

#include "service/RequestChecks.h"

namespace lk::service {

namespace json = boost::json;

namespace {

json::object node(int id, const std::string& name) {
  json::object o;
  o["id"] = id;
  o["name"] = name;
  return o;
}

double round1(double v) {
  return std::round(v * 10.0) / 10.0;
}

}  // namespace

void DirectoryHandlers::addRoutes(Router& router) {
  router.add("GET", "/client/index/*/province", [this](auto& r) { return provinces(r); });
  router.add("GET", "/client/index/*/city", [this](auto& r) { return cities(r); });
  router.add("GET", "/client/index/*/citymore", [this](auto& r) { return areaTree(r); });
  router.add("GET", "/client/index/*/catmore", [this](auto& r) { return categoryTree(r); });
  router.add("GET", "/client/index/*/area", [this](auto& r) { return cityIndex(r); });
  router.add("GET", "/client/search/*/q", [this](auto& r) { return search(r); });
}

Reply DirectoryHandlers::provinces(ServiceRequest& request) {
  if (request.param(0) != "0") return Reply::notFound();
  auto& db = context_.db;
  auto guard = db.lock();
  json::array hot;
  auto hotStmt = db.prepare("SELECT id, name FROM city WHERE hot > 0 ORDER BY hot");
  while (hotStmt.step())
    hot.push_back(node(hotStmt.integer(0), hotStmt.text(1)));
  json::array list;
  auto listStmt = db.prepare("SELECT id, name FROM province ORDER BY ord");
  while (listStmt.step())
    list.push_back(node(listStmt.integer(0), listStmt.text(1)));
  json::object root;
  root["hot"] = std::move(hot);
  root["list"] = std::move(list);
  return Reply::json(root);
}

Reply DirectoryHandlers::cities(ServiceRequest& request) {
  const auto provinceId = RequestChecks::pathId(request.param(0));
  if (!provinceId) return Reply::badRequest("province id");
  auto& db = context_.db;
  auto guard = db.lock();
  json::array list;
  auto stmt =
      db.prepare("SELECT id, name FROM city WHERE province_id = ? ORDER BY hot = 0, hot, id");
  stmt.bind(1, *provinceId);
  while (stmt.step())
    list.push_back(node(stmt.integer(0), stmt.text(1)));
  json::object root;
  root["list"] = std::move(list);
  return Reply::json(root);
}

Reply DirectoryHandlers::areaTree(ServiceRequest& request) {
  const auto cityId = RequestChecks::pathId(request.param(0));
  if (!cityId) return Reply::badRequest("city id");
  auto& db = context_.db;
  auto guard = db.lock();
  json::array districts;
  auto stmt = db.prepare("SELECT id, name FROM district WHERE city_id = ? ORDER BY id");
  stmt.bind(1, *cityId);
  while (stmt.step()) {
    json::object district = node(stmt.integer(0), stmt.text(1));
    json::array circles;
    auto inner = db.prepare("SELECT id, name FROM circle WHERE district_id = ? ORDER BY id");
    inner.bind(1, stmt.integer(0));
    while (inner.step())
      circles.push_back(node(inner.integer(0), inner.text(1)));
    district["list"] = std::move(circles);
    districts.push_back(std::move(district));
  }
  json::object root;
  // A city without districts answers with a null list.
  if (districts.empty()) {
    root["list"] = nullptr;
  } else {
    root["list"] = std::move(districts);
  }
  return Reply::json(root);
}

Reply DirectoryHandlers::categoryTree(ServiceRequest& request) {
  if (!RequestChecks::pathId(request.param(0))) return Reply::badRequest("city id");
  auto& db = context_.db;
  auto guard = db.lock();
  json::array list;
  auto stmt = db.prepare("SELECT id, name FROM category WHERE parent_id IS NULL ORDER BY ord");
  while (stmt.step()) {
    json::object category = node(stmt.integer(0), stmt.text(1));
    json::array subs;
    auto inner = db.prepare("SELECT id, name FROM category WHERE parent_id = ? ORDER BY ord");
    inner.bind(1, stmt.integer(0));
    while (inner.step())
      subs.push_back(node(inner.integer(0), inner.text(1)));
    category["list"] = std::move(subs);
    list.push_back(std::move(category));
  }
  json::object root;
  root["list"] = std::move(list);
  return Reply::json(root);
}

Reply DirectoryHandlers::cityIndex(ServiceRequest& request) {
  const auto cityId = RequestChecks::pathId(request.param(0));
  if (!cityId) return Reply::badRequest("city id");
  auto& db = context_.db;
  auto guard = db.lock();
  json::array areas;
  auto areaStmt = db.prepare("SELECT name FROM district WHERE city_id = ? AND hot = 1 ORDER BY id");
  areaStmt.bind(1, *cityId);
  while (areaStmt.step())
    areas.emplace_back(areaStmt.text(0));
  json::array hotCategories;
  json::array allCategories;
  auto catStmt = db.prepare("SELECT name, hot FROM category WHERE parent_id IS NULL ORDER BY ord");
  while (catStmt.step()) {
    if (catStmt.integer(1)) hotCategories.emplace_back(catStmt.text(0));
    allCategories.emplace_back(catStmt.text(0));
  }
  json::object root;
  root["area"] = std::move(areas);
  root["cat"] = std::move(hotCategories);
  root["all_cat"] = std::move(allCategories);
  return Reply::json(root);
}

Reply DirectoryHandlers::search(ServiceRequest& request) {
  if (request.param(0) != "0") return Reply::notFound();
  const FormFields& q = request.query;
  ShopCatalog::Query query;
  const auto city = q.integer("ci", -1);
  if (!city || *city < 0 || *city > 2147483647) return Reply::badRequest("ci");
  query.cityId = static_cast<int>(*city);
  const auto page = RequestChecks::paging(q, 15, 100);
  if (!page) return Reply::badRequest("p, n");
  query.page = page->page;
  query.pageSize = page->size;

  auto idFilter = [&](const char* name, int& target) {
    const auto v = q.integer(name, 0);
    if (!v || *v < 0 || *v > 2147483647) return false;
    target = static_cast<int>(*v);
    return true;
  };
  if (!idFilter("rc", query.districtId) || !idFilter("zi", query.circleId) ||
      !idFilter("sc", query.categoryId) || !idFilter("c", query.subId)) {
    return Reply::badRequest("filter ids");
  }
  query.districtName = q.text("rn");
  query.circleName = q.text("z");
  query.categoryName = q.text("chn");
  query.subName = q.text("cn");
  query.place = q.text("r");
  if (!RequestChecks::isValidUtf8(q.text("k")) || !RequestChecks::isValidUtf8(query.place)) {
    return Reply::badRequest("text parameters must be UTF-8");
  }
  std::istringstream words(ShopCatalog::asciiLower(q.text("k")));
  for (std::string word; words >> word;)
    query.terms.push_back(word);
  const auto ex = q.integer("ex", 0);
  if (!ex) return Reply::badRequest("ex");
  query.couponOnly = *ex == 1;
  const auto sort = q.integer("sort", 1);
  if (!sort) return Reply::badRequest("sort");
  query.sort = (*sort >= 1 && *sort <= 4) ? static_cast<int>(*sort) : 1;
  const auto sortm = q.integer("sortm", 0);
  if (!sortm) return Reply::badRequest("sortm");
  query.descending = *sortm == 1;
  if (q.has("x") || q.has("y")) {
    const auto x = q.number("x");
    const auto y = q.number("y");
    if (!x || !y || std::abs(*x) > 180 || std::abs(*y) > 90) return Reply::badRequest("x, y");
    query.x = x;
    query.y = y;
  }
  if (q.has("sd")) {
    const auto sd = q.number("sd");
    if (!sd || *sd < 0 || *sd > 1000) return Reply::badRequest("sd");
    query.radiusKm = *sd;
  }

  const ShopCatalog::Result result = context_.catalog.search(query);
  json::array list;
  for (const auto& hit : result.page) {
    const auto& shop = *hit.shop;
    json::object item;
    item["shop_id"] = std::to_string(shop.id);
    item["shop_name"] = ShopCatalog::highlight(shop.name, query.terms, true);
    item["total_score"] = shop.score;
    item["address"] = ShopCatalog::highlight(shop.address, query.terms, false);
    item["distance"] = round1(hit.distance);
    if (shop.tags) {
      item["taglist"] = *shop.tags;
    } else {
      item["taglist"] = nullptr;
    }
    item["cmt_num"] = shop.cmtCount;
    item["average_pay"] = shop.average;
    json::array coupons;
    for (const auto& coupon : shop.coupons) {
      json::object c;
      c["id"] = std::to_string(coupon.id);
      c["title"] = coupon.title;
      c["type"] = coupon.kind;
      c["interest_num"] = coupon.interests;
      coupons.push_back(std::move(c));
    }
    item["cheap_off"] = std::move(coupons);
    item["area_name"] = shop.districtName;
    item["channel_name"] = shop.subName;
    list.push_back(std::move(item));
  }
  json::array areas;
  for (const auto& facet : result.areas) {
    json::object o;
    o["area_id"] = facet.id;
    o["area_name"] = facet.name;
    o["num"] = facet.count;
    areas.push_back(std::move(o));
  }
  json::array channels;
  for (const auto& facet : result.categories) {
    json::object o;
    o["channel_id"] = facet.id;
    o["channel_name"] = facet.name;
    o["num"] = facet.count;
    channels.push_back(std::move(o));
  }
  json::object root;
  root["total"] = result.total;
  root["searchlist"] = std::move(list);
  root["geoarealist"] = std::move(areas);
  root["channellist"] = std::move(channels);
  return Reply::json(root);
}

}  // namespace lk::service

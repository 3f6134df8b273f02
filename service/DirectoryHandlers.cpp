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

// Every remaining row of `stmt` (id, name) as a node.
json::array nodes(Statement& stmt) {
  json::array list;
  while (stmt.step())
    list.push_back(node(stmt.integer(0), stmt.text(1)));
  return list;
}

// Every row of `outer` (id, name) as a node whose "list" holds the nodes `innerSql` selects for
// that id.
json::array nestedNodes(Database& db, Statement& outer, std::string_view innerSql) {
  json::array list;
  while (outer.step()) {
    json::object parent = node(outer.integer(0), outer.text(1));
    auto inner = db.prepare(innerSql);
    inner.bind(1, outer.integer(0));
    parent["list"] = nodes(inner);
    list.push_back(std::move(parent));
  }
  return list;
}

// The counted facets of a search, each under the answer's own id and name keys.
json::array facetList(const std::vector<ShopCatalog::Facet>& facets, const char* idKey,
                      const char* nameKey) {
  json::array list;
  for (const auto& facet : facets) {
    json::object o;
    o[idKey] = facet.id;
    o[nameKey] = facet.name;
    o["num"] = facet.count;
    list.push_back(std::move(o));
  }
  return list;
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
  auto hotStmt = db.prepare("SELECT id, name FROM city WHERE hot > 0 ORDER BY hot");
  auto listStmt = db.prepare("SELECT id, name FROM province ORDER BY ord");
  json::object root;
  root["hot"] = nodes(hotStmt);
  root["list"] = nodes(listStmt);
  return Reply::json(root);
}

Reply DirectoryHandlers::cities(ServiceRequest& request) {
  const auto provinceId = RequestChecks::pathId(request.param(0));
  if (!provinceId) return Reply::badRequest("province id");
  auto& db = context_.db;
  auto guard = db.lock();
  auto stmt =
      db.prepare("SELECT id, name FROM city WHERE province_id = ? ORDER BY hot = 0, hot, id");
  stmt.bind(1, *provinceId);
  json::object root;
  root["list"] = nodes(stmt);
  return Reply::json(root);
}

Reply DirectoryHandlers::areaTree(ServiceRequest& request) {
  const auto cityId = RequestChecks::pathId(request.param(0));
  if (!cityId) return Reply::badRequest("city id");
  auto& db = context_.db;
  auto guard = db.lock();
  auto stmt = db.prepare("SELECT id, name FROM district WHERE city_id = ? ORDER BY id");
  stmt.bind(1, *cityId);
  json::array districts =
      nestedNodes(db, stmt, "SELECT id, name FROM circle WHERE district_id = ? ORDER BY id");
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
  auto stmt = db.prepare("SELECT id, name FROM category WHERE parent_id IS NULL ORDER BY ord");
  json::object root;
  root["list"] =
      nestedNodes(db, stmt, "SELECT id, name FROM category WHERE parent_id = ? ORDER BY ord");
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
  json::object root;
  root["total"] = result.total;
  root["searchlist"] = std::move(list);
  root["geoarealist"] = facetList(result.areas, "area_id", "area_name");
  root["channellist"] = facetList(result.categories, "channel_id", "channel_name");
  return Reply::json(root);
}

}  // namespace lk::service

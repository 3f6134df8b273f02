#include "service/ShopHandlers.h"

#include <boost/json.hpp>

#include "service/Entries.h"
#include "service/RequestChecks.h"

namespace lk::service {

namespace json = boost::json;

namespace {

json::value parseStored(const std::string& text) {
  boost::system::error_code ec;
  json::value value = json::parse(text, ec);
  return ec ? json::value(nullptr) : value;
}

}  // namespace

void ShopHandlers::addRoutes(Router& router) {
  router.add("GET", "/client/shop/*/info", [this](auto& r) { return info(r); });
  router.add("GET", "/client/shop/*/addition", [this](auto& r) { return addition(r); });
  router.add("GET", "/client/shop/*/album", [this](auto& r) { return album(r); });
  router.add("GET", "/client/shop/*/cmt", [this](auto& r) { return reviews(r); });
}

std::optional<int> ShopHandlers::existingShop(const ServiceRequest& request) {
  const auto id = RequestChecks::pathId(request.param(0));
  if (!id || context_.catalog.find(*id) == nullptr) return std::nullopt;
  return id;
}

Reply ShopHandlers::info(ServiceRequest& request) {
  const auto shopId = existingShop(request);
  if (!shopId) return Reply::notFound();
  auto& db = context_.db;
  auto guard = db.lock();
  auto stmt = db.prepare(
      "SELECT s.status, s.name, s.city_id, s.address, s.landmark, s.x, s.y, s.hours, s.bus, "
      "s.price_info, s.average, s.score, s.meta, s.tels, s.scores, s.picture_id, p.mime, "
      "s.recommend_name, s.recommends, s.specials, s.cmt_count, s.minicmt_count, "
      "(SELECT COUNT(*) FROM album a WHERE a.shop_id = s.id) "
      "FROM shop s LEFT JOIN picture p ON p.id = s.picture_id WHERE s.id = ?");
  stmt.bind(1, *shopId);
  if (!stmt.step()) return Reply::notFound();
  json::object root;
  root["intStauts"] = stmt.integer(0);
  root["intShopId"] = std::to_string(*shopId);
  root["strName"] = stmt.text(1);
  root["intCityId"] = stmt.integer(2);
  root["strAddress"] = stmt.text(3);
  root["strLandmark"] = stmt.text(4);
  root["fltPositionX"] = stmt.real(5);
  root["fltPositionY"] = stmt.real(6);
  root["strHours"] = stmt.text(7);
  root["strBusInfo"] = stmt.text(8);
  root["strPriceInfo"] = stmt.text(9);
  root["fltAverage"] = stmt.real(10);
  root["fltScoreTotal"] = stmt.real(11);
  root["arrMeta"] = parseStored(stmt.text(12));
  root["arrTel"] = parseStored(stmt.text(13));
  root["arrScore"] = parseStored(stmt.text(14));
  root["strShopImgUrl"] =
      stmt.isNull(15)
          ? ""
          : request.baseUrl + Entries::picturePath(false, stmt.integer(15), stmt.text(16));
  root["strRecommendName"] = stmt.text(17);
  root["arrRecommend"] = parseStored(stmt.text(18));
  root["arrSpecialList"] = parseStored(stmt.text(19));
  root["intCmtCount"] = stmt.integer(20);
  root["intMiniCmtCount"] = stmt.integer(21);
  root["intPicCount"] = stmt.integer(22);
  root["base"] = request.baseUrl;
  root["arrCmtList"] = Entries::reviews(db, *shopId, 0, 1, false);
  root["arrMiniCmtList"] = Entries::broadcasts(db, Entries::BroadcastSource::Shop, *shopId, 0, 1);

  bool want = false;
  bool been = false;
  if (const auto user = context_.sessions.lookup(request.query.text("ssid"))) {
    for (const char* table : {"want", "been"}) {
      auto mark =
          db.prepare(std::string("SELECT 1 FROM ") + table + " WHERE user_id = ? AND shop_id = ?");
      mark.bind(1, user->userId).bind(2, *shopId);
      (std::string(table) == "want" ? want : been) = mark.step();
    }
  }
  root["want"] = want;
  root["been"] = been;
  json::array coupons;
  auto couponStmt = db.prepare(
      "SELECT c.id, c.topic, c.kind FROM coupon c JOIN coupon_shop cs ON cs.coupon_id = c.id "
      "WHERE cs.shop_id = ? ORDER BY c.created DESC, c.id");
  couponStmt.bind(1, *shopId);
  while (couponStmt.step()) {
    json::object coupon;
    coupon["strId"] = std::to_string(couponStmt.int64(0));
    coupon["strTopic"] = couponStmt.text(1);
    coupon["strType"] = couponStmt.text(2);
    coupons.push_back(std::move(coupon));
  }
  root["arrCouponList"] = std::move(coupons);
  return Reply::json(root);
}

Reply ShopHandlers::addition(ServiceRequest& request) {
  const auto shopId = existingShop(request);
  if (!shopId) return Reply::notFound();
  if (!RequestChecks::paging(request.query, 500, 500)) return Reply::badRequest("p, n");
  auto& db = context_.db;
  auto guard = db.lock();
  auto stmt = db.prepare("SELECT addition FROM shop WHERE id = ?");
  stmt.bind(1, *shopId);
  if (!stmt.step()) return Reply::notFound();
  return Reply::json(parseStored(stmt.text(0)));
}

Reply ShopHandlers::album(ServiceRequest& request) {
  const auto shopId = existingShop(request);
  if (!shopId) return Reply::notFound();
  const auto page = RequestChecks::paging(request.query, 500, 500);
  if (!page) return Reply::badRequest("p, n");
  auto& db = context_.db;
  auto guard = db.lock();
  json::array list;
  auto stmt = db.prepare(
      "SELECT a.picture_id, p.mime FROM album a JOIN picture p ON p.id = a.picture_id "
      "WHERE a.shop_id = ? ORDER BY a.ord LIMIT ? OFFSET ?");
  stmt.bind(1, *shopId).bind(2, page->size).bind(3, page->page * page->size);
  while (stmt.step()) {
    json::object entry;
    entry["strSrc"] = Entries::picturePath(true, stmt.integer(0), stmt.text(1));
    list.push_back(std::move(entry));
  }
  auto count = db.prepare("SELECT COUNT(*) FROM album WHERE shop_id = ?");
  count.bind(1, *shopId);
  json::object root;
  root["intTotal"] = count.step() ? count.integer(0) : 0;
  root["base"] = request.baseUrl;
  root["arrList"] = std::move(list);
  return Reply::json(root);
}

Reply ShopHandlers::reviews(ServiceRequest& request) {
  const auto shopId = existingShop(request);
  if (!shopId) return Reply::notFound();
  const auto page = RequestChecks::paging(request.query, 15, 100);
  if (!page) return Reply::badRequest("p, n");
  auto& db = context_.db;
  auto guard = db.lock();
  auto count = db.prepare("SELECT COUNT(*) FROM review WHERE shop_id = ?");
  count.bind(1, *shopId);
  json::object root;
  root["total"] = count.step() ? count.integer(0) : 0;
  root["base"] = request.baseUrl;
  // A page of one review is the full-text request: the whole review, never shortened.
  root["cmtlist"] =
      Entries::reviews(db, *shopId, page->page * page->size, page->size, page->size == 1);
  return Reply::json(root);
}

}  // namespace lk::service

#include "service/CouponHandlers.h"

#include <boost/json.hpp>

#include <algorithm>

#include "service/RequestChecks.h"

namespace lk::service {

namespace json = boost::json;

namespace {

int kindNumber(const std::string& kind) {
  if (kind == "优惠券") return 1;
  if (kind == "折扣信息") return 2;
  if (kind == "活动") return 3;
  return 0;
}

}  // namespace

bool CouponHandlers::isMobileNumber(const std::string& text) {
  return text.size() == 11 && text[0] == '1' &&
         std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

void CouponHandlers::addRoutes(Router& router) {
  router.add("GET", "/client/coupon/*/showlist", [this](auto& r) { return list(r); });
  router.add("GET", "/client/coupon/*/info", [this](auto& r) { return detail(r); });
  router.add("POST", "/client/submit/*/sendCouponSms", [this](auto& r) { return sendSms(r); });
}

Reply CouponHandlers::list(ServiceRequest& request) {
  const auto cityId = RequestChecks::pathId(request.param(0));
  if (!cityId) return Reply::badRequest("city id");
  const std::string order = request.query.text("order", "hot");
  if (order != "hot" && order != "new") return Reply::badRequest("order must be hot or new");
  const auto page = RequestChecks::paging(request.query, 20, 100);
  if (!page) return Reply::badRequest("p, n");
  auto& db = context_.db;
  auto guard = db.lock();
  auto count = db.prepare("SELECT COUNT(*) FROM coupon WHERE city_id = ?");
  count.bind(1, *cityId);
  json::object root;
  root["total"] = count.step() ? count.integer(0) : 0;
  auto stmt = db.prepare(
      order == "hot" ? "SELECT id, topic, kind, downloads, interests FROM coupon WHERE "
                       "city_id = ? ORDER BY downloads + interests DESC, id LIMIT ? OFFSET ?"
                     : "SELECT id, topic, kind, downloads, interests FROM coupon WHERE "
                       "city_id = ? ORDER BY created DESC, id LIMIT ? OFFSET ?");
  stmt.bind(1, *cityId).bind(2, page->size).bind(3, page->page * page->size);
  json::array list;
  while (stmt.step()) {
    json::object entry;
    entry["strId"] = std::to_string(stmt.int64(0));
    entry["strTopic"] = stmt.text(1);
    entry["intGType"] = kindNumber(stmt.text(2));
    entry["strType"] = stmt.text(2);
    entry["intDownloadNumber"] = stmt.integer(3);
    entry["intInterestingNumber"] = stmt.integer(4);
    json::array shops;
    auto shopStmt = db.prepare(
        "SELECT s.id, s.name, s.score, s.tags, s.address FROM coupon_shop cs "
        "JOIN shop s ON s.id = cs.shop_id WHERE cs.coupon_id = ? ORDER BY cs.ord");
    shopStmt.bind(1, stmt.int64(0));
    while (shopStmt.step()) {
      json::object shop;
      shop["intShopId"] = std::to_string(shopStmt.int64(0));
      shop["strShopName"] = shopStmt.text(1);
      shop["intScoreTotal"] = shopStmt.real(2);
      if (shopStmt.isNull(3)) {
        shop["strTag"] = nullptr;
      } else {
        shop["strTag"] = shopStmt.text(3);
      }
      shop["strAddress"] = shopStmt.text(4);
      shops.push_back(std::move(shop));
    }
    entry["arrShopInUsing"] = std::move(shops);
    list.push_back(std::move(entry));
  }
  root["list"] = std::move(list);
  return Reply::json(root);
}

Reply CouponHandlers::detail(ServiceRequest& request) {
  const auto couponId = RequestChecks::pathId(request.param(0));
  if (!couponId) return Reply::notFound();
  if (!request.query.integer("gt", 0)) return Reply::badRequest("gt");
  auto& db = context_.db;
  auto guard = db.lock();
  auto stmt =
      db.prepare("SELECT topic, content, start_time, end_time, sms, kind FROM coupon WHERE id = ?");
  stmt.bind(1, *couponId);
  if (!stmt.step()) return Reply::notFound();
  json::object root;
  root["strId"] = std::to_string(*couponId);
  root["strTopic"] = stmt.text(0);
  root["strContent"] = stmt.text(1);
  root["intStart"] = stmt.int64(2);
  root["intEnd"] = stmt.int64(3);
  root["isSms"] = stmt.integer(4) != 0;
  root["intGType"] = kindNumber(stmt.text(5));
  root["strType"] = stmt.text(5);
  json::array shops;
  auto shopStmt = db.prepare(
      "SELECT s.id, s.name, s.address FROM coupon_shop cs JOIN shop s ON s.id = cs.shop_id "
      "WHERE cs.coupon_id = ? ORDER BY cs.ord");
  shopStmt.bind(1, *couponId);
  while (shopStmt.step()) {
    json::object shop;
    shop["intShopId"] = std::to_string(shopStmt.int64(0));
    shop["strShopName"] = shopStmt.text(1);
    shop["strAddress"] = shopStmt.text(2);
    shops.push_back(std::move(shop));
  }
  root["arrShopInUsing"] = std::move(shops);
  return Reply::json(root);
}

Reply CouponHandlers::sendSms(ServiceRequest& request) {
  const auto couponId = RequestChecks::pathId(request.param(0));
  if (!couponId) return Reply::notFound();
  const std::string phone = request.form.text("phone");
  if (!isMobileNumber(phone)) return Reply::error(400, 1101, "手机号码格式不正确");
  auto& db = context_.db;
  Transaction tx(db);
  auto stmt = db.prepare("SELECT sms FROM coupon WHERE id = ?");
  stmt.bind(1, *couponId);
  if (!stmt.step()) return Reply::notFound();
  if (stmt.integer(0) == 0) return Reply::error(200, 1102, "该优惠不支持短信下载");
  db.prepare("INSERT INTO sms_send (coupon_id, phone, device_id, created) VALUES (?, ?, ?, ?)")
      .bind(1, *couponId)
      .bind(2, phone)
      .bind(3, request.form.text("xda_did"))
      .bind(4, ServiceContext::now())
      .run();
  db.prepare("UPDATE coupon SET downloads = downloads + 1 WHERE id = ?").bind(1, *couponId).run();
  tx.commit();
  return Reply::error(200, 0, "短信已发送");
}

}  // namespace lk::service

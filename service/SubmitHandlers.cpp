#include "service/SubmitHandlers.h"

#include <boost/json.hpp>

#include <cmath>

#include "service/RequestChecks.h"

namespace lk::service {

namespace json = boost::json;

namespace {

std::string trim(const std::string& text) {
  const auto first = text.find_first_not_of(" \t\r\n");
  if (first == std::string::npos) return {};
  const auto last = text.find_last_not_of(" \t\r\n");
  return text.substr(first, last - first + 1);
}

bool sane(const std::string& text, std::size_t maxUnits) {
  return RequestChecks::isValidUtf8(text) && RequestChecks::utf16Length(text) <= maxUnits;
}

Reply accepted(std::int64_t id, const char* message) {
  json::object root;
  root["errNo"] = 0;
  root["result"] = message;
  root["id"] = std::to_string(id);
  return Reply::json(root);
}

}  // namespace

void SubmitHandlers::addRoutes(Router& router) {
  router.add("POST", "/client/submit/0/addShop", [this](auto& r) { return addShop(r); });
  router.add("POST", "/client/submit/0/reportInfo", [this](auto& r) { return feedback(r); });
  router.add("POST", "/client/submit/0/reportError", [this](auto& r) { return errorReport(r); });
}

Reply SubmitHandlers::addShop(ServiceRequest& request) {
  const FormFields& form = request.form;
  const auto user = context_.sessions.lookup(form.text("ssid"));
  if (!user) return Reply::error(200, 1001, "请先登录");
  const std::string name = trim(form.text("name"));
  if (name.empty() || !sane(name, 100)) return Reply::error(400, 1201, "请填写商户名");
  const auto cityId = form.integer("city_id", -1);
  const std::string area = trim(form.text("area"));
  const std::string address = form.text("address");
  const auto categoryId = form.integer("cat_id", 0);
  if (!categoryId || *categoryId < -1 || *categoryId > 2147483647)
    return Reply::badRequest("cat_id");
  if (!sane(area, 50) || area.empty()) return Reply::error(400, 1203, "请选择区");
  if (!sane(address, 200) || !sane(form.text("strTel1"), 40)) return Reply::badRequest("address");
  std::optional<double> x;
  std::optional<double> y;
  if (form.has("x") || form.has("y")) {
    x = form.number("x");
    y = form.number("y");
    if (!x || !y || std::abs(*x) > 180 || std::abs(*y) > 90) return Reply::badRequest("x, y");
  }
  auto& db = context_.db;
  Transaction tx(db);
  {
    auto city = db.prepare("SELECT 1 FROM city WHERE id = ?");
    city.bind(1, cityId.value_or(-1));
    if (!cityId || !city.step()) return Reply::error(400, 1202, "请选择市");
  }
  auto insert = db.prepare(
      "INSERT INTO shop_proposal (username, name, city_id, area, address, cat_id, x, y, tel, "
      "created) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
  insert.bind(1, user->username)
      .bind(2, name)
      .bind(3, static_cast<std::int64_t>(*cityId))
      .bind(4, area)
      .bind(5, address)
      .bind(6, static_cast<std::int64_t>(*categoryId));
  if (x) {
    insert.bind(7, *x).bind(8, *y);
  } else {
    insert.bindNull(7).bindNull(8);
  }
  if (form.has("strTel1")) {
    insert.bind(9, form.text("strTel1"));
  } else {
    insert.bindNull(9);
  }
  insert.bind(10, ServiceContext::now());
  insert.run();
  const auto id = db.lastInsertId();
  tx.commit();
  return accepted(id, "提交成功，等待审核");
}

Reply SubmitHandlers::feedback(ServiceRequest& request) {
  const FormFields& form = request.form;
  const auto mode = form.integer("mode", 3);
  if (!mode) return Reply::badRequest("mode");
  return storeReport(form, "feedback", *mode, std::nullopt);
}

Reply SubmitHandlers::errorReport(ServiceRequest& request) {
  const FormFields& form = request.form;
  const auto shopId = RequestChecks::pathId(form.text("shop_id"));
  if (!shopId || context_.catalog.find(*shopId) == nullptr) {
    return Reply::error(400, 1302, "商户不存在");
  }
  return storeReport(form, "error", std::nullopt, *shopId);
}

Reply SubmitHandlers::storeReport(const FormFields& form, const char* kind,
                                  std::optional<std::int64_t> mode, std::optional<int> shopId) {
  const std::string content = trim(form.text("content"));
  const std::string email = trim(form.text("email"));
  if (content.empty() || !sane(content, 2000)) return Reply::error(400, 1301, "请填写内容");
  if (!sane(email, 200)) return Reply::badRequest("email");
  auto& db = context_.db;
  Transaction tx(db);
  auto insert = db.prepare(
      "INSERT INTO report (kind, mode, shop_id, content, email, device_id, created) "
      "VALUES (?, ?, ?, ?, ?, ?, ?)");
  insert.bind(1, kind);
  if (mode) {
    insert.bind(2, *mode);
  } else {
    insert.bindNull(2);
  }
  if (shopId) {
    insert.bind(3, *shopId);
  } else {
    insert.bindNull(3);
  }
  insert.bind(4, content)
      .bind(5, email)
      .bind(6, form.text("xda_did"))
      .bind(7, ServiceContext::now())
      .run();
  const auto id = db.lastInsertId();
  tx.commit();
  return accepted(id, "提交成功");
}

}  // namespace lk::service

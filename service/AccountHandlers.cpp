#include "service/AccountHandlers.h"

#include <boost/json.hpp>

#include <cmath>
#include <cstdio>
#include <ctime>
#include <limits>

#include "service/Entries.h"
#include "service/PictureMaker.h"
#include "service/RequestChecks.h"
#include "service/ShopCatalog.h"

namespace lk::service {

namespace json = boost::json;

namespace {

const char* reasonText(int reason) {
  switch (reason) {
    case 1:
      return "用户名格式错误";
    case 2:
      return "用户名不存在";
    case 4:
      return "密码不正确";
    case 5:
      return "今日登陆次数过多";
    case 6:
      return "验证码不匹配";
    case 7:
      return "登录时发生未知错误";
    case 16:
      return "对不起，您现在无法登录，请稍候再试";
    case 20:
      return "此账号已登录人数过多";
    case 204:
      return "请输入验证码";
    default:
      return "未知错误";
  }
}

std::string xmlEscape(const std::string& text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '&':
        out += "&amp;";
        break;
      case '"':
        out += "&quot;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

bool validUsername(const std::string& name) {
  if (name.empty() || name.size() > 64 || !RequestChecks::isValidUtf8(name)) return false;
  for (unsigned char c : name) {
    if (c <= 0x20 || c == 0x7F || c == '<' || c == '>' || c == '&' || c == '"' || c == '\'') {
      return false;
    }
  }
  return true;
}

std::string trim(const std::string& text) {
  const auto first = text.find_first_not_of(" \t\r\n");
  if (first == std::string::npos) return {};
  const auto last = text.find_last_not_of(" \t\r\n");
  return text.substr(first, last - first + 1);
}

std::string today() {
  const std::time_t now = std::time(nullptr);
  std::tm utc{};
  gmtime_r(&now, &utc);
  char buffer[16];
  std::strftime(buffer, sizeof buffer, "%Y-%m-%d", &utc);
  return buffer;
}

}  // namespace

void AccountHandlers::addRoutes(Router& router) {
  router.add("POST", "/passport/", [this](auto& r) { return login(r); });
  router.add("POST", "/passport", [this](auto& r) { return login(r); });
  router.add("GET", "/cgi-bin/genimage", [this](auto& r) { return verifyCodeImage(r); });
  router.add("GET", "/client/user/0/info", [this](auto& r) { return info(r); });
  router.add("POST", "/client/user/0/active", [this](auto& r) { return activate(r); });
  router.add("GET", "/client/user/0/utrail", [this](auto& r) { return profile(r); });
  router.add("GET", "/client/user/0/want", [this](auto& r) { return shopList(r, "want"); });
  router.add("GET", "/client/user/0/been", [this](auto& r) { return shopList(r, "been"); });
  router.add("GET", "/client/user/0/pos", [this](auto& r) { return position(r); });
}

std::string AccountHandlers::successXml(const std::string& ssid) {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<login_succ><param name=\"ssid\" value=\"" +
         xmlEscape(ssid) + "\"/></login_succ>\n";
}

std::string AccountHandlers::failXml(int reason) {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<login_fail><reason id=\"" +
         std::to_string(reason) + "\">" + reasonText(reason) + "</reason></login_fail>\n";
}

Reply AccountHandlers::challenge(const std::string& username) {
  const std::string token = SessionStore::randomHex(16);
  const std::string stoken = SessionStore::randomHex(8);
  const std::int64_t now = ServiceContext::now();
  const std::string time = std::to_string(now);
  std::string code = context_.verifyCode;
  if (code.empty()) {
    const std::string hex = SessionStore::randomHex(8);
    for (char c : hex)
      code.push_back(static_cast<char>('0' + (c % 10)));
    code.resize(4);
  }
  // Failed logins must not grow the table: expired challenges go, and an account keeps only its
  // newest few.
  Transaction tx(context_.db);
  context_.db.prepare("DELETE FROM challenge WHERE created < ?")
      .bind(1, now - kChallengeLifetimeSeconds)
      .run();
  context_.db
      .prepare(
          "DELETE FROM challenge WHERE username = ? AND token NOT IN (SELECT token FROM challenge "
          "WHERE username = ? ORDER BY created DESC, rowid DESC LIMIT ?)")
      .bind(1, username)
      .bind(2, username)
      .bind(3, static_cast<std::int64_t>(kMaxLiveChallenges - 1))
      .run();
  context_.db
      .prepare(
          "INSERT INTO challenge (token, code, stoken, time, username, created) "
          "VALUES (?, ?, ?, ?, ?, ?)")
      .bind(1, token)
      .bind(2, code)
      .bind(3, stoken)
      .bind(4, time)
      .bind(5, username)
      .bind(6, now)
      .run();
  tx.commit();
  return Reply::xml("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<login_fail><reason id=\"204\">" +
                    std::string(reasonText(204)) + "</reason><qzVcodeString>" + token +
                    "</qzVcodeString><qzQzstoken>" + stoken + "</qzQzstoken><qzTime>" + time +
                    "</qzTime></login_fail>\n");
}

Reply AccountHandlers::login(ServiceRequest& request) {
  // "/passport/?login&" is the operator's login, "/passport/?login=vc" the one with a code.
  if (!request.query.has("login")) return Reply::notFound();
  const bool withCode = request.query.text("login") == "vc";
  const FormFields& form = request.form;
  const std::string username = form.text("login_username");
  if (!validUsername(username)) return Reply::xml(failXml(1));
  auto& db = context_.db;
  std::string password;
  int refusal = 0;
  bool needsCode = false;
  {
    auto guard = db.lock();
    auto stmt = db.prepare("SELECT password, refusal, needs_code FROM account WHERE username = ?");
    stmt.bind(1, username);
    if (!stmt.step()) return Reply::xml(failXml(2));
    password = stmt.text(0);
    refusal = stmt.integer(1);
    needsCode = stmt.integer(2) != 0;
  }
  if (refusal != 0) return Reply::xml(failXml(refusal));
  if (needsCode) {
    const std::string code = form.text("login_verifycode");
    if (!withCode || code.empty()) return challenge(username);
    std::optional<std::string> expected;
    {
      auto guard = db.lock();
      auto stmt = db.prepare(
          "SELECT code FROM challenge WHERE token = ? AND stoken = ? AND time = ? AND used = 0 "
          "AND username = ? AND created >= ?");
      stmt.bind(1, form.text("login_qzverify"))
          .bind(2, form.text("login_qzstoken"))
          .bind(3, form.text("login_qztime"))
          .bind(4, username)
          .bind(5, ServiceContext::now() - kChallengeLifetimeSeconds);
      if (stmt.step()) expected = stmt.text(0);
    }
    // A spent or unknown context: hand out a fresh code.
    if (!expected) return challenge(username);
    if (ShopCatalog::asciiLower(*expected) != ShopCatalog::asciiLower(code)) {
      return Reply::xml(failXml(6));
    }
    if (form.text("login_loginpass") != password) return Reply::xml(failXml(4));
    Transaction tx(db);
    db.prepare("UPDATE challenge SET used = 1 WHERE token = ?")
        .bind(1, form.text("login_qzverify"))
        .run();
    tx.commit();
  } else if (form.text("login_loginpass") != password) {
    return Reply::xml(failXml(4));
  }
  return Reply::xml(successXml(context_.sessions.create(username)));
}

Reply AccountHandlers::verifyCodeImage(ServiceRequest& request) {
  // The query is the verification string itself, possibly followed by "&tn=gz".
  const std::string token =
      FormFields::percentDecode(request.rawQuery.substr(0, request.rawQuery.find('&')));
  auto& db = context_.db;
  auto guard = db.lock();
  auto stmt = db.prepare("SELECT code FROM challenge WHERE token = ? AND created >= ?");
  stmt.bind(1, token).bind(2, ServiceContext::now() - kChallengeLifetimeSeconds);
  if (!stmt.step()) return Reply::notFound();
  std::uint32_t seed = 2166136261u;
  for (char c : token)
    seed = (seed ^ static_cast<unsigned char>(c)) * 16777619u;
  return Reply::image("image/png", PictureMaker::verifyCodePng(stmt.text(0), seed));
}

Reply AccountHandlers::info(ServiceRequest& request) {
  // With "ssid" this is the account state; without, the daily-user statistics.
  if (!request.query.has("ssid")) return dailyUser(request);
  const auto user = context_.sessions.lookup(request.query.text("ssid"));
  if (!user) return Reply::error(403, 403, "登录已失效");
  json::object root;
  root["login"] = user->nickname;
  root["uid"] = std::to_string(user->userId);
  return Reply::json(root);
}

Reply AccountHandlers::dailyUser(ServiceRequest& request) {
  std::string device = request.query.text("xda_did");
  if (device.empty()) device = "unknown";
  if (device.size() > 128) return Reply::badRequest("xda_did");
  auto& db = context_.db;
  Transaction tx(db);
  const std::string day = today();
  db.prepare(
        "INSERT INTO daily_user (day, device_id, os, count) VALUES (?, ?, ?, 1) "
        "ON CONFLICT (day, device_id) DO UPDATE SET count = count + 1, os = excluded.os")
      .bind(1, day)
      .bind(2, device)
      .bind(3, request.query.text("xda_os"))
      .run();
  auto count = db.prepare("SELECT count FROM daily_user WHERE day = ? AND device_id = ?");
  count.bind(1, day).bind(2, device);
  const int visits = count.step() ? count.integer(0) : 0;
  auto users = db.prepare("SELECT COUNT(*) FROM daily_user WHERE day = ?");
  users.bind(1, day);
  const int devices = users.step() ? users.integer(0) : 0;
  tx.commit();
  json::object root;
  root["errNo"] = 0;
  root["count"] = visits;
  root["users"] = devices;
  return Reply::json(root);
}

Reply AccountHandlers::activate(ServiceRequest& request) {
  const auto user = context_.sessions.lookup(request.form.text("ssid"));
  if (!user) return Reply::error(200, 3, "登录已失效，请重新登录");
  const std::string nickname = trim(request.form.text("nickName"));
  if (!user->nickname.empty()) return Reply::error(200, 0, "帐号已激活");
  if (nickname.empty()) return Reply::error(200, 1, "昵称不能为空");
  if (!RequestChecks::isValidUtf8(nickname) || RequestChecks::utf16Length(nickname) > 20) {
    return Reply::error(200, 1, "昵称不能超过20个字");
  }
  auto& db = context_.db;
  Transaction tx(db);
  auto taken = db.prepare(
      "SELECT 1 FROM user WHERE name = ? UNION SELECT 1 FROM account WHERE nickname = ?");
  taken.bind(1, nickname).bind(2, nickname);
  if (taken.step()) return Reply::error(200, 2, "该昵称已被使用");
  db.prepare("UPDATE account SET nickname = ? WHERE username = ?")
      .bind(1, nickname)
      .bind(2, user->username)
      .run();
  db.prepare("UPDATE user SET name = ? WHERE id = ?").bind(1, nickname).bind(2, user->userId).run();
  tx.commit();
  return Reply::error(200, 0, "激活成功");
}

Reply AccountHandlers::profile(ServiceRequest& request) {
  const auto user = context_.sessions.lookup(request.query.text("ssid"));
  if (!user) return Reply::error(403, 403, "登录已失效");
  auto& db = context_.db;
  auto guard = db.lock();
  auto stmt = db.prepare(
      "SELECT u.name, u.grade, u.picture_id, p.mime, "
      "(SELECT COUNT(*) FROM broadcast b WHERE b.user_id = u.id), "
      "(SELECT COUNT(*) FROM want w WHERE w.user_id = u.id), "
      "(SELECT COUNT(*) FROM been e WHERE e.user_id = u.id) "
      "FROM user u LEFT JOIN picture p ON p.id = u.picture_id WHERE u.id = ?");
  stmt.bind(1, user->userId);
  if (!stmt.step()) return Reply::error(403, 403, "登录已失效");
  json::object info;
  info["uid"] = std::to_string(user->userId);
  info["name"] = stmt.text(0);
  info["pic"] = stmt.isNull(2)
                    ? ""
                    : request.baseUrl + Entries::picturePath(false, stmt.integer(2), stmt.text(3));
  info["grade"] = stmt.integer(1);
  info["minicmtcount"] = stmt.integer(4);
  json::object root;
  root["userinfo"] = std::move(info);
  root["want_to_num"] = stmt.integer(5);
  root["been_to_num"] = stmt.integer(6);
  return Reply::json(root);
}

Reply AccountHandlers::shopList(ServiceRequest& request, const char* table) {
  const auto page = RequestChecks::paging(request.query, 15, 100);
  if (!page) return Reply::badRequest("p, n");
  json::object root;
  const auto user = context_.sessions.lookup(request.query.text("ssid"));
  if (!user) {
    // What a logged-out session gets: nothing.
    root["total"] = 0;
    root["list"] = json::array();
    return Reply::json(root);
  }
  auto& db = context_.db;
  auto guard = db.lock();
  const std::string name(table);
  auto count = db.prepare("SELECT COUNT(*) FROM " + name + " WHERE user_id = ?");
  count.bind(1, user->userId);
  root["total"] = count.step() ? count.integer(0) : 0;
  // Entries whose shop has gone keep their id and answer null for the rest.
  auto stmt = db.prepare("SELECT l.shop_id, s.name, s.address, s.score FROM " + name +
                         " l LEFT JOIN shop s ON s.id = l.shop_id WHERE l.user_id = ? "
                         "ORDER BY l.created DESC, l.shop_id LIMIT ? OFFSET ?");
  stmt.bind(1, user->userId).bind(2, page->size).bind(3, page->page * page->size);
  json::array list;
  while (stmt.step()) {
    json::object entry;
    entry["shop_id"] = std::to_string(stmt.int64(0));
    entry["shop_name"] = stmt.isNull(1) ? json::value(nullptr) : json::value(stmt.text(1));
    entry["shop_addr"] = stmt.isNull(2) ? json::value(nullptr) : json::value(stmt.text(2));
    entry["shop_grade"] = stmt.isNull(3) ? json::value(nullptr) : json::value(stmt.real(3));
    list.push_back(std::move(entry));
  }
  root["list"] = std::move(list);
  return Reply::json(root);
}

Reply AccountHandlers::position(ServiceRequest& request) {
  const auto lon = request.query.number("longti");
  const auto lat = request.query.number("lati");
  if (!lon || !lat || std::abs(*lon) > 180 || std::abs(*lat) > 90) {
    return Reply::badRequest("longti, lati");
  }
  auto& db = context_.db;
  auto guard = db.lock();
  auto cities = db.prepare(
      "SELECT c.id, c.name, c.x, c.y, p.name FROM city c JOIN province p ON p.id = c.province_id");
  int cityId = 0;
  std::string cityName;
  std::string provinceName;
  double best = std::numeric_limits<double>::max();
  while (cities.step()) {
    const double d = ShopCatalog::distanceMetres(*lon, *lat, cities.real(2), cities.real(3));
    if (d < best) {
      best = d;
      cityId = cities.integer(0);
      cityName = cities.text(1);
      provinceName = cities.text(4);
    }
  }
  std::string district;
  std::string street;
  double bestDistrict = std::numeric_limits<double>::max();
  auto circles = db.prepare(
      "SELECT d.name, c.name, c.x, c.y FROM circle c JOIN district d ON d.id = c.district_id "
      "WHERE d.city_id = ?");
  circles.bind(1, cityId);
  while (circles.step()) {
    const double d = ShopCatalog::distanceMetres(*lon, *lat, circles.real(2), circles.real(3));
    if (d < bestDistrict) {
      bestDistrict = d;
      district = circles.text(0);
      street = circles.text(1);
    }
  }
  char x[32];
  char y[32];
  std::snprintf(x, sizeof x, "%f", *lon);
  std::snprintf(y, sizeof y, "%f", *lat);
  json::object point;
  point["x"] = x;
  point["y"] = y;
  json::object detail;
  detail["province"] = provinceName;
  detail["city"] = cityName;
  detail["city_code"] = cityId;
  detail["district"] = district;
  detail["street"] = street;
  json::object root;
  root["address"] =
      (provinceName == cityName + "市" ? provinceName : provinceName + cityName + "市") + district +
      (street.empty() ? "" : street + "附近");
  root["point"] = std::move(point);
  root["address_detail"] = std::move(detail);
  return Reply::json(root);
}

}  // namespace lk::service

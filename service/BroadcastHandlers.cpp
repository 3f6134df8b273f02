#include "service/BroadcastHandlers.h"

#include <boost/json.hpp>

#include "service/Base64.h"
#include "service/Entries.h"
#include "service/PictureMaker.h"
#include "service/PictureOutline.h"
#include "service/RequestChecks.h"

namespace lk::service {

namespace json = boost::json;

void BroadcastHandlers::addRoutes(Router& router) {
  router.add("GET", "/client/index/*/minicmt", [this](auto& r) { return cityList(r); });
  router.add("GET", "/client/shop/*/minicmt", [this](auto& r) { return shopList(r); });
  router.add("GET", "/client/user/*/minicmt", [this](auto& r) { return userList(r); });
  router.add("POST", "/client/submit/*/addMiniCmt", [this](auto& r) { return post(r); });
}

Reply BroadcastHandlers::cityList(ServiceRequest& request) {
  const auto cityId = RequestChecks::pathId(request.param(0));
  if (!cityId) return Reply::badRequest("city id");
  const auto page = RequestChecks::paging(request.query, 15, 100);
  if (!page) return Reply::badRequest("p, n");
  json::object root;
  root["total"] = Entries::broadcastCount(context_.db, Entries::BroadcastSource::City, *cityId);
  root["base"] = request.baseUrl;
  // The city list carries its entries under "list".
  root["list"] = Entries::broadcasts(context_.db, Entries::BroadcastSource::City, *cityId,
                                     page->page * page->size, page->size);
  return Reply::json(root);
}

Reply BroadcastHandlers::shopList(ServiceRequest& request) {
  const auto shopId = RequestChecks::pathId(request.param(0));
  if (!shopId || context_.catalog.find(*shopId) == nullptr) return Reply::notFound();
  const auto page = RequestChecks::paging(request.query, 15, 100);
  if (!page) return Reply::badRequest("p, n");
  json::object root;
  root["total"] = Entries::broadcastCount(context_.db, Entries::BroadcastSource::Shop, *shopId);
  root["base"] = request.baseUrl;
  root["cmtlist"] = Entries::broadcasts(context_.db, Entries::BroadcastSource::Shop, *shopId,
                                        page->page * page->size, page->size);
  return Reply::json(root);
}

Reply BroadcastHandlers::userList(ServiceRequest& request) {
  const auto userId = RequestChecks::pathId(request.param(0));
  if (!userId) return Reply::badRequest("user id");
  const auto page = RequestChecks::paging(request.query, 15, 100);
  if (!page) return Reply::badRequest("p, n");
  auto& db = context_.db;
  json::object root;
  root["base"] = request.baseUrl;
  int owner = *userId;
  if (*userId == 0) {
    // The logged-in user's own list; without a session it is empty.
    const auto user = context_.sessions.lookup(request.query.text("ssid"));
    if (!user) {
      root["total"] = 0;
      root["cmtlist"] = json::array();
      return Reply::json(root);
    }
    owner = user->userId;
    auto guard = db.lock();
    auto stmt = db.prepare(
        "SELECT u.name, u.picture_id, p.mime FROM user u LEFT JOIN picture p ON p.id = "
        "u.picture_id "
        "WHERE u.id = ?");
    stmt.bind(1, owner);
    if (stmt.step()) {
      json::object info;
      info["uid"] = std::to_string(owner);
      info["name"] = stmt.text(0);
      info["pic"] = stmt.isNull(1) ? ""
                                   : request.baseUrl +
                                         Entries::picturePath(false, stmt.integer(1), stmt.text(2));
      root["userinfo"] = std::move(info);
    }
  }
  root["total"] = Entries::broadcastCount(db, Entries::BroadcastSource::User, owner);
  root["cmtlist"] = Entries::broadcasts(db, Entries::BroadcastSource::User, owner,
                                        page->page * page->size, page->size);
  return Reply::json(root);
}

Reply BroadcastHandlers::post(ServiceRequest& request) {
  const auto shopId = RequestChecks::pathId(request.param(0));
  if (!shopId || context_.catalog.find(*shopId) == nullptr) return Reply::notFound();
  const FormFields& form = request.form;
  if (form.has("shop_id") && form.text("shop_id") != std::to_string(*shopId)) {
    return Reply::badRequest("shop_id does not match the path");
  }
  const auto user = context_.sessions.lookup(form.text("ssid"));
  if (!user) return Reply::error(200, 1001, "请先登录");
  if (user->nickname.empty()) return Reply::error(200, 1002, "帐号未激活");
  const std::string content = form.text("content");
  if (!RequestChecks::isValidUtf8(content)) return Reply::badRequest("content must be UTF-8");
  if (RequestChecks::utf16Length(content) > kMaxLength) {
    return Reply::error(400, 1003, "播报内容不能超过140字");
  }
  const auto terminal = form.integer("terminal_type", 3);
  if (!terminal) return Reply::badRequest("terminal_type");

  std::optional<std::string> photo;
  std::string thumbnail;
  std::string mime;
  if (const std::string img = form.text("img"); !img.empty()) {
    photo = Base64::decode(img);
    if (!photo) return Reply::error(400, 1004, "图片编码错误");
    if (PictureMaker::looksLikeJpeg(*photo)) {
      mime = "image/jpeg";
      const auto small = PictureMaker::jpegThumbnail(*photo);
      if (!small) return Reply::error(400, 1004, "图片无法识别");
      thumbnail = *small;
    } else if (PictureMaker::looksLikePng(*photo)) {
      const auto outline = PictureOutline::ofPng(*photo);
      if (!outline || !outline->withinLimits()) return Reply::error(400, 1004, "图片无法识别");
      mime = "image/png";
      thumbnail = *photo;
    } else {
      return Reply::error(400, 1004, "图片格式错误");
    }
  }
  if (content.empty() && !photo) return Reply::error(400, 1005, "播报内容不能为空");

  auto& db = context_.db;
  Transaction tx(db);
  std::optional<int> pictureId;
  if (photo) {
    db.prepare("INSERT INTO picture (mime, full, thumb) VALUES (?, ?, ?)")
        .bind(1, mime)
        .bindBlob(2, *photo)
        .bindBlob(3, thumbnail)
        .run();
    pictureId = static_cast<int>(db.lastInsertId());
  }
  auto insert = db.prepare(
      "INSERT INTO broadcast (shop_id, user_id, content, picture_id, terminal_type, device_id, "
      "created) VALUES (?, ?, ?, ?, ?, ?, ?)");
  insert.bind(1, *shopId).bind(2, user->userId).bind(3, content);
  if (pictureId) {
    insert.bind(4, *pictureId);
  } else {
    insert.bindNull(4);
  }
  insert.bind(5, static_cast<std::int64_t>(*terminal))
      .bind(6, form.text("xda_did"))
      .bind(7, ServiceContext::now());
  insert.run();
  const auto broadcastId = db.lastInsertId();
  db.prepare("UPDATE shop SET minicmt_count = minicmt_count + 1 WHERE id = ?")
      .bind(1, *shopId)
      .run();
  tx.commit();

  json::object root;
  root["errNo"] = 0;
  root["result"] = "发布成功";
  root["id"] = std::to_string(broadcastId);
  if (pictureId) root["img"] = Entries::picturePath(true, *pictureId, mime);
  return Reply::json(root);
}

}  // namespace lk::service

#include "service/Entries.h"

#include <boost/json.hpp>

#include "service/Database.h"
#include "service/RequestChecks.h"

namespace lk::service {

namespace json = boost::json;

std::string Entries::picturePath(bool thumbnail, int pictureId, const std::string& mime) {
  const char* extension = mime == "image/png" ? ".png" : ".jpg";
  return std::string(thumbnail ? "/abpic/" : "/pic/") + std::to_string(pictureId) + extension;
}

json::array Entries::reviews(Database& db, int shopId, int offset, int limit, bool full) {
  auto guard = db.lock();
  auto stmt = db.prepare(
      "SELECT r.id, u.picture_id, p.mime, u.name, u.grade, r.total_score, r.created, r.pay_cost, "
      "r.pay_persons, r.vote_use, r.recommand, r.content, r.detail_score FROM review r "
      "JOIN user u ON u.id = r.user_id LEFT JOIN picture p ON p.id = u.picture_id "
      "WHERE r.shop_id = ? ORDER BY r.created DESC, r.id DESC LIMIT ? OFFSET ?");
  stmt.bind(1, shopId).bind(2, limit).bind(3, offset);
  json::array list;
  while (stmt.step()) {
    json::object entry;
    entry["cmt_id"] = std::to_string(stmt.int64(0));
    entry["pic_url_s"] = stmt.isNull(1) ? "" : picturePath(false, stmt.integer(1), stmt.text(2));
    entry["uname"] = stmt.text(3);
    entry["ulevel"] = stmt.integer(4);
    entry["total_score"] = stmt.real(5);
    entry["create_time"] = stmt.int64(6);
    if (!stmt.isNull(7)) {
      json::object pay;
      pay["cost"] = stmt.int64(7);
      pay["person_count"] = stmt.int64(8);
      entry["pay"] = std::move(pay);
    } else {
      entry["pay"] = nullptr;
    }
    entry["vote_use"] = stmt.integer(9);
    entry["recommand"] = stmt.text(10);
    bool cut = false;
    const std::string content = stmt.text(11);
    entry["content"] =
        full ? content : RequestChecks::firstCharacters(content, kReviewPreview, cut);
    boost::system::error_code ec;
    json::value detail = json::parse(stmt.text(12), ec);
    entry["detail_score"] = ec ? json::value(json::object()) : detail;
    entry["is_content_trunc"] = cut;
    list.push_back(std::move(entry));
  }
  return list;
}

namespace {

const char* broadcastFilter(Entries::BroadcastSource source) {
  switch (source) {
    case Entries::BroadcastSource::City:
      return "s.city_id = ?";
    case Entries::BroadcastSource::Shop:
      return "b.shop_id = ?";
    case Entries::BroadcastSource::User:
      return "b.user_id = ?";
  }
  return "0";
}

}  // namespace

json::array Entries::broadcasts(Database& db, BroadcastSource source, int id, int offset,
                                int limit) {
  auto guard = db.lock();
  // The filter is one of three fixed clauses; the id itself is bound.
  auto stmt = db.prepare(
      std::string("SELECT b.id, u.picture_id, up.mime, u.name, u.grade, b.picture_id, bp.mime, "
                  "b.shop_id, s.name, b.created, b.content FROM broadcast b "
                  "JOIN user u ON u.id = b.user_id JOIN shop s ON s.id = b.shop_id "
                  "LEFT JOIN picture up ON up.id = u.picture_id "
                  "LEFT JOIN picture bp ON bp.id = b.picture_id WHERE ") +
      broadcastFilter(source) + " ORDER BY b.created DESC, b.id DESC LIMIT ? OFFSET ?");
  stmt.bind(1, id).bind(2, limit).bind(3, offset);
  json::array list;
  while (stmt.step()) {
    json::object entry;
    entry["id"] = std::to_string(stmt.int64(0));
    entry["pic_url_s"] = stmt.isNull(1) ? "" : picturePath(false, stmt.integer(1), stmt.text(2));
    entry["uname"] = stmt.text(3);
    entry["ulevel"] = stmt.integer(4);
    entry["img"] = stmt.isNull(5) ? "" : picturePath(true, stmt.integer(5), stmt.text(6));
    entry["shop_id"] = std::to_string(stmt.int64(7));
    entry["shop_name"] = stmt.text(8);
    entry["create_time"] = stmt.int64(9);
    entry["content"] = stmt.text(10);
    list.push_back(std::move(entry));
  }
  return list;
}

int Entries::broadcastCount(Database& db, BroadcastSource source, int id) {
  auto guard = db.lock();
  auto stmt = db.prepare(
      std::string("SELECT COUNT(*) FROM broadcast b JOIN shop s ON s.id = b.shop_id WHERE ") +
      broadcastFilter(source));
  stmt.bind(1, id);
  return stmt.step() ? stmt.integer(0) : 0;
}

}  // namespace lk::service

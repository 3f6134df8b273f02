#include "service/Schema.h"

#include <array>
#include <string_view>

#include "service/Database.h"

namespace lk::service {

namespace {

// Version 1: the directory, its content and the accounts.
constexpr std::string_view kVersion1 = R"sql(
CREATE TABLE province (id INTEGER PRIMARY KEY, name TEXT NOT NULL, ord INTEGER NOT NULL);
CREATE TABLE city (
  id INTEGER PRIMARY KEY, province_id INTEGER NOT NULL REFERENCES province(id), name TEXT NOT NULL,
  hot INTEGER NOT NULL DEFAULT 0, coupons INTEGER NOT NULL DEFAULT 0, x REAL NOT NULL, y REAL NOT NULL);
CREATE TABLE district (
  id INTEGER PRIMARY KEY, city_id INTEGER NOT NULL REFERENCES city(id), name TEXT NOT NULL,
  hot INTEGER NOT NULL DEFAULT 0, x REAL NOT NULL, y REAL NOT NULL);
CREATE TABLE circle (
  id INTEGER PRIMARY KEY, district_id INTEGER NOT NULL REFERENCES district(id), name TEXT NOT NULL,
  x REAL NOT NULL, y REAL NOT NULL);
CREATE TABLE category (
  id INTEGER PRIMARY KEY, parent_id INTEGER, name TEXT NOT NULL, ord INTEGER NOT NULL,
  hot INTEGER NOT NULL DEFAULT 0);
CREATE TABLE picture (
  id INTEGER PRIMARY KEY, mime TEXT NOT NULL, full BLOB NOT NULL, thumb BLOB NOT NULL);
CREATE TABLE shop (
  id INTEGER PRIMARY KEY, city_id INTEGER NOT NULL REFERENCES city(id),
  district_id INTEGER NOT NULL REFERENCES district(id), circle_id INTEGER REFERENCES circle(id),
  category_id INTEGER NOT NULL REFERENCES category(id),
  subcategory_id INTEGER NOT NULL REFERENCES category(id),
  name TEXT NOT NULL, address TEXT NOT NULL, landmark TEXT NOT NULL, x REAL NOT NULL,
  y REAL NOT NULL, status INTEGER NOT NULL, hours TEXT NOT NULL, bus TEXT NOT NULL,
  price_info TEXT NOT NULL, average REAL NOT NULL, score REAL NOT NULL, scores TEXT NOT NULL,
  tels TEXT NOT NULL, tags TEXT, recommend_name TEXT NOT NULL, recommends TEXT NOT NULL,
  specials TEXT NOT NULL, meta TEXT NOT NULL, addition TEXT NOT NULL,
  picture_id INTEGER REFERENCES picture(id), cmt_count INTEGER NOT NULL DEFAULT 0,
  minicmt_count INTEGER NOT NULL DEFAULT 0);
CREATE INDEX shop_city ON shop(city_id);
CREATE TABLE album (
  shop_id INTEGER NOT NULL REFERENCES shop(id), picture_id INTEGER NOT NULL REFERENCES picture(id),
  ord INTEGER NOT NULL, PRIMARY KEY (shop_id, ord));
CREATE TABLE user (
  id INTEGER PRIMARY KEY, name TEXT NOT NULL, grade INTEGER NOT NULL,
  picture_id INTEGER REFERENCES picture(id));
CREATE TABLE review (
  id INTEGER PRIMARY KEY, shop_id INTEGER NOT NULL REFERENCES shop(id),
  user_id INTEGER NOT NULL REFERENCES user(id), content TEXT NOT NULL, total_score REAL NOT NULL,
  detail_score TEXT NOT NULL, pay_cost INTEGER, pay_persons INTEGER, vote_use INTEGER NOT NULL,
  recommand TEXT NOT NULL, created INTEGER NOT NULL);
CREATE INDEX review_shop ON review(shop_id, created DESC);
CREATE TABLE broadcast (
  id INTEGER PRIMARY KEY, shop_id INTEGER NOT NULL REFERENCES shop(id),
  user_id INTEGER NOT NULL REFERENCES user(id), content TEXT NOT NULL,
  picture_id INTEGER REFERENCES picture(id), terminal_type INTEGER NOT NULL DEFAULT 3,
  device_id TEXT, created INTEGER NOT NULL);
CREATE INDEX broadcast_shop ON broadcast(shop_id, created DESC);
CREATE INDEX broadcast_user ON broadcast(user_id, created DESC);
CREATE TABLE coupon (
  id INTEGER PRIMARY KEY, city_id INTEGER NOT NULL REFERENCES city(id), kind TEXT NOT NULL,
  topic TEXT NOT NULL, content TEXT NOT NULL, start_time INTEGER NOT NULL,
  end_time INTEGER NOT NULL, sms INTEGER NOT NULL, downloads INTEGER NOT NULL,
  interests INTEGER NOT NULL, created INTEGER NOT NULL);
CREATE TABLE coupon_shop (
  coupon_id INTEGER NOT NULL REFERENCES coupon(id), shop_id INTEGER NOT NULL REFERENCES shop(id),
  ord INTEGER NOT NULL, PRIMARY KEY (coupon_id, shop_id));
CREATE INDEX coupon_shop_shop ON coupon_shop(shop_id);
CREATE TABLE account (
  username TEXT PRIMARY KEY, password TEXT NOT NULL, user_id INTEGER NOT NULL REFERENCES user(id),
  nickname TEXT NOT NULL, refusal INTEGER NOT NULL DEFAULT 0, needs_code INTEGER NOT NULL DEFAULT 0);
CREATE TABLE session (
  ssid TEXT PRIMARY KEY, username TEXT NOT NULL REFERENCES account(username),
  created INTEGER NOT NULL);
CREATE TABLE challenge (
  token TEXT PRIMARY KEY, code TEXT NOT NULL, stoken TEXT NOT NULL, time TEXT NOT NULL,
  used INTEGER NOT NULL DEFAULT 0);
CREATE TABLE want (user_id INTEGER NOT NULL, shop_id INTEGER NOT NULL, created INTEGER NOT NULL,
  PRIMARY KEY (user_id, shop_id));
CREATE TABLE been (user_id INTEGER NOT NULL, shop_id INTEGER NOT NULL, created INTEGER NOT NULL,
  PRIMARY KEY (user_id, shop_id));
CREATE TABLE sms_send (
  id INTEGER PRIMARY KEY, coupon_id INTEGER NOT NULL, phone TEXT NOT NULL, device_id TEXT NOT NULL,
  created INTEGER NOT NULL);
CREATE TABLE shop_proposal (
  id INTEGER PRIMARY KEY, username TEXT NOT NULL, name TEXT NOT NULL, city_id INTEGER NOT NULL,
  area TEXT NOT NULL, address TEXT NOT NULL, cat_id INTEGER NOT NULL, x REAL, y REAL, tel TEXT,
  created INTEGER NOT NULL);
CREATE TABLE report (
  id INTEGER PRIMARY KEY, kind TEXT NOT NULL, mode INTEGER, shop_id INTEGER, content TEXT NOT NULL,
  email TEXT NOT NULL, device_id TEXT NOT NULL, created INTEGER NOT NULL);
CREATE TABLE daily_user (
  day TEXT NOT NULL, device_id TEXT NOT NULL, os TEXT NOT NULL, count INTEGER NOT NULL,
  PRIMARY KEY (day, device_id));
CREATE TABLE seed_info (key TEXT PRIMARY KEY, value TEXT NOT NULL);
)sql";

// Version 2: verification-code challenges belong to an account and expire; the challenges of
// version 1 had neither, so they go.
constexpr std::string_view kVersion2 = R"sql(
DELETE FROM challenge;
ALTER TABLE challenge ADD COLUMN username TEXT NOT NULL DEFAULT '';
ALTER TABLE challenge ADD COLUMN created INTEGER NOT NULL DEFAULT 0;
CREATE INDEX challenge_user ON challenge(username, created);
)sql";

constexpr std::array<std::string_view, 2> kMigrations = {kVersion1, kVersion2};

}  // namespace

int Schema::latestVersion() {
  return static_cast<int>(kMigrations.size());
}

int Schema::migrate(Database& db) {
  auto guard = db.lock();
  const int found = db.userVersion();
  for (int version = found; version < latestVersion(); ++version) {
    Transaction tx(db);
    db.exec(kMigrations[static_cast<std::size_t>(version)]);
    db.setUserVersion(version + 1);
    tx.commit();
  }
  return found;
}

}  // namespace lk::service

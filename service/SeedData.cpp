#include "service/SeedData.h"

#include <boost/json.hpp>

#include <cmath>
#include <fstream>
#include <iostream>
#include <map>
#include <set>
#include <sstream>

#include "service/Database.h"
#include "service/PictureMaker.h"
#include "service/SeedRandom.h"
#include "service/SeedVocabulary.h"

namespace lk::service {

namespace {

namespace json = boost::json;
using V = SeedVocabulary;

constexpr int kShopPictures = 24;
constexpr int kAvatarPictures = 12;
constexpr int kPhotoPictures = 12;
constexpr int kUsers = 200;

struct CircleRef {
  int cityId;
  int districtId;
  int circleId;
  std::string cityName;
  std::string districtName;
  std::string circleName;
  std::string areaCode;
  double x;
  double y;
};

struct PictureIds {
  std::vector<int> shop;
  std::vector<int> avatar;
  std::vector<int> photo;
};

// The hot-city table in its own order: name -> (id, rank from 1).
std::map<std::string, std::pair<int, int>> readHotCities(const std::string& file) {
  std::map<std::string, std::pair<int, int>> hot;
  std::ifstream in(file);
  if (!in) return hot;
  std::stringstream buffer;
  buffer << in.rdbuf();
  boost::system::error_code ec;
  json::value root = json::parse(buffer.str(), ec);
  if (ec || !root.is_object()) return hot;
  int rank = 0;
  for (const auto& [name, id] : root.as_object()) {
    if (id.is_int64()) hot[std::string(name)] = {static_cast<int>(id.as_int64()), ++rank};
  }
  return hot;
}

double round1(double v) {
  return std::round(v * 10.0) / 10.0;
}

int insertPicture(Database& db, const std::string& mime, const std::string& full,
                  const std::string& thumb) {
  auto stmt = db.prepare("INSERT INTO picture (mime, full, thumb) VALUES (?, ?, ?)");
  stmt.bind(1, mime).bindBlob(2, full).bindBlob(3, thumb).run();
  return static_cast<int>(db.lastInsertId());
}

PictureIds makePictures(Database& db) {
  PictureIds ids;
  const std::vector<PictureMaker::Rgb> palette = {{200, 80, 60},   {60, 140, 200},  {90, 170, 90},
                                                  {220, 160, 40},  {150, 90, 180},  {40, 160, 160},
                                                  {210, 100, 140}, {120, 120, 120}, {180, 120, 60},
                                                  {70, 90, 170},   {160, 60, 60},   {60, 120, 80}};
  for (int i = 0; i < kShopPictures; ++i) {
    const auto colour = palette[static_cast<std::size_t>(i) % palette.size()];
    std::string label = "SHOP ";
    label += std::to_string(i + 1);  // (not "a" + b: GCC 12 warns wrongly at -O3)
    ids.shop.push_back(insertPicture(db, "image/jpeg",
                                     PictureMaker::jpegTile(320, 240, colour, label),
                                     PictureMaker::jpegTile(100, 75, colour, label)));
  }
  for (int i = 0; i < kAvatarPictures; ++i) {
    const auto colour = palette[static_cast<std::size_t>(i + 3) % palette.size()];
    std::string label = "U";
    label += std::to_string(i + 1);  // (not "a" + b: GCC 12 warns wrongly at -O3)
    ids.avatar.push_back(insertPicture(db, "image/png",
                                       PictureMaker::pngTile(90, 90, colour, label),
                                       PictureMaker::pngTile(45, 45, colour, label)));
  }
  for (int i = 0; i < kPhotoPictures; ++i) {
    const auto colour = palette[static_cast<std::size_t>(i + 7) % palette.size()];
    std::string label = "PHOTO ";
    label += std::to_string(i + 1);  // (not "a" + b: GCC 12 warns wrongly at -O3)
    ids.photo.push_back(insertPicture(db, "image/jpeg",
                                      PictureMaker::jpegTile(480, 360, colour, label),
                                      PictureMaker::jpegTile(120, 90, colour, label)));
  }
  return ids;
}

std::vector<CircleRef> insertPlaces(Database& db,
                                    const std::map<std::string, std::pair<int, int>>& hot) {
  std::map<std::string, int> provinceIds;
  int ord = 0;
  for (const auto& province : V::provinces()) {
    db.prepare("INSERT INTO province (id, name, ord) VALUES (?, ?, ?)")
        .bind(1, province.id)
        .bind(2, province.name)
        .bind(3, ord++)
        .run();
    provinceIds[province.name] = province.id;
  }
  const std::set<int> couponCities = {131, 132, 257, 289, 340};
  std::vector<CircleRef> circles;
  std::set<int> cityIds;
  auto insertCity = [&](int id, const std::string& name, int provinceId, int hotRank, double x,
                        double y) {
    db.prepare(
          "INSERT INTO city (id, province_id, name, hot, coupons, x, y) VALUES (?,?,?,?,?,?,?)")
        .bind(1, id)
        .bind(2, provinceId)
        .bind(3, name)
        .bind(4, hotRank)
        .bind(5, couponCities.count(id) ? 1 : 0)
        .bind(6, x)
        .bind(7, y)
        .run();
    cityIds.insert(id);
  };
  for (const auto& city : V::cities()) {
    const auto hotIt = hot.find(city.name);
    const int id = hotIt != hot.end() ? hotIt->second.first : city.id;
    if (cityIds.count(id)) continue;
    insertCity(id, city.name, provinceIds.at(city.province),
               hotIt != hot.end() ? hotIt->second.second : 0, city.x, city.y);
    const auto n = static_cast<int>(city.districts.size());
    for (int d = 0; d < n; ++d) {
      const auto& district = city.districts[static_cast<std::size_t>(d)];
      const int districtId = id * 100 + d + 1;
      const double angle = 2.0 * M_PI * d / n;
      const double dx = city.x + 0.06 * std::cos(angle) * (d == 0 ? 0.2 : 1.0);
      const double dy = city.y + 0.05 * std::sin(angle) * (d == 0 ? 0.2 : 1.0);
      db.prepare("INSERT INTO district (id, city_id, name, hot, x, y) VALUES (?,?,?,?,?,?)")
          .bind(1, districtId)
          .bind(2, id)
          .bind(3, district.name)
          .bind(4, d < 4 ? 1 : 0)
          .bind(5, dx)
          .bind(6, dy)
          .run();
      for (std::size_t c = 0; c < district.circles.size(); ++c) {
        const int circleId = districtId * 100 + static_cast<int>(c) + 1;
        const double cx = dx + 0.012 * (static_cast<double>(c) - 1.0);
        const double cy = dy + 0.009 * (static_cast<double>(c % 2) - 0.5);
        db.prepare("INSERT INTO circle (id, district_id, name, x, y) VALUES (?,?,?,?,?)")
            .bind(1, circleId)
            .bind(2, districtId)
            .bind(3, district.circles[c])
            .bind(4, cx)
            .bind(5, cy)
            .run();
        circles.push_back({id, districtId, circleId, city.name, district.name, district.circles[c],
                           city.areaCode, cx, cy});
      }
    }
  }
  // Hot cities the vocabulary does not know still appear, in the first province.
  int extra = 0;
  for (const auto& [name, entry] : hot) {
    if (cityIds.count(entry.first)) continue;
    insertCity(entry.first, name, V::provinces().front().id, entry.second, 116.0 + 0.5 * extra,
               39.0 - 0.5 * extra);
    ++extra;
  }
  return circles;
}

void insertCategories(Database& db) {
  int ord = 0;
  for (const auto& category : V::categories()) {
    db.prepare("INSERT INTO category (id, parent_id, name, ord, hot) VALUES (?, NULL, ?, ?, ?)")
        .bind(1, category.id)
        .bind(2, category.name)
        .bind(3, ord)
        .bind(4, ord < 5 ? 1 : 0)
        .run();
    ++ord;
    for (std::size_t s = 0; s < category.subs.size(); ++s) {
      db.prepare("INSERT INTO category (id, parent_id, name, ord, hot) VALUES (?, ?, ?, ?, 0)")
          .bind(1, category.id * 100 + static_cast<int>(s) + 1)
          .bind(2, category.id)
          .bind(3, category.subs[s].name)
          .bind(4, static_cast<int>(s))
          .run();
    }
  }
}

std::vector<int> insertUsers(Database& db, SeedRandom& rnd, const PictureIds& pictures) {
  std::vector<int> ids;
  auto add = [&](int id, const std::string& name, int grade, bool avatar) {
    auto stmt = db.prepare("INSERT INTO user (id, name, grade, picture_id) VALUES (?, ?, ?, ?)");
    stmt.bind(1, id).bind(2, name).bind(3, grade);
    if (avatar) {
      stmt.bind(4, rnd.pick(pictures.avatar));
    } else {
      stmt.bindNull(4);
    }
    stmt.run();
  };
  add(1, "小吃货", 5, true);
  ids.push_back(1);
  const auto& heads = V::nicknameHeads();
  const auto& tails = V::nicknameTails();
  for (int id = 2; id <= kUsers; ++id) {
    const std::size_t k = static_cast<std::size_t>(id - 2);
    std::string name = heads[k % heads.size()] + tails[(k / heads.size()) % tails.size()];
    if (k >= heads.size() * tails.size()) name += std::to_string(id);
    add(id, name, rnd.between(1, 8), !rnd.chance(0.05));
    ids.push_back(id);
  }
  return ids;
}

void insertAccounts(Database& db, SeedRandom& rnd, const PictureIds& pictures) {
  // The inactive account's user has no nickname until activation names it.
  db.prepare("INSERT INTO user (id, name, grade, picture_id) VALUES (?, ?, 1, ?)")
      .bind(1, kUsers + 1)
      .bind(2, "")
      .bind(3, rnd.pick(pictures.avatar))
      .run();
  struct Account {
    const char* username;
    int userId;
    const char* nickname;
    int refusal;
    int needsCode;
  };
  const Account accounts[] = {
      {"lokavo", 1, "小吃货", 0, 0}, {"newbie", kUsers + 1, "", 0, 0}, {"guarded", 2, "", 0, 1},
      {"badday", 3, "", 5, 0},       {"crowded", 4, "", 20, 0},        {"suspended", 5, "", 16, 0},
      {"glitch", 6, "", 7, 0},       {"oddity", 7, "", 3, 0},
  };
  for (const auto& a : accounts) {
    std::string nickname = a.nickname;
    if (nickname.empty() && a.userId != kUsers + 1) {
      auto stmt = db.prepare("SELECT name FROM user WHERE id = ?");
      stmt.bind(1, a.userId);
      if (stmt.step()) nickname = stmt.text(0);
    }
    db.prepare(
          "INSERT INTO account (username, password, user_id, nickname, refusal, needs_code) "
          "VALUES (?, ?, ?, ?, ?, ?)")
        .bind(1, a.username)
        .bind(2, std::string(a.username) + "123")
        .bind(3, a.userId)
        .bind(4, nickname)
        .bind(5, a.refusal)
        .bind(6, a.needsCode)
        .run();
  }
}

std::string hoursFor(int categoryId, SeedRandom& rnd) {
  static const std::vector<std::string> food = {"10:00-22:00", "11:00-14:00 17:00-21:30",
                                                "24小时营业", "09:30-23:00"};
  static const std::vector<std::string> other = {"09:00-21:00", "10:00-22:00",
                                                 "周一至周五 09:00-18:00", ""};
  return rnd.pick(categoryId == 20001 ? food : other);
}

json::array telephones(const std::string& areaCode, SeedRandom& rnd) {
  auto landline = [&] { return areaCode + "-" + std::to_string(rnd.between(52000000, 89999999)); };
  auto mobile = [&] { return "13" + std::to_string(rnd.between(100000000, 999999999)); };
  json::array tels;
  const int kind = rnd.between(0, 9);
  if (kind == 0) return tels;
  if (kind <= 5) {
    tels.emplace_back(landline());
  } else if (kind <= 7) {
    // Two numbers in one entry, joined by the full-width comma with spaces around.
    tels.emplace_back(landline() + " ， " + landline());
  } else {
    tels.emplace_back(landline() + "，" + landline());
    tels.emplace_back("  " + mobile() + " ");
  }
  return tels;
}

struct ShopPlan {
  int id;
  const CircleRef* place;
  const V::Category* category;
  int subIndex;
  std::string brand;
  double average;
};

}  // namespace

void SeedData::generate(Database& db, const std::string& hotCityFile, std::int64_t now) {
  Transaction tx(db);
  {
    auto count = db.prepare("SELECT COUNT(*) FROM shop");
    if (count.step() && count.int64(0) > 0) return;
  }
  SeedRandom rnd(0x4C6F6B61766Full);
  const PictureIds pictures = makePictures(db);
  const auto hot = readHotCities(hotCityFile);
  if (hot.empty()) {
    std::cerr << "lokavo-service: no hot cities in " << hotCityFile
              << "; the province index will list none\n";
  }
  const std::vector<CircleRef> circles = insertPlaces(db, hot);
  insertCategories(db);
  const std::vector<int> users = insertUsers(db, rnd, pictures);
  insertAccounts(db, rnd, pictures);

  const auto& categories = V::categories();
  std::set<std::string> names;
  std::vector<ShopPlan> plans;
  std::map<std::pair<int, std::string>, std::vector<int>> branches;  // (city, brand) -> shops
  auto shopInsert = db.prepare(
      "INSERT INTO shop (id, city_id, district_id, circle_id, category_id, subcategory_id, name, "
      "address, landmark, x, y, status, hours, bus, price_info, average, score, scores, tels, "
      "tags, "
      "recommend_name, recommends, specials, meta, addition, picture_id, cmt_count, minicmt_count) "
      "VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)");
  auto reviewInsert = db.prepare(
      "INSERT INTO review (shop_id, user_id, content, total_score, detail_score, pay_cost, "
      "pay_persons, vote_use, recommand, created) VALUES (?,?,?,?,?,?,?,?,?,?)");
  auto broadcastInsert = db.prepare(
      "INSERT INTO broadcast (shop_id, user_id, content, picture_id, terminal_type, created) "
      "VALUES (?,?,?,?,3,?)");
  auto albumInsert = db.prepare("INSERT INTO album (shop_id, picture_id, ord) VALUES (?,?,?)");

  for (int i = 0; i < kShopCount; ++i) {
    const CircleRef& place = circles[static_cast<std::size_t>(i) % circles.size()];
    const int roll = rnd.between(0, 99);
    const std::size_t categoryIndex = roll < 45   ? 0
                                      : roll < 57 ? 1
                                      : roll < 69 ? 2
                                      : roll < 75 ? 3
                                      : roll < 80 ? 4
                                      : roll < 85 ? 5
                                      : roll < 92 ? 6
                                                  : 7 + static_cast<std::size_t>(roll % 6);
    const V::Category& category = categories[categoryIndex];
    const int subIndex = rnd.between(0, static_cast<int>(category.subs.size()) - 1);
    const auto& sub = category.subs[static_cast<std::size_t>(subIndex)];
    const std::string brand = rnd.pick(sub.brands);
    std::string name = brand + "（" + place.circleName + "店）";
    for (int n = 2; names.count(name); ++n) {
      name = brand + "（" + place.circleName + std::to_string(n) + "号店）";
    }
    names.insert(name);
    const int shopId = kFirstShopId + i;
    branches[{place.cityId, brand}].push_back(shopId);

    const double x = std::round((place.x + (rnd.unit() - 0.5) * 0.016) * 1e6) / 1e6;
    const double y = std::round((place.y + (rnd.unit() - 0.5) * 0.012) * 1e6) / 1e6;
    const int statusRoll = rnd.between(0, 99);
    const int status = statusRoll < 2 ? 3 : statusRoll < 4 ? 9 : 0;
    const bool food = category.id == 20001;
    double average = food ? rnd.between(15, 300) : category.id >= 20008 ? 0 : rnd.between(0, 500);
    if (rnd.chance(0.1)) average = 0;
    const double score = round1(2.5 + rnd.unit() * 2.5);

    json::object scores;
    for (const auto& aspect : category.aspects) {
      scores[aspect] = rnd.chance(0.1) ? 0.0 : round1(2.0 + rnd.unit() * 3.0);
    }
    json::value tags;
    const int tagRoll = rnd.between(0, 99);
    if (tagRoll < 5) {
      tags = nullptr;
    } else if (tagRoll < 10) {
      tags = "";
    } else {
      std::string t = sub.name + " " + rnd.pick(V::tagWords());
      if (rnd.chance(0.5)) t += " " + rnd.pick(V::tagWords());
      tags = t;
    }
    std::string recommendName = rnd.chance(0.15) ? "" : category.recommendName;
    json::array recommends;
    if (!category.recommends.empty()) {
      const int n = rnd.between(0, 3);
      for (int k = 0; k < n; ++k)
        recommends.emplace_back(rnd.pick(category.recommends));
      if (n > 1 && rnd.chance(0.2)) recommends.insert(recommends.begin() + 1, json::string(""));
    }
    json::array specials;
    for (int k = rnd.between(0, 3); k > 0; --k)
      specials.emplace_back(rnd.pick(V::specialServices()));
    json::value meta;
    if (rnd.chance(0.1)) {
      meta = json::array();
    } else {
      json::object m;
      m["商圈"] = place.circleName;
      m["刷卡"] = rnd.chance(0.7) ? "可以" : "不可以";
      if (average > 0) m["人均消费"] = "¥" + std::to_string(static_cast<int>(average));
      m["停车位"] = rnd.chance(0.5) ? "有" : "无";
      meta = m;
    }
    json::object addition;
    addition["type"] = food ? "dish" : "service";
    json::object additionList;
    if (!rnd.chance(0.3)) {
      if (food) {
        for (const auto& dish : category.recommends) {
          if (rnd.chance(0.4)) additionList[dish] = std::to_string(rnd.between(12, 168)) + "元";
        }
      } else {
        additionList["营业时间"] = hoursFor(category.id, rnd);
        additionList["停车"] = rnd.chance(0.5) ? "免费停车2小时" : "周边停车场";
      }
    }
    addition["total"] = additionList.size();
    addition["list"] = additionList;

    const bool hasPicture = rnd.chance(0.85);
    const int pictureId = hasPicture ? rnd.pick(pictures.shop) : 0;
    int reviewCount = rnd.chance(0.25) ? 0 : rnd.between(1, 10);
    if (i == 0) reviewCount = 16;  // pages of 15 plus one
    if (i == 1) reviewCount = 15;
    const int broadcastCount = rnd.chance(0.5) ? 0 : rnd.between(1, 4);

    shopInsert.reset();
    shopInsert.bind(1, shopId)
        .bind(2, place.cityId)
        .bind(3, place.districtId)
        .bind(4, place.circleId)
        .bind(5, category.id)
        .bind(6, category.id * 100 + subIndex + 1)
        .bind(7, name)
        .bind(8, place.districtName + rnd.pick(V::streets()) + std::to_string(rnd.between(1, 399)) +
                     "号" + rnd.pick(V::buildings()))
        .bind(9, rnd.chance(0.5) ? place.circleName + "商圈" : "近" + place.circleName + "地铁站")
        .bind(10, x)
        .bind(11, y)
        .bind(12, status)
        .bind(13, hoursFor(category.id, rnd))
        .bind(14, rnd.chance(0.2) ? std::string()
                                  : "乘坐" + std::to_string(rnd.between(1, 300)) + "路、" +
                                        std::to_string(rnd.between(301, 900)) + "路公交车到" +
                                        place.circleName + "站下车")
        .bind(15, average > 0 && rnd.chance(0.7)
                      ? "人均" + std::to_string(static_cast<int>(average)) + "元左右"
                      : std::string())
        .bind(16, average)
        .bind(17, score)
        .bind(18, json::serialize(scores))
        .bind(19, json::serialize(telephones(place.areaCode, rnd)));
    if (tags.is_null()) {
      shopInsert.bindNull(20);
    } else {
      shopInsert.bind(20, std::string(tags.as_string()));
    }
    shopInsert.bind(21, recommendName)
        .bind(22, json::serialize(recommends))
        .bind(23, json::serialize(specials))
        .bind(24, json::serialize(meta))
        .bind(25, json::serialize(addition));
    if (hasPicture) {
      shopInsert.bind(26, pictureId);
    } else {
      shopInsert.bindNull(26);
    }
    shopInsert.bind(27, reviewCount).bind(28, broadcastCount);
    shopInsert.run();

    for (int r = 0; r < reviewCount; ++r) {
      std::string content;
      const int sentences = rnd.between(1, 7);
      for (int s = 0; s < sentences; ++s)
        content += rnd.pick(V::reviewSentences());
      json::object detail;
      for (const auto& aspect : category.aspects)
        detail[aspect] = rnd.between(1, 5);
      reviewInsert.reset();
      reviewInsert.bind(1, shopId)
          .bind(2, rnd.pick(users))
          .bind(3, content)
          .bind(4, rnd.between(2, 10) / 2.0)
          .bind(5, json::serialize(detail));
      const int payRoll = rnd.between(0, 9);
      if (payRoll < 2 || average <= 0) {
        reviewInsert.bindNull(6).bindNull(7);
      } else {
        const int persons = payRoll == 2 ? 0 : rnd.between(1, 6);
        reviewInsert
            .bind(6, static_cast<int>(average * std::max(persons, 1) * (0.8 + rnd.unit() * 0.4)))
            .bind(7, persons);
      }
      std::string recommand;
      if (!category.recommends.empty() && rnd.chance(0.5)) {
        recommand = rnd.pick(category.recommends) + " " + rnd.pick(category.recommends);
      }
      reviewInsert.bind(8, rnd.chance(0.3) ? 0 : rnd.between(1, 30))
          .bind(9, recommand)
          .bind(10, now - rnd.between(3600, 400 * 86400));
      reviewInsert.run();
    }
    for (int b = 0; b < broadcastCount; ++b) {
      broadcastInsert.reset();
      broadcastInsert.bind(1, shopId)
          .bind(2, rnd.pick(users))
          .bind(3, rnd.pick(V::broadcastTexts()));
      if (rnd.chance(0.4)) {
        broadcastInsert.bind(4, rnd.pick(pictures.photo));
      } else {
        broadcastInsert.bindNull(4);
      }
      const int age = rnd.chance(0.4) ? rnd.between(60, 1790) : rnd.between(1800, 20 * 86400);
      broadcastInsert.bind(5, now - age);
      broadcastInsert.run();
    }
    std::set<int> album;
    for (int a = rnd.between(0, 6); a > 0; --a) {
      const int picture = rnd.pick(pictures.shop);
      if (picture != pictureId) album.insert(picture);
    }
    std::vector<int> albumOrder(album.begin(), album.end());
    // Some albums start with the shop's own picture, as albums uploaded by shops do.
    if (hasPicture && !albumOrder.empty() && rnd.chance(0.2)) {
      albumOrder.insert(albumOrder.begin(), pictureId);
    }
    int ord = 0;
    for (int picture : albumOrder) {
      albumInsert.reset();
      albumInsert.bind(1, shopId).bind(2, picture).bind(3, ord++);
      albumInsert.run();
    }
    plans.push_back({shopId, &place, &category, subIndex, brand, average});
  }

  // Coupons in the coupon cities; a brand's coupon applies to all its branches in the city.
  auto couponInsert = db.prepare(
      "INSERT INTO coupon (city_id, kind, topic, content, start_time, end_time, sms, downloads, "
      "interests, created) VALUES (?,?,?,?,?,?,?,?,?,?)");
  auto couponShopInsert =
      db.prepare("INSERT OR IGNORE INTO coupon_shop (coupon_id, shop_id, ord) VALUES (?,?,?)");
  const std::vector<std::string> kinds = {"优惠券", "折扣信息", "活动"};
  for (int cityId : {131, 132, 257, 289, 340}) {
    std::vector<const ShopPlan*> inCity;
    for (const auto& plan : plans) {
      if (plan.place->cityId == cityId && plan.category->id <= 20007) inCity.push_back(&plan);
    }
    if (inCity.empty()) continue;
    for (int c = 0; c < 45; ++c) {
      const ShopPlan& shop = *inCity[static_cast<std::size_t>(rnd.next() % inCity.size())];
      const std::string& kind = kinds[static_cast<std::size_t>(rnd.between(0, 2))];
      std::string content = shop.brand + rnd.pick(V::couponTopics(kind)) + "。";
      for (int t = rnd.chance(0.3) ? rnd.between(8, 14) : rnd.between(1, 4); t > 0; --t) {
        content += rnd.pick(V::couponTerms());
      }
      const std::int64_t start = now - rnd.between(0, 30) * 86400;
      couponInsert.reset();
      couponInsert.bind(1, cityId)
          .bind(2, kind)
          .bind(3, shop.brand + " " + rnd.pick(V::couponTopics(kind)))
          .bind(4, content)
          .bind(5, start)
          .bind(6, start + rnd.between(30, 120) * 86400)
          .bind(7, rnd.chance(0.5) ? 1 : 0)
          .bind(8, rnd.chance(0.1) ? 0 : rnd.between(1, 5000))
          .bind(9, rnd.chance(0.1) ? 0 : rnd.between(1, 3000))
          .bind(10, now - rnd.between(0, 60) * 86400);
      couponInsert.run();
      const auto couponId = db.lastInsertId();
      int ord = 0;
      for (int branch : branches[{cityId, shop.brand}]) {
        if (ord >= 8) break;
        couponShopInsert.reset();
        couponShopInsert.bind(1, couponId).bind(2, branch).bind(3, ord++);
        couponShopInsert.run();
      }
    }
  }

  // Want and been lists of the main account: one page and a bit, one shop long gone.
  auto wantInsert =
      db.prepare("INSERT OR IGNORE INTO want (user_id, shop_id, created) VALUES (?,?,?)");
  auto beenInsert =
      db.prepare("INSERT OR IGNORE INTO been (user_id, shop_id, created) VALUES (?,?,?)");
  for (int k = 0; k < 20; ++k) {
    wantInsert.reset();
    wantInsert.bind(1, 1).bind(2, kFirstShopId + 7 * k + 3).bind(3, now - k * 3600);
    wantInsert.run();
  }
  wantInsert.reset();
  wantInsert.bind(1, 1).bind(2, 999999).bind(3, now - 30 * 86400);
  wantInsert.run();
  for (int k = 0; k < 16; ++k) {
    beenInsert.reset();
    beenInsert.bind(1, 1).bind(2, kFirstShopId + 11 * k + 5).bind(3, now - k * 7200);
    beenInsert.run();
  }
  db.prepare("INSERT INTO seed_info (key, value) VALUES ('seeded_at', ?)")
      .bind(1, std::to_string(now))
      .run();
  tx.commit();
}

}  // namespace lk::service

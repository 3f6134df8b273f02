#include "service/ShopCatalog.h"

#include <algorithm>
#include <cmath>

#include "service/Database.h"

namespace lk::service {

namespace {

bool containsAll(const ShopCatalog::Shop& shop, const std::vector<std::string>& terms) {
  for (const auto& term : terms) {
    if (shop.nameKey.find(term) == std::string::npos &&
        shop.addressKey.find(term) == std::string::npos &&
        shop.tagsKey.find(term) == std::string::npos) {
      return false;
    }
  }
  return true;
}

void appendEscaped(std::string& out, std::string_view text, bool escapeHtml) {
  if (!escapeHtml) {
    out.append(text);
    return;
  }
  for (char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '"':
        out += "&quot;";
        break;
      case '\'':
        out += "&#39;";
        break;
      default:
        out += c;
    }
  }
}

}  // namespace

std::string ShopCatalog::asciiLower(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return out;
}

double ShopCatalog::distanceMetres(double x1, double y1, double x2, double y2) {
  constexpr double kEarthRadius = 6371000.0;
  constexpr double kRad = M_PI / 180.0;
  const double dLat = (y2 - y1) * kRad;
  const double dLon = (x2 - x1) * kRad;
  const double a =
      std::sin(dLat / 2) * std::sin(dLat / 2) +
      std::cos(y1 * kRad) * std::cos(y2 * kRad) * std::sin(dLon / 2) * std::sin(dLon / 2);
  return 2 * kEarthRadius * std::asin(std::min(1.0, std::sqrt(a)));
}

std::string ShopCatalog::highlight(std::string_view text, const std::vector<std::string>& terms,
                                   bool escapeHtml) {
  const std::string key = asciiLower(text);
  std::vector<std::pair<std::size_t, std::size_t>> marks;
  for (const auto& term : terms) {
    if (term.empty()) continue;
    for (std::size_t at = key.find(term); at != std::string::npos;
         at = key.find(term, at + term.size())) {
      marks.emplace_back(at, at + term.size());
    }
  }
  std::sort(marks.begin(), marks.end());
  std::string out;
  std::size_t pos = 0;
  for (std::size_t i = 0; i < marks.size();) {
    std::size_t begin = marks[i].first;
    std::size_t end = marks[i].second;
    for (++i; i < marks.size() && marks[i].first <= end; ++i)
      end = std::max(end, marks[i].second);
    begin = std::max(begin, pos);
    if (begin >= end) continue;
    appendEscaped(out, text.substr(pos, begin - pos), escapeHtml);
    out += "<em>";
    appendEscaped(out, text.substr(begin, end - begin), escapeHtml);
    out += "</em>";
    pos = end;
  }
  appendEscaped(out, text.substr(pos), escapeHtml);
  return out;
}

void ShopCatalog::load(Database& db) {
  auto guard = db.lock();
  shops_.clear();
  byCity_.clear();
  byId_.clear();
  placesByCity_.clear();
  auto stmt = db.prepare(
      "SELECT s.id, s.city_id, s.district_id, d.name, s.circle_id, COALESCE(c.name, ''), "
      "s.category_id, cat.name, s.subcategory_id, sub.name, s.name, s.address, s.landmark, s.tags, "
      "s.x, s.y, s.score, s.average, s.cmt_count FROM shop s JOIN district d ON d.id = "
      "s.district_id "
      "LEFT JOIN circle c ON c.id = s.circle_id JOIN category cat ON cat.id = s.category_id "
      "JOIN category sub ON sub.id = s.subcategory_id ORDER BY s.id");
  while (stmt.step()) {
    Shop shop;
    shop.id = stmt.integer(0);
    shop.cityId = stmt.integer(1);
    shop.districtId = stmt.integer(2);
    shop.districtName = stmt.text(3);
    shop.circleId = stmt.integer(4);
    shop.circleName = stmt.text(5);
    shop.categoryId = stmt.integer(6);
    shop.categoryName = stmt.text(7);
    shop.subId = stmt.integer(8);
    shop.subName = stmt.text(9);
    shop.name = stmt.text(10);
    shop.address = stmt.text(11);
    shop.landmark = stmt.text(12);
    shop.tags = stmt.optionalText(13);
    shop.x = stmt.real(14);
    shop.y = stmt.real(15);
    shop.score = stmt.real(16);
    shop.average = stmt.real(17);
    shop.cmtCount = stmt.integer(18);
    shop.nameKey = asciiLower(shop.name);
    shop.addressKey = asciiLower(shop.address);
    // A shop is found by its kind too, also when it has no tags of its own.
    shop.tagsKey = asciiLower(shop.tags.value_or("") + " " + shop.subName);
    shop.placeKey = asciiLower(shop.address + " " + shop.landmark + " " + shop.circleName + " " +
                               shop.districtName);
    byId_[shop.id] = shops_.size();
    byCity_[shop.cityId].push_back(shops_.size());
    shops_.push_back(std::move(shop));
  }
  auto coupons = db.prepare(
      "SELECT cs.shop_id, c.id, c.topic, c.kind, c.interests FROM coupon_shop cs "
      "JOIN coupon c ON c.id = cs.coupon_id ORDER BY cs.shop_id, c.created DESC, c.id");
  while (coupons.step()) {
    auto it = byId_.find(coupons.integer(0));
    if (it == byId_.end()) continue;
    shops_[it->second].coupons.push_back(
        {coupons.integer(1), coupons.text(2), coupons.text(3), coupons.integer(4)});
  }
  auto places = db.prepare(
      "SELECT d.city_id, d.name, d.x, d.y FROM district d UNION ALL "
      "SELECT d.city_id, c.name, c.x, c.y FROM circle c JOIN district d ON d.id = c.district_id");
  while (places.step()) {
    placesByCity_[places.integer(0)].push_back(
        {asciiLower(places.text(1)), places.real(2), places.real(3)});
  }
}

const ShopCatalog::Shop* ShopCatalog::find(int id) const {
  auto it = byId_.find(id);
  return it == byId_.end() ? nullptr : &shops_[it->second];
}

ShopCatalog::Result ShopCatalog::search(const Query& q) const {
  Result result;
  auto cityIt = byCity_.find(q.cityId);
  if (cityIt == byCity_.end()) return result;

  // The reference point: the position given, else the place named by "r".
  std::optional<std::pair<double, double>> origin;
  const std::string placeKey = asciiLower(q.place);
  if (q.x && q.y) {
    origin = {*q.x, *q.y};
  } else if (!placeKey.empty()) {
    auto placesIt = placesByCity_.find(q.cityId);
    if (placesIt != placesByCity_.end()) {
      for (const auto& place : placesIt->second) {
        if (place.name.find(placeKey) != std::string::npos ||
            placeKey.find(place.name) != std::string::npos) {
          origin = {place.x, place.y};
          break;
        }
      }
    }
  }
  const bool placeIsArea = origin && !(q.x && q.y);

  std::vector<Hit> hits;
  for (std::size_t index : cityIt->second) {
    const Shop& s = shops_[index];
    if (q.districtId && s.districtId != q.districtId) continue;
    if (!q.districtName.empty() && s.districtName != q.districtName) continue;
    if (q.circleId && s.circleId != q.circleId) continue;
    if (!q.circleName.empty() && s.circleName != q.circleName && s.districtName != q.circleName) {
      continue;
    }
    if (q.categoryId && s.categoryId != q.categoryId) continue;
    if (!q.categoryName.empty() && s.categoryName != q.categoryName &&
        s.subName != q.categoryName) {
      continue;
    }
    if (q.subId && s.subId != q.subId) continue;
    if (!q.subName.empty() && s.subName != q.subName && s.categoryName != q.subName) continue;
    if (q.couponOnly && s.coupons.empty()) continue;
    if (!q.terms.empty() && !containsAll(s, q.terms)) continue;
    if (!placeKey.empty() && !placeIsArea && s.placeKey.find(placeKey) == std::string::npos) {
      continue;
    }
    double distance = 0;
    if (origin) distance = distanceMetres(origin->first, origin->second, s.x, s.y);
    if (q.x && q.y && q.radiusKm > 0 && distance > q.radiusKm * 1000.0) continue;
    if (placeIsArea && distance > 5000.0) continue;
    hits.push_back({&s, distance});
  }

  std::map<int, Facet> areas;
  std::map<int, Facet> categories;
  for (const auto& hit : hits) {
    auto& area = areas
                     .try_emplace(hit.shop->districtId,
                                  Facet{hit.shop->districtId, hit.shop->districtName, 0})
                     .first->second;
    ++area.count;
    auto& category = categories
                         .try_emplace(hit.shop->categoryId,
                                      Facet{hit.shop->categoryId, hit.shop->categoryName, 0})
                         .first->second;
    ++category.count;
  }
  auto byCount = [](const Facet& a, const Facet& b) {
    return a.count != b.count ? a.count > b.count : a.id < b.id;
  };
  for (auto& [id, facet] : areas)
    result.areas.push_back(facet);
  for (auto& [id, facet] : categories)
    result.categories.push_back(facet);
  std::sort(result.areas.begin(), result.areas.end(), byCount);
  std::sort(result.categories.begin(), result.categories.end(), byCount);

  const int sort = (q.sort == 4 && !origin) ? 1 : q.sort;
  auto byId = [](const Hit& a, const Hit& b) { return a.shop->id < b.shop->id; };
  std::stable_sort(hits.begin(), hits.end(), [&](const Hit& a, const Hit& b) {
    switch (sort) {
      case 2:
        if (a.shop->score != b.shop->score) return a.shop->score > b.shop->score;
        return byId(a, b);
      case 3:
        if (a.shop->cmtCount != b.shop->cmtCount) return a.shop->cmtCount > b.shop->cmtCount;
        return byId(a, b);
      case 4:
        if (a.distance != b.distance)
          return q.descending ? a.distance > b.distance : a.distance < b.distance;
        return byId(a, b);
      default: {
        // Names that hold the keyword first, then the better scored.
        if (!q.terms.empty()) {
          const bool an = a.shop->nameKey.find(q.terms.front()) != std::string::npos;
          const bool bn = b.shop->nameKey.find(q.terms.front()) != std::string::npos;
          if (an != bn) return an;
        }
        if (a.shop->score != b.shop->score) return a.shop->score > b.shop->score;
        return byId(a, b);
      }
    }
  });

  result.total = static_cast<int>(hits.size());
  const std::size_t start = static_cast<std::size_t>(q.page) * static_cast<std::size_t>(q.pageSize);
  for (std::size_t i = start; i < hits.size() && i < start + static_cast<std::size_t>(q.pageSize);
       ++i) {
    result.page.push_back(hits[i]);
  }
  return result;
}

}  // namespace lk::service

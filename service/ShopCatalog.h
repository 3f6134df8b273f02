#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lk::service {

class Database;

// The searchable face of the directory, loaded into memory at start: every shop with the names
// of its places and categories and the coupons it offers. Read-only after loading, so the worker
// threads share it without locks.
class ShopCatalog {
 public:
  struct Coupon {
    int id;
    std::string title;
    std::string kind;
    int interests;
  };
  struct Shop {
    int id = 0;
    int cityId = 0;
    int districtId = 0;
    std::string districtName;
    int circleId = 0;
    std::string circleName;
    int categoryId = 0;
    std::string categoryName;
    int subId = 0;
    std::string subName;
    std::string name;
    std::string address;
    std::string landmark;
    std::optional<std::string> tags;
    double x = 0;
    double y = 0;
    double score = 0;
    double average = 0;
    int cmtCount = 0;
    std::vector<Coupon> coupons;
    // ASCII-lowered copies for case-insensitive matching.
    std::string nameKey, addressKey, tagsKey, placeKey;
  };
  struct Query {
    int cityId = 0;
    std::vector<std::string> terms;  // keyword split at white space
    std::string place;               // "r"
    int districtId = 0;              // "rc"
    std::string districtName;        // "rn"
    int circleId = 0;                // "zi"
    std::string circleName;          // "z"
    int categoryId = 0;              // "sc"
    std::string categoryName;        // "chn"
    int subId = 0;                   // "c"
    std::string subName;             // "cn"
    bool couponOnly = false;         // "ex=1"
    int sort = 1;                    // 1 default, 2 score, 3 reviews, 4 distance
    bool descending = false;         // "sortm=1" with the distance sort
    std::optional<double> x, y;      // position (longitude, latitude)
    double radiusKm = 0;             // "sd"; 0: no radius
    int page = 0;
    int pageSize = 15;
  };
  struct Facet {
    int id;
    std::string name;
    int count;
  };
  struct Hit {
    const Shop* shop;
    double distance;  // metres; 0 without a reference point
  };
  struct Result {
    int total = 0;
    std::vector<Hit> page;
    std::vector<Facet> areas;       // districts of the whole match
    std::vector<Facet> categories;  // main categories of the whole match
  };

  void load(Database& db);
  [[nodiscard]] Result search(const Query& query) const;
  [[nodiscard]] std::size_t size() const { return shops_.size(); }
  [[nodiscard]] const Shop* find(int id) const;

  // Wraps every occurrence of the terms in <em>...</em>; with `escapeHtml` the text around and
  // inside the marks has "&", '"' and "'" written as entities.
  [[nodiscard]] static std::string highlight(std::string_view text,
                                             const std::vector<std::string>& terms,
                                             bool escapeHtml);
  [[nodiscard]] static std::string asciiLower(std::string_view text);
  // Great-circle distance in metres between two longitude/latitude points.
  [[nodiscard]] static double distanceMetres(double x1, double y1, double x2, double y2);

 private:
  struct PlaceCentre {
    std::string name;
    double x, y;
  };
  std::vector<Shop> shops_;
  std::map<int, std::vector<std::size_t>> byCity_;
  std::map<int, std::size_t> byId_;
  std::map<int, std::vector<PlaceCentre>> placesByCity_;
};

}  // namespace lk::service

#pragma once

#include <cstdint>
#include <string>

namespace lk::service {

class Database;

// Fills an empty database with the sample directory: provinces, cities (every city of the
// client's hot-city table with the same name and id), districts and business circles, the
// category tree, about three thousand shops with reviews, broadcasts, coupons and album
// pictures, users, passport accounts and their want/been lists. The content is the same on
// every run; times are placed relative to `now`.
class SeedData {
 public:
  static constexpr int kShopCount = 3000;
  static constexpr int kFirstShopId = 1000001;

  // Runs in one transaction; does nothing when the database already holds shops.
  static void generate(Database& db, const std::string& hotCityFile, std::int64_t now);
};

}  // namespace lk::service

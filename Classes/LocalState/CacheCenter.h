#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Classes/Records/Area.h"
#include "Classes/Records/ShopInfo.h"

namespace lk {

class UserDefaults;

// Posted (no object, no user info) whenever the current city changes.
inline constexpr const char* kCityChanged = "kCityChanged";

// Stored keys.
inline constexpr const char* kUsername = "kUsername";
inline constexpr const char* kPassword = "kPassword";
inline constexpr const char* kCurrentCityId = "kCurrentCityId";
inline constexpr const char* kCurrentCityName = "kCurrentCityName";
inline constexpr const char* kAreaSearchHistory = "kAreaSearchHistory";
inline constexpr const char* kChannelSearchHistory = "kChannelSearchHistory";
inline constexpr const char* kShopBrowseHistory = "kShopBrowseHistory";

// What survives a restart: the current city, the account, the keyword histories and the shops
// recently opened. Restored from
// the standard user-defaults store when created; every change is written back at once. Main
// thread only.
class CacheCenter {
 public:
  // The process-wide instance, created (and restored) on first use. It is published before it
  // restores, so code that restoring reaches (kCityChanged observers, the tab-set change) finds it.
  static CacheCenter& sharedInstance();
  // Destroys the shared instance so that the next use restores afresh from the store.
  static void resetSharedInstanceForTesting();

  // Creates the instance directly; it becomes the shared one. A second one while one lives is a
  // programming error: "Duplicate alloc a singleton class", and the process stops.
  CacheCenter();
  CacheCenter(const CacheCenter&) = delete;
  CacheCenter& operator=(const CacheCenter&) = delete;
  ~CacheCenter();

  [[nodiscard]] std::shared_ptr<const Area> currentCity() const { return currentCity_; }
  // Keeps, stores and announces a new city, then has the application's delegate (when it is a
  // TabSetLoader) install the matching tab set. A city with the current id changes nothing.
  void setCurrentCity(const Area& city);
  [[nodiscard]] bool isCouponCityCurrent() const;
  [[nodiscard]] bool isHotCityCurrent();
  // The hot cities of the application's "hotcity" resource, read once, in the table's order.
  const std::vector<std::shared_ptr<Area>>& hotCityList();

  [[nodiscard]] const std::optional<std::string>& username() const { return username_; }
  [[nodiscard]] const std::optional<std::string>& password() const { return password_; }
  // nullopt stores the value as absent (logging out clears the password so).
  void recordUsername(const std::optional<std::string>& username);
  void recordPassword(const std::optional<std::string>& password);

  // Keywords of recent searches, newest first, at most kMaxKeywords each.
  [[nodiscard]] const std::vector<std::string>& areaSearchHistory() const {
    return areaSearchHistory_;
  }
  [[nodiscard]] const std::vector<std::string>& channelSearchHistory() const {
    return channelSearchHistory_;
  }
  void recordAreaSearch(const std::string& keyword);
  void recordChannelSearch(const std::string& keyword);
  void clearAreaSearchHistory();
  void clearChannelSearchHistory();

  // Shops whose details were opened, newest first, at most kMaxBrowsedShops; each a slim copy
  // holding only id, name, address and score.
  [[nodiscard]] const std::vector<std::shared_ptr<ShopInfo>>& shopBrowseHistory() const {
    return shopBrowseHistory_;
  }
  // Moves the shop to the front (a shop without an id is not recorded) and stores the list.
  void recordBrowsedShop(const ShopInfo& shop);
  void cleanBrowseHistory();
  void saveShopBrowseHistory();
  // Replaces the list by the stored one: at most kMaxBrowsedShops dictionaries, each with an id.
  void restoreShopBrowseHistory();

  // Steps of creation, callable on their own.
  void restore();
  void setDefaultIfNeeded();
  // Moves the keyword to the front of `container`, dropping the oldest beyond kMaxKeywords.
  static void recordKeyword(const std::string& keyword, std::vector<std::string>& container);

  static constexpr std::size_t kMaxKeywords = 30;
  static constexpr std::size_t kMaxBrowsedShops = 30;
  static constexpr int kDefaultCityId = 131;
  static constexpr const char* kDefaultCityName = "北京";

 private:
  void storeList(const char* key, const std::vector<std::string>& list);

  UserDefaults* cfg_ = nullptr;
  std::optional<std::string> username_;
  std::optional<std::string> password_;
  std::shared_ptr<const Area> currentCity_;
  std::vector<std::string> areaSearchHistory_;
  std::vector<std::string> channelSearchHistory_;
  std::vector<std::shared_ptr<ShopInfo>> shopBrowseHistory_;
  std::optional<std::vector<std::shared_ptr<Area>>> hotCityList_;
};

}  // namespace lk

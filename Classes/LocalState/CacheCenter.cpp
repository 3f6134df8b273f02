#include "Classes/LocalState/CacheCenter.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdlib>
#include <mutex>

#include "Classes/Json/JsonValue.h"
#include "Classes/LocalState/TabSetLoader.h"
#include "Classes/Records/DirectoryDecoder.h"
#include "Platform/Log/Log.h"
#include "Platform/Notifications/NotificationCenter.h"
#include "Platform/Resources/AppResources.h"
#include "Platform/RunLoop/RunLoop.h"
#include "Platform/Storage/UserDefaults.h"
#include "Platform/UI/Application.h"

namespace lk {

namespace {

// Cities that offer coupons: a fixed set, not a setting.
constexpr std::array<int, 5> kCouponCityIds{131, 132, 257, 289, 340};

// Recursive: creation re-enters sharedInstance() on the same thread while it restores.
std::recursive_mutex& classLock() {
  static std::recursive_mutex mutex;
  return mutex;
}

CacheCenter* gInstance = nullptr;
std::unique_ptr<CacheCenter>& ownedInstance() {
  static std::unique_ptr<CacheCenter> owned;
  return owned;
}

}  // namespace

CacheCenter& CacheCenter::sharedInstance() {
  std::lock_guard lock(classLock());
  if (gInstance == nullptr) ownedInstance() = std::make_unique<CacheCenter>();
  return *gInstance;
}

void CacheCenter::resetSharedInstanceForTesting() {
  std::lock_guard lock(classLock());
  ownedInstance().reset();
}

CacheCenter::CacheCenter() {
  std::lock_guard lock(classLock());
  if (gInstance != nullptr) {
    logLine("Duplicate alloc a singleton class");
    std::abort();
  }
  gInstance = this;
  restore();
}

CacheCenter::~CacheCenter() {
  std::lock_guard lock(classLock());
  if (gInstance == this) gInstance = nullptr;
}

void CacheCenter::restore() {
  assertOnMainThread();
  cfg_ = &UserDefaults::standardUserDefaults();
  username_ = cfg_->stringForKey(kUsername);
  password_ = cfg_->stringForKey(kPassword);
  if (auto name = cfg_->stringForKey(kCurrentCityName)) {
    const auto id = cfg_->objectForKey(kCurrentCityId);
    setCurrentCity(Area(id ? json::toInt(*id) : 0, std::move(name)));
  }
  for (auto& [key, list] : {std::pair{kAreaSearchHistory, &areaSearchHistory_},
                            std::pair{kChannelSearchHistory, &channelSearchHistory_}}) {
    // Restoring again replaces the lists instead of doubling them.
    list->clear();
    for (auto& keyword : cfg_->stringArrayForKey(key)) {
      // A list longer than the limit (written by hand, say) is cut to it.
      if (list->size() >= kMaxKeywords) break;
      list->push_back(std::move(keyword));
    }
  }
  restoreShopBrowseHistory();
  setDefaultIfNeeded();
}

void CacheCenter::setDefaultIfNeeded() {
  if (currentCity_ == nullptr) setCurrentCity(Area(kDefaultCityId, kDefaultCityName));
}

void CacheCenter::setCurrentCity(const Area& city) {
  assertOnMainThread();
  if (city.isEqual(currentCity_.get())) return;
  // Our own copy: a caller changing its record later does not change the city behind our back.
  auto kept = std::make_shared<Area>(city.id(), city.name());
  kept->setHasChildren(city.hasChildren());
  currentCity_ = std::move(kept);
  cfg_->setInteger(kCurrentCityId, currentCity_->id());
  // A nameless city is stored with an empty name so that it is restored at all.
  cfg_->setString(kCurrentCityName, currentCity_->nameText());
  (void)cfg_->synchronize();

  NotificationCenter::defaultCenter().post(kCityChanged);

  if (auto* loader = dynamic_cast<TabSetLoader*>(ui::Application::shared().delegate())) {
    if (isCouponCityCurrent()) {
      loader->loadTabControllersWithCoupon();
    } else {
      loader->loadTabControllersWithoutCoupon();
    }
  }
}

bool CacheCenter::isCouponCityCurrent() const {
  return currentCity_ != nullptr && std::find(kCouponCityIds.begin(), kCouponCityIds.end(),
                                              currentCity_->id()) != kCouponCityIds.end();
}

const std::vector<std::shared_ptr<Area>>& CacheCenter::hotCityList() {
  if (!hotCityList_) {
    hotCityList_.emplace();
    std::string error;
    if (auto text = AppResources::contentsOfResource("hotcity", "json")) {
      if (auto table = json::parse(*text, &error)) {
        *hotCityList_ = DirectoryDecoder::decodeHotCityTable(*table);
      } else {
        logf("hot-city table cannot be decoded: %s", error.c_str());
      }
    } else {
      logLine("hot-city table is missing");
    }
  }
  return *hotCityList_;
}

bool CacheCenter::isHotCityCurrent() {
  if (currentCity_ == nullptr) return false;
  const auto& hot = hotCityList();
  return std::any_of(hot.begin(), hot.end(),
                     [&](const auto& city) { return city->isEqual(*currentCity_); });
}

void CacheCenter::recordUsername(const std::optional<std::string>& username) {
  username_ = username;
  if (username_) {
    cfg_->setString(kUsername, *username_);
  } else {
    cfg_->removeObjectForKey(kUsername);
  }
  (void)cfg_->synchronize();
}

void CacheCenter::recordPassword(const std::optional<std::string>& password) {
  password_ = password;
  if (password_) {
    cfg_->setString(kPassword, *password_);
  } else {
    cfg_->removeObjectForKey(kPassword);
  }
  (void)cfg_->synchronize();
}

void CacheCenter::recordKeyword(const std::string& keyword, std::vector<std::string>& container) {
  if (auto it = std::find(container.begin(), container.end(), keyword); it != container.end()) {
    container.erase(it);
  }
  if (container.size() >= kMaxKeywords) container.resize(kMaxKeywords - 1);
  container.insert(container.begin(), keyword);
}

void CacheCenter::recordAreaSearch(const std::string& keyword) {
  recordKeyword(keyword, areaSearchHistory_);
  storeList(kAreaSearchHistory, areaSearchHistory_);
}

void CacheCenter::recordChannelSearch(const std::string& keyword) {
  recordKeyword(keyword, channelSearchHistory_);
  storeList(kChannelSearchHistory, channelSearchHistory_);
}

void CacheCenter::clearAreaSearchHistory() {
  areaSearchHistory_.clear();
  storeList(kAreaSearchHistory, areaSearchHistory_);
}

void CacheCenter::clearChannelSearchHistory() {
  channelSearchHistory_.clear();
  storeList(kChannelSearchHistory, channelSearchHistory_);
}

namespace {

// The four fields a history entry keeps; never starts a download.
std::shared_ptr<ShopInfo> slimCopy(const std::string& id, std::string name, std::string address,
                                   float score) {
  auto entry = std::make_shared<ShopInfo>();
  entry->setShopId(id);
  entry->setStrName(std::move(name));
  entry->setStrAddress(std::move(address));
  entry->setFltScoreTotal(score);
  return entry;
}

// The score as the decimal it was sent as (4.1, not 4.099999904632568).
double storedScore(float score) {
  char text[32];
  const auto end = std::to_chars(text, text + sizeof text, score).ptr;
  return json::doubleFromText(std::string_view(text, static_cast<std::size_t>(end - text)));
}

}  // namespace

void CacheCenter::recordBrowsedShop(const ShopInfo& shop) {
  // An entry without an id could never be opened again, nor told apart from another one.
  if (shop.shopId().empty()) return;
  auto& list = shopBrowseHistory_;
  if (auto it = std::find_if(list.begin(), list.end(),
                             [&](const auto& entry) { return entry->isEqual(shop); });
      it != list.end()) {
    list.erase(it);
  }
  if (list.size() >= kMaxBrowsedShops) list.resize(kMaxBrowsedShops - 1);
  list.insert(list.begin(),
              slimCopy(shop.shopId(), shop.strName(), shop.strAddress(), shop.fltScoreTotal()));
  saveShopBrowseHistory();
}

void CacheCenter::cleanBrowseHistory() {
  shopBrowseHistory_.clear();
  saveShopBrowseHistory();
}

void CacheCenter::saveShopBrowseHistory() {
  boost::json::array stored;
  for (const auto& shop : shopBrowseHistory_) {
    boost::json::object entry;
    if (!shop->shopId().empty()) entry["id"] = shop->shopId();
    if (!shop->strName().empty()) entry["name"] = shop->strName();
    if (!shop->strAddress().empty()) entry["address"] = shop->strAddress();
    entry["score"] = storedScore(shop->fltScoreTotal());
    stored.push_back(std::move(entry));
  }
  cfg_->setObject(kShopBrowseHistory, std::move(stored));
}

void CacheCenter::restoreShopBrowseHistory() {
  shopBrowseHistory_.clear();
  const auto stored = cfg_->objectForKey(kShopBrowseHistory);
  if (!stored || !stored->is_array()) return;
  // An older or damaged store may hold anything: only dictionaries, only the typed fields, and
  // never more entries than the history keeps.
  for (const auto& item : stored->get_array()) {
    if (shopBrowseHistory_.size() >= kMaxBrowsedShops) break;
    if (!item.is_object()) continue;
    const auto& entry = item.get_object();
    const auto text = [&entry](const char* key) {
      const auto* v = entry.if_contains(key);
      return v != nullptr && v->is_string() ? std::string(v->get_string()) : std::string();
    };
    const auto* score = entry.if_contains("score");
    const float points = score != nullptr && score->is_number() ? json::toFloat(*score) : 0.0F;
    // An entry without an id (never written by this client) could not be opened again.
    std::string id = text("id");
    if (id.empty()) continue;
    shopBrowseHistory_.push_back(slimCopy(id, text("name"), text("address"), points));
  }
}

void CacheCenter::storeList(const char* key, const std::vector<std::string>& list) {
  cfg_->setStringArray(key, list);
  (void)cfg_->synchronize();
}

}  // namespace lk

#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace lk {

class ShopInfo;

// One offer as the detail screen shows it; opened as a stub (id and kind) and completed in place
// when the detail arrives.
class Coupon {
 public:
  // Kinds of offer (`type`).
  static constexpr int kUnknown = 0;
  static constexpr int kCoupon = 1;    // "优惠券"
  static constexpr int kDiscount = 2;  // "折扣信息"
  static constexpr int kEvent = 3;     // "活动"

  // The kind for the service's kind name (exact comparison); kUnknown for any other name.
  [[nodiscard]] static int typeWithName(std::string_view name);

  // The validity period's days as "yyyy-MM-dd".
  [[nodiscard]] std::string startTimeString() const;
  [[nodiscard]] std::string endTimeString() const;

  [[nodiscard]] const std::string& couponId() const { return couponId_; }
  void setCouponId(std::string v) { couponId_ = std::move(v); }
  [[nodiscard]] int type() const { return type_; }
  void setType(int v) { type_ = v; }
  [[nodiscard]] const std::string& topic() const { return topic_; }
  void setTopic(std::string v) { topic_ = std::move(v); }
  [[nodiscard]] const std::string& content() const { return content_; }
  void setContent(std::string v) { content_ = std::move(v); }
  [[nodiscard]] int startTime() const { return startTime_; }
  void setStartTime(int v) { startTime_ = v; }
  [[nodiscard]] int endTime() const { return endTime_; }
  void setEndTime(int v) { endTime_ = v; }
  [[nodiscard]] const std::vector<std::shared_ptr<ShopInfo>>& shopList() const { return shopList_; }
  void setShopList(std::vector<std::shared_ptr<ShopInfo>> v) { shopList_ = std::move(v); }
  [[nodiscard]] bool hasSMS() const { return hasSMS_; }
  void setHasSMS(bool v) { hasSMS_ = v; }
  // The detail screen shows the offer's whole text (the shop list's expansion belongs to the
  // screen, not to the offer).
  [[nodiscard]] bool showAll() const { return showAll_; }
  void setShowAll(bool v) { showAll_ = v; }

 private:
  std::string couponId_;
  int type_ = kUnknown;
  std::string topic_;
  std::string content_;
  int startTime_ = 0;
  int endTime_ = 0;
  std::vector<std::shared_ptr<ShopInfo>> shopList_;
  bool hasSMS_ = false;
  bool showAll_ = false;
};

}  // namespace lk

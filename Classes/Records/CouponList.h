#pragma once

#include <boost/json/object.hpp>

#include <memory>
#include <string>

namespace lk {

// One row of a coupon list: the offer with its first shop and its popularity counters.
class CouponList {
 public:
  // One element of a coupon list page's "list". The shop fields come from the first element of
  // "arrShopInUsing" (null gives "" or 0); an empty or missing array leaves them unset.
  [[nodiscard]] static std::shared_ptr<CouponList> fromCouponListEntry(
      const boost::json::object& entry);
  // A shop of a nearby search answer whose "cheap_off" holds at least one offer (the first is
  // taken); nothing otherwise.
  [[nodiscard]] static std::shared_ptr<CouponList> fromNearbyShop(const boost::json::object& shop);

  [[nodiscard]] const std::string& couponId() const { return couponId_; }
  void setCouponId(std::string v) { couponId_ = std::move(v); }
  [[nodiscard]] int downloadCount() const { return downloadCount_; }
  void setDownloadCount(int v) { downloadCount_ = v; }
  [[nodiscard]] int interestingCount() const { return interestingCount_; }
  void setInterestingCount(int v) { interestingCount_ = v; }
  [[nodiscard]] int type() const { return type_; }
  void setType(int v) { type_ = v; }
  [[nodiscard]] const std::string& topic() const { return topic_; }
  void setTopic(std::string v) { topic_ = std::move(v); }
  [[nodiscard]] const std::string& shopName() const { return shopName_; }
  void setShopName(std::string v) { shopName_ = std::move(v); }
  [[nodiscard]] float shopScore() const { return shopScore_; }
  void setShopScore(float v) { shopScore_ = v; }
  [[nodiscard]] const std::string& shopTag() const { return shopTag_; }
  void setShopTag(std::string v) { shopTag_ = std::move(v); }

 private:
  std::string couponId_;
  int downloadCount_ = 0;
  int interestingCount_ = 0;
  int type_ = 0;
  std::string topic_;
  std::string shopName_;
  float shopScore_ = 0;
  std::string shopTag_;
};

}  // namespace lk

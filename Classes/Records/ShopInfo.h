#pragma once

#include <boost/json/array.hpp>
#include <boost/json/object.hpp>
#include <boost/json/value.hpp>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Classes/Json/JsonNode.h"
#include "Classes/Records/Observable.h"
#include "Classes/Records/RecordPicture.h"
#include "Classes/ServiceClient/HttpRequestDelegate.h"

namespace lk {

class Broadcast;
class Comment;
class Coupon;
class HttpRequest;
class ShopAdditionList;

// The record of a shop: a row of the search and history lists, and the whole detail page. A
// record shown in detail (`showDetails`) fetches its picture and its additional information
// itself when its id and picture URL are set.
class ShopInfo : private HttpRequestDelegate {
 public:
  // Download tags.
  static constexpr int kPictureRequest = 0;
  static constexpr int kAdditionRequest = 1;

  ShopInfo();
  ShopInfo(const ShopInfo&) = delete;
  ShopInfo& operator=(const ShopInfo&) = delete;
  ~ShopInfo() override;

  // One element of a search answer's "searchlist" (never downloads anything).
  [[nodiscard]] static std::shared_ptr<ShopInfo> fromSearchItem(json::Node item);
  [[nodiscard]] static std::shared_ptr<ShopInfo> fromSearchItem(const boost::json::object& item);
  // Stores the members of a shop information answer, in the order that starts the additional
  // information download with the id and the picture download with the picture URL.
  void decodeShopInformation(json::Node root);
  void decodeShopInformation(const boost::json::object& root);

  // Same shop: both ids present and equal; nothing else counts.
  [[nodiscard]] bool isEqual(const ShopInfo& other) const;
  friend bool operator==(const ShopInfo& a, const ShopInfo& b) { return a.isEqual(b); }

  // The non-empty recommended items joined by " | " (with one trailing space), or nothing.
  [[nodiscard]] std::optional<std::string> recommendString() const;
  [[nodiscard]] bool hasRecommend() const;
  // The first space-separated tag, or nothing without tags.
  [[nodiscard]] std::optional<std::string> firstTag() const;

  [[nodiscard]] const std::string& shopId() const { return shopId_; }
  void setShopId(const std::string& shopId);
  [[nodiscard]] const std::string& strName() const { return strName_; }
  void setStrName(std::string v) { strName_ = std::move(v); }
  [[nodiscard]] int intCityId() const { return intCityId_; }
  void setIntCityId(int v) { intCityId_ = v; }
  [[nodiscard]] const std::string& strAddress() const { return strAddress_; }
  void setStrAddress(std::string v) { strAddress_ = std::move(v); }
  [[nodiscard]] const std::string& strLandmark() const { return strLandmark_; }
  void setStrLandmark(std::string v) { strLandmark_ = std::move(v); }
  [[nodiscard]] float fltPositionX() const { return fltPositionX_; }
  void setFltPositionX(float v) { fltPositionX_ = v; }
  [[nodiscard]] float fltPositionY() const { return fltPositionY_; }
  void setFltPositionY(float v) { fltPositionY_ = v; }
  [[nodiscard]] int intStatus() const { return intStatus_; }
  void setIntStatus(int v) { intStatus_ = v; }
  [[nodiscard]] const std::string& strHours() const { return strHours_; }
  void setStrHours(std::string v) { strHours_ = std::move(v); }
  [[nodiscard]] const std::string& strBusInfo() const { return strBusInfo_; }
  void setStrBusInfo(std::string v) { strBusInfo_ = std::move(v); }
  [[nodiscard]] const std::string& strPriceInfo() const { return strPriceInfo_; }
  void setStrPriceInfo(std::string v) { strPriceInfo_ = std::move(v); }
  [[nodiscard]] float fltAverage() const { return fltAverage_; }
  void setFltAverage(float v) { fltAverage_ = v; }
  [[nodiscard]] float fltScoreTotal() const { return fltScoreTotal_; }
  void setFltScoreTotal(float v) { fltScoreTotal_ = v; }
  [[nodiscard]] const std::optional<boost::json::object>& arrMeta() const { return arrMeta_; }
  void setArrMeta(std::optional<boost::json::object> v) { arrMeta_ = std::move(v); }
  [[nodiscard]] const std::vector<std::string>& arrTel() const { return arrTel_; }
  void setArrTel(std::vector<std::string> v) { arrTel_ = std::move(v); }
  [[nodiscard]] const boost::json::value& arrScore() const { return arrScore_; }
  void setArrScore(boost::json::value v) { arrScore_ = std::move(v); }
  [[nodiscard]] const std::string& strShopImgUrl() const { return shopImg_.url(); }
  void setStrShopImgUrl(const std::string& url) { shopImg_.setUrl(url, showDetails_); }
  [[nodiscard]] const std::string& strRecommendName() const { return strRecommendName_; }
  void setStrRecommendName(std::string v) { strRecommendName_ = std::move(v); }
  [[nodiscard]] const boost::json::array& arrRecommend() const { return arrRecommend_; }
  void setArrRecommend(boost::json::array v) { arrRecommend_ = std::move(v); }
  [[nodiscard]] const boost::json::value& arrSpecialList() const { return arrSpecialList_; }
  void setArrSpecialList(boost::json::value v) { arrSpecialList_ = std::move(v); }
  [[nodiscard]] int intCmtCount() const { return intCmtCount_; }
  void setIntCmtCount(int v) { intCmtCount_ = v; }
  [[nodiscard]] const std::vector<std::shared_ptr<Comment>>& arrCmtList() const {
    return arrCmtList_;
  }
  void setArrCmtList(std::vector<std::shared_ptr<Comment>> v) { arrCmtList_ = std::move(v); }
  [[nodiscard]] int intMiniCmtCount() const { return intMiniCmtCount_; }
  void setIntMiniCmtCount(int v) { intMiniCmtCount_ = v; }
  [[nodiscard]] const std::vector<std::shared_ptr<Broadcast>>& arrMiniCmtList() const {
    return arrMiniCmtList_;
  }
  void setArrMiniCmtList(std::vector<std::shared_ptr<Broadcast>> v) {
    arrMiniCmtList_ = std::move(v);
  }
  [[nodiscard]] bool want() const { return want_; }
  void setWant(bool v) { want_ = v; }
  [[nodiscard]] bool been() const { return been_; }
  void setBeen(bool v) { been_ = v; }
  [[nodiscard]] const std::vector<std::shared_ptr<Coupon>>& arrCouponList() const {
    return arrCouponList_;
  }
  void setArrCouponList(std::vector<std::shared_ptr<Coupon>> v) { arrCouponList_ = std::move(v); }
  [[nodiscard]] const std::optional<std::string>& tagList() const { return tagList_; }
  void setTagList(std::optional<std::string> v) { tagList_ = std::move(v); }
  [[nodiscard]] float distance() const { return distance_; }
  void setDistance(float v) { distance_ = v; }
  [[nodiscard]] const std::shared_ptr<ShopAdditionList>& addition() const { return addition_; }
  void setAddition(std::shared_ptr<ShopAdditionList> v) { addition_ = std::move(v); }
  [[nodiscard]] bool showDetails() const { return showDetails_; }
  void setShowDetails(bool v) { showDetails_ = v; }

  // Observed by the detail screen and drawn cells.
  [[nodiscard]] Observable<ImagePtr>& shopImg() { return shopImg_.image(); }
  [[nodiscard]] Observable<int>& intPicCount() { return intPicCount_; }
  [[nodiscard]] const Observable<ImagePtr>& shopImg() const { return shopImg_.image(); }
  [[nodiscard]] const Observable<int>& intPicCount() const { return intPicCount_; }
  [[nodiscard]] const HttpRequest* imgRequest() const { return shopImg_.request(); }
  [[nodiscard]] const HttpRequest* additionRequest() const { return additionRequest_.get(); }

 private:
  void requestSucceeded(HttpRequest& request) override;
  void requestFailed(HttpRequest& request, const PlatformError& error) override;

  std::string shopId_;
  std::string strName_;
  int intCityId_ = 0;
  std::string strAddress_;
  std::string strLandmark_;
  float fltPositionX_ = 0;
  float fltPositionY_ = 0;
  int intStatus_ = 0;
  std::string strHours_;
  std::string strBusInfo_;
  std::string strPriceInfo_;
  float fltAverage_ = 0;
  float fltScoreTotal_ = 0;
  std::optional<boost::json::object> arrMeta_;
  std::vector<std::string> arrTel_;
  boost::json::value arrScore_;
  std::string strRecommendName_;
  boost::json::array arrRecommend_;
  boost::json::value arrSpecialList_;
  int intCmtCount_ = 0;
  std::vector<std::shared_ptr<Comment>> arrCmtList_;
  int intMiniCmtCount_ = 0;
  std::vector<std::shared_ptr<Broadcast>> arrMiniCmtList_;
  bool want_ = false;
  bool been_ = false;
  std::vector<std::shared_ptr<Coupon>> arrCouponList_;
  std::optional<std::string> tagList_;
  float distance_ = 0;
  std::shared_ptr<ShopAdditionList> addition_;
  bool showDetails_ = false;
  Observable<int> intPicCount_;
  RecordPicture shopImg_;
  std::unique_ptr<HttpRequest> additionRequest_;
};

}  // namespace lk

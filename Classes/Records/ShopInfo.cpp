#include "Classes/Records/ShopInfo.h"

#include <array>
#include <string_view>

#include "Classes/Json/JsonValue.h"
#include "Classes/Records/Broadcast.h"
#include "Classes/Records/Comment.h"
#include "Classes/Records/Coupon.h"
#include "Classes/Records/ShopAdditionList.h"
#include "Classes/ServiceClient/HttpRequest.h"
#include "Classes/ServiceClient/ServiceAnswer.h"
#include "Classes/ServiceClient/ServiceEndpoints.h"
#include "Classes/Util/Utility.h"
#include "Platform/Log/Log.h"

namespace lk {
namespace {

bool isSpaceAt(std::string_view s, std::size_t i, std::size_t& length) {
  const auto c = static_cast<unsigned char>(s[i]);
  if (c == ' ' || (c >= '\t' && c <= '\r')) {
    length = 1;
    return true;
  }
  // U+00A0 and the full-width space U+3000, both common in hand-typed numbers.
  if (s.substr(i, 2) == "\xC2\xA0") {
    length = 2;
    return true;
  }
  if (s.substr(i, 3) == "\xE3\x80\x80") {
    length = 3;
    return true;
  }
  return false;
}

std::string trimmed(std::string_view s) {
  std::size_t length = 0;
  std::size_t begin = 0;
  while (begin < s.size() && isSpaceAt(s, begin, length))
    begin += length;
  std::size_t end = s.size();
  for (;;) {
    if (end > begin && end >= 1 && isSpaceAt(s, end - 1, length) && length == 1) {
      end -= 1;
    } else if (end >= begin + 2 && s.substr(end - 2, 2) == "\xC2\xA0") {
      end -= 2;
    } else if (end >= begin + 3 && s.substr(end - 3, 3) == "\xE3\x80\x80") {
      end -= 3;
    } else {
      break;
    }
  }
  return std::string(s.substr(begin, end - begin));
}

// Numbers of one entry are joined by the full-width comma.
void appendTelephones(std::string_view entry, std::vector<std::string>& out) {
  static constexpr std::string_view kComma = "\xEF\xBC\x8C";  // "，"
  std::size_t start = 0;
  for (;;) {
    const std::size_t at = entry.find(kComma, start);
    out.push_back(trimmed(entry.substr(start, at - start)));
    if (at == std::string_view::npos) break;
    start = at + kComma.size();
  }
}

}  // namespace

ShopInfo::ShopInfo() : shopImg_(kPictureRequest) {}

ShopInfo::~ShopInfo() = default;  // pending requests cancel when destroyed

std::shared_ptr<ShopInfo> ShopInfo::fromSearchItem(json::Node item) {
  // In the order the service writes them (any order reads the same, this one fastest).
  enum { kId, kName, kScore, kAddress, kDistance, kTags, kReviews, kAverage, kOffers, kCount };
  static constexpr std::array<std::string_view, kCount> kKeys = {
      "shop_id", "shop_name", "total_score", "address",  "distance",
      "taglist", "cmt_num",   "average_pay", "cheap_off"};
  const auto m = item.pick(kKeys);
  auto shop = std::make_shared<ShopInfo>();
  shop->setStrName(Utility::removeTag("em", json::toText(m[kName])));
  shop->setShopId(json::toText(m[kId]));
  shop->setFltScoreTotal(json::toFloat(m[kScore]));
  shop->setStrAddress(json::toText(m[kAddress]));
  shop->setDistance(json::toFloat(m[kDistance]));
  if (auto tags = json::toString(m[kTags]); tags && !tags->empty()) {
    shop->setTagList(std::move(tags));
  }
  shop->setIntCmtCount(json::toInt(m[kReviews]));
  shop->setFltAverage(json::toFloat(m[kAverage]));
  std::vector<std::shared_ptr<Coupon>> coupons;
  if (m[kOffers].isArray()) {
    coupons.reserve(m[kOffers].size());
    for (const json::Node offer : m[kOffers].elements()) {
      static constexpr std::array<std::string_view, 2> kOfferKeys = {"id", "title"};
      const auto o = offer.pick(kOfferKeys);
      auto coupon = std::make_shared<Coupon>();
      coupon->setTopic(json::toText(o[1]));
      coupon->setCouponId(json::toText(o[0]));
      coupons.push_back(std::move(coupon));
    }
  }
  shop->setArrCouponList(std::move(coupons));
  return shop;
}

std::shared_ptr<ShopInfo> ShopInfo::fromSearchItem(const boost::json::object& item) {
  return fromSearchItem(json::Node(item));
}

void ShopInfo::decodeShopInformation(json::Node root) {
  enum {
    kStatus,
    kId,
    kName,
    kCityId,
    kAddress,
    kLandmark,
    kX,
    kY,
    kHours,
    kBus,
    kPrice,
    kAverage,
    kScoreTotal,
    kMeta,
    kTel,
    kScore,
    kImgUrl,
    kRecommendName,
    kRecommend,
    kSpecial,
    kReviewCount,
    kBroadcastCount,
    kBase,
    kReviews,
    kBroadcasts,
    kWant,
    kBeen,
    kOffers,
    kCount
  };
  static constexpr std::array<std::string_view, kCount> kKeys = {
      "intStauts",       "intShopId",      "strName",
      "intCityId",       "strAddress",     "strLandmark",
      "fltPositionX",    "fltPositionY",   "strHours",
      "strBusInfo",      "strPriceInfo",   "fltAverage",
      "fltScoreTotal",   "arrMeta",        "arrTel",
      "arrScore",        "strShopImgUrl",  "strRecommendName",
      "arrRecommend",    "arrSpecialList", "intCmtCount",
      "intMiniCmtCount", "base",           "arrCmtList",
      "arrMiniCmtList",  "want",           "been",
      "arrCouponList"};
  const auto m = root.pick(kKeys);
  setIntStatus(json::toInt(m[kStatus]));
  setShopId(json::toText(m[kId]));
  setStrName(json::toText(m[kName]));
  setIntCityId(json::toInt(m[kCityId]));
  setStrAddress(json::toText(m[kAddress]));
  setStrLandmark(json::toText(m[kLandmark]));
  setFltPositionX(json::toFloat(m[kX]));
  setFltPositionY(json::toFloat(m[kY]));
  setStrHours(json::toText(m[kHours]));
  setStrBusInfo(json::toText(m[kBus]));
  setStrPriceInfo(json::toText(m[kPrice]));
  setFltAverage(json::toFloat(m[kAverage]));
  setFltScoreTotal(json::toFloat(m[kScoreTotal]));
  if (m[kMeta].isObject()) setArrMeta(std::move(m[kMeta].toValue().get_object()));
  std::vector<std::string> telephones;
  if (m[kTel].isArray()) {
    for (const json::Node tel : m[kTel].elements()) {
      if (const auto text = json::toString(tel)) appendTelephones(*text, telephones);
    }
  }
  setArrTel(std::move(telephones));
  if (m[kScore].exists()) setArrScore(m[kScore].toValue());
  setStrShopImgUrl(json::toText(m[kImgUrl]));
  setStrRecommendName(json::toText(m[kRecommendName]));
  if (m[kRecommend].isArray()) setArrRecommend(std::move(m[kRecommend].toValue().get_array()));
  if (m[kSpecial].exists()) setArrSpecialList(m[kSpecial].toValue());
  setIntCmtCount(json::toInt(m[kReviewCount]));
  setIntMiniCmtCount(json::toInt(m[kBroadcastCount]));
  const std::string base = json::toText(m[kBase]);
  if (m[kReviews].isArray() && !m[kReviews].empty()) {
    setArrCmtList({Comment::fromShopInformation(m[kReviews].at(0), base)});
  }
  if (m[kBroadcasts].isArray() && !m[kBroadcasts].empty()) {
    setArrMiniCmtList({Broadcast::fromShopInformation(m[kBroadcasts].at(0), base)});
  }
  setWant(json::toBool(m[kWant]));
  setBeen(json::toBool(m[kBeen]));
  std::vector<std::shared_ptr<Coupon>> coupons;
  if (m[kOffers].isArray()) {
    for (const json::Node offer : m[kOffers].elements()) {
      static constexpr std::array<std::string_view, 3> kOfferKeys = {"strId", "strTopic",
                                                                     "strType"};
      const auto o = offer.pick(kOfferKeys);
      auto coupon = std::make_shared<Coupon>();
      coupon->setCouponId(json::toText(o[0]));
      coupon->setTopic(json::toText(o[1]));
      coupon->setType(Coupon::typeWithName(json::toText(o[2])));
      coupons.push_back(std::move(coupon));
    }
  }
  setArrCouponList(std::move(coupons));
}

void ShopInfo::decodeShopInformation(const boost::json::object& root) {
  decodeShopInformation(json::Node(root));
}

bool ShopInfo::isEqual(const ShopInfo& other) const {
  return !shopId_.empty() && shopId_ == other.shopId_;
}

std::optional<std::string> ShopInfo::recommendString() const {
  std::string joined;
  for (const auto& entry : arrRecommend_) {
    if (entry.is_string() && !entry.get_string().empty()) {
      joined += std::string_view(entry.get_string());
      joined += " | ";
    }
  }
  if (joined.empty()) return std::nullopt;
  joined.resize(joined.size() - 2);
  return joined;
}

bool ShopInfo::hasRecommend() const {
  if (strRecommendName_.empty()) return false;
  for (const auto& entry : arrRecommend_) {
    if (entry.is_string() && !entry.get_string().empty()) return true;
  }
  return false;
}

std::optional<std::string> ShopInfo::firstTag() const {
  if (!tagList_) return std::nullopt;
  return tagList_->substr(0, tagList_->find(' '));
}

void ShopInfo::setShopId(const std::string& shopId) {
  if (shopId == shopId_) return;
  shopId_ = shopId;
  if (!showDetails_) return;
  additionRequest_ =
      std::make_unique<HttpRequest>(static_cast<HttpRequestDelegate*>(this), kAdditionRequest);
  additionRequest_->requestGETWithGZip(ServiceEndpoints::serviceURL() + "/shop/" + shopId_ +
                                       "/addition?p=0&n=500");
}

void ShopInfo::requestSucceeded(HttpRequest& request) {
  // Released whatever the answer; the request object lives to the end of this call.
  const std::unique_ptr<HttpRequest> done = std::move(additionRequest_);
  const auto answer = readJsonAnswer(request, AnswerEncoding::kCompressed);
  if (!answer.ok()) {
    // Another status, or JSON that is not an object, leaves the record as it is without a word.
    const PlatformError& error = answer.error();
    if (isAnswerStep(error, AnswerStep::kDecompression) ||
        isAnswerStep(error, AnswerStep::kParse)) {
      logf("Request shop addition info, error:%s", error.description.c_str());
    }
    return;
  }
  const auto* list = json::objectMember(*answer, "list");
  if (list == nullptr || list->empty()) return;
  auto addition = std::make_shared<ShopAdditionList>();
  addition->setType(json::textMember(*answer, "type"));
  addition->setTotal(json::intMember(*answer, "total"));
  addition->setList(*list);
  setAddition(std::move(addition));
}

void ShopInfo::requestFailed(HttpRequest& /*request*/, const PlatformError& /*error*/) {
  additionRequest_.reset();
}

}  // namespace lk

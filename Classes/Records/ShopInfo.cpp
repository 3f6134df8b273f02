#include "Classes/Records/ShopInfo.h"

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
  auto shop = std::make_shared<ShopInfo>();
  shop->setStrName(Utility::removeTag("em", json::textMember(item, "shop_name")));
  shop->setShopId(json::textMember(item, "shop_id"));
  shop->setFltScoreTotal(json::floatMember(item, "total_score"));
  shop->setStrAddress(json::textMember(item, "address"));
  shop->setDistance(json::floatMember(item, "distance"));
  if (auto tags = json::stringMember(item, "taglist"); tags && !tags->empty()) {
    shop->setTagList(std::move(tags));
  }
  shop->setIntCmtCount(json::intMember(item, "cmt_num"));
  shop->setFltAverage(json::floatMember(item, "average_pay"));
  std::vector<std::shared_ptr<Coupon>> coupons;
  for (const json::Node offer : json::arrayMember(item, "cheap_off").elements()) {
    auto coupon = std::make_shared<Coupon>();
    coupon->setTopic(json::textMember(offer, "title"));
    coupon->setCouponId(json::textMember(offer, "id"));
    coupons.push_back(std::move(coupon));
  }
  shop->setArrCouponList(std::move(coupons));
  return shop;
}

std::shared_ptr<ShopInfo> ShopInfo::fromSearchItem(const boost::json::object& item) {
  return fromSearchItem(json::Node(item));
}

void ShopInfo::decodeShopInformation(json::Node root) {
  setIntStatus(json::intMember(root, "intStauts"));
  setShopId(json::textMember(root, "intShopId"));
  setStrName(json::textMember(root, "strName"));
  setIntCityId(json::intMember(root, "intCityId"));
  setStrAddress(json::textMember(root, "strAddress"));
  setStrLandmark(json::textMember(root, "strLandmark"));
  setFltPositionX(json::floatMember(root, "fltPositionX"));
  setFltPositionY(json::floatMember(root, "fltPositionY"));
  setStrHours(json::textMember(root, "strHours"));
  setStrBusInfo(json::textMember(root, "strBusInfo"));
  setStrPriceInfo(json::textMember(root, "strPriceInfo"));
  setFltAverage(json::floatMember(root, "fltAverage"));
  setFltScoreTotal(json::floatMember(root, "fltScoreTotal"));
  if (const json::Node meta = json::objectMember(root, "arrMeta"); meta.exists()) {
    setArrMeta(std::move(meta.toValue().get_object()));
  }
  std::vector<std::string> telephones;
  for (const json::Node tel : json::arrayMember(root, "arrTel").elements()) {
    if (const auto text = json::toString(tel)) appendTelephones(*text, telephones);
  }
  setArrTel(std::move(telephones));
  if (const json::Node score = root.member("arrScore"); score.exists()) {
    setArrScore(score.toValue());
  }
  setStrShopImgUrl(json::textMember(root, "strShopImgUrl"));
  setStrRecommendName(json::textMember(root, "strRecommendName"));
  if (const json::Node recommend = json::arrayMember(root, "arrRecommend"); recommend.exists()) {
    setArrRecommend(std::move(recommend.toValue().get_array()));
  }
  if (const json::Node special = root.member("arrSpecialList"); special.exists()) {
    setArrSpecialList(special.toValue());
  }
  setIntCmtCount(json::intMember(root, "intCmtCount"));
  setIntMiniCmtCount(json::intMember(root, "intMiniCmtCount"));
  const std::string base = json::textMember(root, "base");
  if (const json::Node reviews = json::arrayMember(root, "arrCmtList"); !reviews.empty()) {
    setArrCmtList({Comment::fromShopInformation(reviews.at(0), base)});
  }
  if (const json::Node reports = json::arrayMember(root, "arrMiniCmtList"); !reports.empty()) {
    setArrMiniCmtList({Broadcast::fromShopInformation(reports.at(0), base)});
  }
  setWant(json::boolMember(root, "want"));
  setBeen(json::boolMember(root, "been"));
  std::vector<std::shared_ptr<Coupon>> coupons;
  for (const json::Node offer : json::arrayMember(root, "arrCouponList").elements()) {
    auto coupon = std::make_shared<Coupon>();
    coupon->setCouponId(json::textMember(offer, "strId"));
    coupon->setTopic(json::textMember(offer, "strTopic"));
    coupon->setType(Coupon::typeWithName(json::textMember(offer, "strType")));
    coupons.push_back(std::move(coupon));
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

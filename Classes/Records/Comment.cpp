#include "Classes/Records/Comment.h"

#include "Classes/Json/JsonValue.h"
#include "Classes/Records/RecordJson.h"
#include "Classes/Util/Utility.h"

namespace lk {

std::shared_ptr<Comment> Comment::fromReviewEntry(const boost::json::object& entry,
                                                  std::string_view base) {
  auto c = std::make_shared<Comment>();
  c->setCmtId(json::textMember(entry, "cmt_id"));
  c->setUserImgUrl(urlMember(entry, "pic_url_s", base));
  c->setUserName(json::textMember(entry, "uname"));
  c->setULevel(json::intMember(entry, "ulevel"));
  c->setTotalScore(json::floatMember(entry, "total_score"));
  c->setCreatedTime(json::doubleMember(entry, "create_time"));
  if (const auto* pay = json::objectMember(entry, "pay")) {
    const auto* cost = json::member(*pay, "cost");
    const auto* persons = json::member(*pay, "person_count");
    if (cost != nullptr && persons != nullptr && json::toInt(*persons) > 0) {
      c->setFltAverage(json::toFloat(*cost) / static_cast<float>(json::toInt(*persons)));
    }
  }
  c->setUsefulCount(json::intMember(entry, "vote_use"));
  c->setRecommend(json::textMember(entry, "recommand"));
  c->setContent(json::textMember(entry, "content"));
  if (const auto* detail = json::objectMember(entry, "detail_score")) c->setDetailScore(*detail);
  c->setIsContentTrunc(json::boolMember(entry, "is_content_trunc"));
  return c;
}

std::shared_ptr<Comment> Comment::fromShopInformation(const boost::json::object& entry,
                                                      std::string_view base) {
  auto c = std::make_shared<Comment>();
  c->setUserName(json::textMember(entry, "uname"));
  c->setTotalScore(json::floatMember(entry, "total_score"));
  c->setContent(json::textMember(entry, "content"));
  c->setUserImgUrl(urlMember(entry, "pic_url_s", base));
  return c;
}

std::string Comment::createdDate() const {
  return Utility::stringWithDate(dateFromSeconds(createdTime_));
}

}  // namespace lk

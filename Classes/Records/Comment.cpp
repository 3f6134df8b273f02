#include "Classes/Records/Comment.h"

#include <array>

#include "Classes/Json/JsonValue.h"
#include "Classes/Records/RecordJson.h"
#include "Classes/Util/Utility.h"

namespace lk {

std::shared_ptr<Comment> Comment::fromReviewEntry(json::Node entry, std::string_view base) {
  auto c = std::make_shared<Comment>();
  c->setCmtId(json::textMember(entry, "cmt_id"));
  c->setUserImgUrl(urlMember(entry, "pic_url_s", base));
  c->setUserName(json::textMember(entry, "uname"));
  c->setULevel(json::intMember(entry, "ulevel"));
  c->setTotalScore(json::floatMember(entry, "total_score"));
  c->setCreatedTime(json::doubleMember(entry, "create_time"));
  if (const json::Node pay = json::objectMember(entry, "pay"); pay.exists()) {
    const json::Node cost = pay.member("cost");
    const json::Node persons = pay.member("person_count");
    if (cost.exists() && persons.exists() && json::toInt(persons) > 0) {
      c->setFltAverage(json::toFloat(cost) / static_cast<float>(json::toInt(persons)));
    }
  }
  c->setUsefulCount(json::intMember(entry, "vote_use"));
  c->setRecommend(json::textMember(entry, "recommand"));
  c->setContent(json::textMember(entry, "content"));
  if (const json::Node detail = json::objectMember(entry, "detail_score"); detail.exists()) {
    c->setDetailScore(std::move(detail.toValue().get_object()));
  }
  c->setIsContentTrunc(json::boolMember(entry, "is_content_trunc"));
  return c;
}

std::shared_ptr<Comment> Comment::fromShopInformation(json::Node entry, std::string_view base) {
  static constexpr std::array<std::string_view, 4> kKeys = {"uname", "total_score", "content",
                                                            "pic_url_s"};
  const auto m = entry.pick(kKeys);
  auto c = std::make_shared<Comment>();
  c->setUserName(json::toText(m[0]));
  c->setTotalScore(json::toFloat(m[1]));
  c->setContent(json::toText(m[2]));
  c->setUserImgUrl(urlOf(m[3], base));
  return c;
}

std::shared_ptr<Comment> Comment::fromReviewEntry(const boost::json::object& entry,
                                                  std::string_view base) {
  return fromReviewEntry(json::Node(entry), base);
}

std::shared_ptr<Comment> Comment::fromShopInformation(const boost::json::object& entry,
                                                      std::string_view base) {
  return fromShopInformation(json::Node(entry), base);
}

std::string Comment::createdDate() const {
  return Utility::stringWithDate(dateFromSeconds(createdTime_));
}

}  // namespace lk

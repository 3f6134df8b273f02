#pragma once

#include <boost/json/object.hpp>

#include <memory>
#include <string>
#include <string_view>

#include "Classes/Json/JsonNode.h"
#include "Classes/Records/RecordPicture.h"

namespace lk {

// A review of a shop. Setting `userImgUrl` fetches the author's picture into `userImg`.
class Comment {
 public:
  Comment() = default;
  Comment(const Comment&) = delete;
  Comment& operator=(const Comment&) = delete;

  // One element of a "cmtlist" array; `base` is the URL prefix sent beside the list.
  [[nodiscard]] static std::shared_ptr<Comment> fromReviewEntry(json::Node entry,
                                                                std::string_view base);
  [[nodiscard]] static std::shared_ptr<Comment> fromReviewEntry(const boost::json::object& entry,
                                                                std::string_view base);
  // The latest review inside a shop information answer (name, score, text, picture).
  [[nodiscard]] static std::shared_ptr<Comment> fromShopInformation(json::Node entry,
                                                                    std::string_view base);
  [[nodiscard]] static std::shared_ptr<Comment> fromShopInformation(
      const boost::json::object& entry, std::string_view base);

  // The creation day as "yyyy-MM-dd".
  [[nodiscard]] std::string createdDate() const;

  [[nodiscard]] const std::string& cmtId() const { return cmtId_; }
  void setCmtId(std::string v) { cmtId_ = std::move(v); }
  [[nodiscard]] const std::string& userId() const { return userId_; }
  void setUserId(std::string v) { userId_ = std::move(v); }
  [[nodiscard]] const std::string& userName() const { return userName_; }
  void setUserName(std::string v) { userName_ = std::move(v); }
  [[nodiscard]] const std::string& userImgUrl() const { return userImg_.url(); }
  void setUserImgUrl(const std::string& url) { userImg_.setUrl(url); }
  [[nodiscard]] int uLevel() const { return uLevel_; }
  void setULevel(int v) { uLevel_ = v; }
  [[nodiscard]] const std::string& content() const { return content_; }
  void setContent(std::string v) { content_ = std::move(v); }
  [[nodiscard]] double createdTime() const { return createdTime_; }
  void setCreatedTime(double v) { createdTime_ = v; }
  [[nodiscard]] float totalScore() const { return totalScore_; }
  void setTotalScore(float v) { totalScore_ = v; }
  [[nodiscard]] const boost::json::object& detailScore() const { return detailScore_; }
  void setDetailScore(boost::json::object v) { detailScore_ = std::move(v); }
  [[nodiscard]] int usefulCount() const { return usefulCount_; }
  void setUsefulCount(int v) { usefulCount_ = v; }
  [[nodiscard]] float fltAverage() const { return fltAverage_; }
  void setFltAverage(float v) { fltAverage_ = v; }
  [[nodiscard]] const std::string& recommend() const { return recommend_; }
  void setRecommend(std::string v) { recommend_ = std::move(v); }
  [[nodiscard]] bool isContentTrunc() const { return isContentTrunc_; }
  void setIsContentTrunc(bool v) { isContentTrunc_ = v; }

  // Observed by drawn cells ("userImg").
  [[nodiscard]] Observable<ImagePtr>& userImg() { return userImg_.image(); }
  [[nodiscard]] const Observable<ImagePtr>& userImg() const { return userImg_.image(); }
  [[nodiscard]] const HttpRequest* imgRequest() const { return userImg_.request(); }

 private:
  std::string cmtId_;
  std::string userId_;
  std::string userName_;
  int uLevel_ = 0;
  std::string content_;
  double createdTime_ = 0;
  float totalScore_ = 0;
  boost::json::object detailScore_;
  int usefulCount_ = 0;
  float fltAverage_ = 0;
  std::string recommend_;
  bool isContentTrunc_ = false;
  RecordPicture userImg_;  // last: its download goes first when the record goes
};

}  // namespace lk

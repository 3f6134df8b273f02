#pragma once

#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "tests/support/LoopbackHttpServer.h"

namespace lk::test {

// A loopback server answering the search endpoints with hand-written JSON: the search
// ("/client/search/0/q"), the area tree ("/client/index/N/citymore"), the category tree
// ("/client/index/N/catmore") and the position lookup ("/client/user/0/pos", by default 王府井
// in 北京's 东城区). Every request target is recorded in arrival order.
class ScriptedSearchService {
 public:
  struct Answer {
    int status = 200;
    std::string json;  // sent gzip-compressed
  };
  using Script = std::function<Answer(const httplib::Request& request)>;

  ScriptedSearchService();

  void onSearch(Script script);
  void onAreaTree(Script script);
  void onCategoryTree(Script script);
  void onPosition(Script script);

  // "http://127.0.0.1:PORT/client".
  [[nodiscard]] std::string baseURL() const { return http_.url("/client"); }
  // The request targets (path and query, as sent) so far.
  [[nodiscard]] std::vector<std::string> targets() const;
  // Those containing `part`.
  [[nodiscard]] std::vector<std::string> targetsWith(const std::string& part) const;
  void clearTargets();

  // A search answer: `count` shops numbered from `first`, "total" `total`, the given facets
  // ("geoarealist" area ids, "channellist" category ids).
  [[nodiscard]] static std::string searchAnswer(int total, int first, int count,
                                                const std::vector<int>& areaIds = {},
                                                const std::vector<int>& channelIds = {});
  // A position lookup answer.
  [[nodiscard]] static std::string positionAnswer(const std::string& x, const std::string& y,
                                                  int cityCode, const std::string& district,
                                                  const std::string& address);

 private:
  void serve(const char* pattern, Script* script);

  mutable std::mutex mutex_;
  std::vector<std::string> targets_;
  Script search_;
  Script areaTree_;
  Script categoryTree_;
  Script position_;
  LoopbackHttpServer http_;
};

}  // namespace lk::test

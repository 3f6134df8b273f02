#pragma once

#include <functional>
#include <string>
#include <vector>

#include "tests/support/FakeTransport.h"

namespace lk::test {

// The search endpoints answered with hand-written JSON on the fake transport, in virtual time:
// the search ("/client/search/0/q"), the area tree ("/client/index/N/citymore"), the category
// tree ("/client/index/N/catmore") and the position lookup ("/client/user/0/pos", by default
// 王府井 in 北京's 东城区). Every request target is recorded in order.
class ScriptedSearchService {
 public:
  struct Answer {
    int status = 200;
    std::string json;  // sent gzip-compressed
  };
  using Request = FakeTransport::Request;
  using Script = std::function<Answer(const Request& request)>;

  ScriptedSearchService();

  void onSearch(Script script);
  void onAreaTree(Script script);
  void onCategoryTree(Script script);
  void onPosition(Script script);
  // Any other endpoint: paths (without the query) matching the regular expression `pattern`.
  void on(const std::string& pattern, Script script) { serve(pattern, std::move(script)); }

  [[nodiscard]] static std::string baseURL() { return std::string(kHost) + "/client"; }
  // The request targets (path and query, as sent) so far.
  [[nodiscard]] std::vector<std::string> targets() const;
  // Those containing `part`.
  [[nodiscard]] std::vector<std::string> targetsWith(const std::string& part) const;
  void clearTargets();
  [[nodiscard]] FakeTransport& transport() { return transport_; }

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
  static constexpr const char* kHost = "http://directory.test";

  void serve(const std::string& pattern, Script script);

  FakeTransport transport_;
  std::size_t targetsCleared_ = 0;  // requests recorded before the last clearTargets
};

}  // namespace lk::test

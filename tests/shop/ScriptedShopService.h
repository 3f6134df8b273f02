#pragma once

#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "tests/support/LoopbackHttpServer.h"

namespace lk::test {

// A loopback server answering the shop endpoints with hand-written JSON: the detail
// ("/client/shop/ID/info", plain), the album ("…/album", gzip), the reviews ("…/cmt", gzip) and
// the additional information ("…/addition", gzip, always empty), and searches ("/client/search/…",
// gzip, always empty) for the screens opened from the shop. Every request target is
// recorded in arrival order.
class ScriptedShopService {
 public:
  struct Answer {
    int status = 200;
    std::string json;
  };
  using Script = std::function<Answer(const httplib::Request& request)>;

  ScriptedShopService();

  void onInfo(Script script);
  void onAlbum(Script script);
  void onReviews(Script script);

  [[nodiscard]] std::string baseURL() const { return http_.url("/client"); }
  [[nodiscard]] std::vector<std::string> targets() const;
  [[nodiscard]] std::vector<std::string> targetsWith(const std::string& part) const;

  // A review page of `count` reviews numbered from `first`; each review's text is shortened
  // when `truncated`.
  [[nodiscard]] static std::string reviewPage(int total, int first, int count,
                                              bool truncated = false);

 private:
  void serve(const char* pattern, Script* script, bool gzip);

  mutable std::mutex mutex_;
  std::vector<std::string> targets_;
  Script info_;
  Script album_;
  Script reviews_;
  Script addition_;
  Script search_;
  LoopbackHttpServer http_;
};

}  // namespace lk::test

#include "tests/shop/ScriptedShopService.h"

#include "tests/support/Compression.h"

namespace lk::test {

ScriptedShopService::ScriptedShopService() {
  info_ = [](const httplib::Request&) { return Answer{404, "{}"}; };
  album_ = [](const httplib::Request&) {
    return Answer{200, R"({"intTotal": 0, "base": "", "arrList": []})"};
  };
  reviews_ = [](const httplib::Request&) { return Answer{200, reviewPage(0, 0, 0)}; };
  addition_ = [](const httplib::Request&) { return Answer{200, "{}"}; };
  search_ = [](const httplib::Request&) {
    return Answer{200, R"({"intTotal": 0, "base": "", "arrList": []})"};
  };
  serve(R"(/client/shop/[^/]+/info)", &info_, false);
  serve(R"(/client/shop/[^/]+/album)", &album_, true);
  serve(R"(/client/shop/[^/]+/cmt)", &reviews_, true);
  serve(R"(/client/shop/[^/]+/addition)", &addition_, true);
  serve(R"(/client/search/.*)", &search_, true);
  http_.start();
}

void ScriptedShopService::serve(const char* pattern, Script* script, bool gzip) {
  http_.server().Get(
      pattern, [this, script, gzip](const httplib::Request& req, httplib::Response& res) {
        Script run;
        {
          std::lock_guard lock(mutex_);
          targets_.push_back(req.target);
          run = *script;
        }
        const Answer answer = run(req);
        res.status = answer.status;
        res.set_content(gzip ? gzipBytes(answer.json) : answer.json, "application/octet-stream");
      });
}

void ScriptedShopService::onInfo(Script script) {
  std::lock_guard lock(mutex_);
  info_ = std::move(script);
}

void ScriptedShopService::onAlbum(Script script) {
  std::lock_guard lock(mutex_);
  album_ = std::move(script);
}

void ScriptedShopService::onReviews(Script script) {
  std::lock_guard lock(mutex_);
  reviews_ = std::move(script);
}

std::vector<std::string> ScriptedShopService::targets() const {
  std::lock_guard lock(mutex_);
  return targets_;
}

std::vector<std::string> ScriptedShopService::targetsWith(const std::string& part) const {
  std::vector<std::string> out;
  for (auto& t : targets()) {
    if (t.find(part) != std::string::npos) out.push_back(std::move(t));
  }
  return out;
}

std::string ScriptedShopService::reviewPage(int total, int first, int count, bool truncated) {
  std::string json = R"({"total": )" + std::to_string(total) + R"(, "base": "", "cmtlist": [)";
  for (int i = 0; i < count; ++i) {
    const std::string n = std::to_string(first + i);
    if (i > 0) json += ",";
    json += R"({"cmt_id": "c)" + n + R"(", "uname": "用户)" + n + R"(", "total_score": 4,
              "create_time": 1700000000, "vote_use": 0, "content": "点评)" +
            n + (truncated ? "（节选）" : "") + R"(", "is_content_trunc": )" +
            (truncated ? "true" : "false") + "}";
  }
  return json + "]}";
}

}  // namespace lk::test

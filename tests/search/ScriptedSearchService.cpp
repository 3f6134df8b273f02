#include "tests/search/ScriptedSearchService.h"

#include "tests/support/Compression.h"

namespace lk::test {

ScriptedSearchService::ScriptedSearchService() {
  const auto empty = [](const httplib::Request&) { return Answer{200, R"({"list": []})"}; };
  search_ = [](const httplib::Request&) { return Answer{200, searchAnswer(0, 0, 0)}; };
  areaTree_ = empty;
  categoryTree_ = empty;
  serve(R"(/client/search/0/q)", &search_);
  serve(R"(/client/index/\d+/citymore)", &areaTree_);
  serve(R"(/client/index/\d+/catmore)", &categoryTree_);
  http_.start();
}

void ScriptedSearchService::serve(const char* pattern, Script* script) {
  http_.server().Get(pattern, [this, script](const httplib::Request& req, httplib::Response& res) {
    Script run;
    {
      std::lock_guard lock(mutex_);
      targets_.push_back(req.target);
      run = *script;
    }
    const Answer answer = run(req);
    res.status = answer.status;
    res.set_content(gzipBytes(answer.json), "application/octet-stream");
  });
}

void ScriptedSearchService::onSearch(Script script) {
  std::lock_guard lock(mutex_);
  search_ = std::move(script);
}

void ScriptedSearchService::onAreaTree(Script script) {
  std::lock_guard lock(mutex_);
  areaTree_ = std::move(script);
}

void ScriptedSearchService::onCategoryTree(Script script) {
  std::lock_guard lock(mutex_);
  categoryTree_ = std::move(script);
}

std::vector<std::string> ScriptedSearchService::targets() const {
  std::lock_guard lock(mutex_);
  return targets_;
}

std::vector<std::string> ScriptedSearchService::targetsWith(const std::string& part) const {
  std::vector<std::string> out;
  for (auto& t : targets()) {
    if (t.find(part) != std::string::npos) out.push_back(std::move(t));
  }
  return out;
}

void ScriptedSearchService::clearTargets() {
  std::lock_guard lock(mutex_);
  targets_.clear();
}

std::string ScriptedSearchService::searchAnswer(int total, int first, int count,
                                                const std::vector<int>& areaIds,
                                                const std::vector<int>& channelIds) {
  std::string json = R"({"total": )" + std::to_string(total) + R"(, "searchlist": [)";
  for (int i = 0; i < count; ++i) {
    const std::string n = std::to_string(first + i);
    if (i > 0) json += ",";
    json += R"({"shop_id": ")" + n + R"(", "shop_name": "店)" + n +
            R"(", "total_score": 4, "address": "路)" + n +
            R"(号", "distance": 120, "taglist": "火锅 川菜", "cmt_num": 3, "average_pay": 34.5,
                "cheap_off": []})";
  }
  json += R"(], "geoarealist": [)";
  for (std::size_t i = 0; i < areaIds.size(); ++i) {
    json += (i > 0 ? "," : "") + std::string(R"({"area_id": )") + std::to_string(areaIds[i]) +
            R"(, "area_name": "x"})";
  }
  json += R"(], "channellist": [)";
  for (std::size_t i = 0; i < channelIds.size(); ++i) {
    json += (i > 0 ? "," : "") + std::string(R"({"channel_id": )") + std::to_string(channelIds[i]) +
            R"(, "channel_name": "y"})";
  }
  return json + "]}";
}

}  // namespace lk::test

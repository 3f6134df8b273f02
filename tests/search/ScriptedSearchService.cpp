#include "tests/search/ScriptedSearchService.h"

namespace lk::test {

ScriptedSearchService::ScriptedSearchService() {
  const auto empty = [](const Request&) { return Answer{200, R"({"list": []})"}; };
  onSearch([](const Request&) { return Answer{200, searchAnswer(0, 0, 0)}; });
  onAreaTree(empty);
  onCategoryTree(empty);
  onPosition([](const Request&) {
    return Answer{
        200, positionAnswer("116.403999", "39.915001", 131, "东城区", "北京市东城区王府井附近")};
  });
}

void ScriptedSearchService::serve(const std::string& pattern, Script script) {
  transport_.respond(pattern, [script = std::move(script)](const Request& request) {
    const Answer answer = script(request);
    FakeTransport::Answer reply;
    reply.status = answer.status;
    reply.body = answer.json;
    reply.encoding = FakeTransport::Body::kGzip;
    return reply;
  });
}

void ScriptedSearchService::onSearch(Script script) {
  serve(R"(/client/search/0/q)", std::move(script));
}

void ScriptedSearchService::onAreaTree(Script script) {
  serve(R"(/client/index/\d+/citymore)", std::move(script));
}

void ScriptedSearchService::onCategoryTree(Script script) {
  serve(R"(/client/index/\d+/catmore)", std::move(script));
}

void ScriptedSearchService::onPosition(Script script) {
  serve(R"(/client/user/0/pos)", std::move(script));
}

std::vector<std::string> ScriptedSearchService::targets() const {
  std::vector<std::string> out;
  const auto& requests = transport_.requests();
  for (std::size_t i = targetsCleared_; i < requests.size(); ++i)
    out.push_back(requests[i].url.substr(std::string_view(kHost).size()));
  return out;
}

std::vector<std::string> ScriptedSearchService::targetsWith(const std::string& part) const {
  std::vector<std::string> out;
  for (auto& t : targets()) {
    if (t.find(part) != std::string::npos) out.push_back(std::move(t));
  }
  return out;
}

void ScriptedSearchService::clearTargets() {
  targetsCleared_ = transport_.requests().size();
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

std::string ScriptedSearchService::positionAnswer(const std::string& x, const std::string& y,
                                                  int cityCode, const std::string& district,
                                                  const std::string& address) {
  return R"({"address": ")" + address + R"(", "point": {"x": ")" + x + R"(", "y": ")" + y +
         R"("}, "address_detail": {"city": "城", "city_code": )" + std::to_string(cityCode) +
         R"(, "district": ")" + district + R"(", "street": ""}})";
}

}  // namespace lk::test

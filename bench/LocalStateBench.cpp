// Stored settings and directory decoding: a durable keyword record (atomic file write with fsync)
// beside the same change kept in memory only, and decoding a city's area tree beside parsing it.
#include <benchmark/benchmark.h>

#include <boost/json/serialize.hpp>

#include <string>

#include "Classes/Json/JsonValue.h"
#include "Classes/LocalState/CacheCenter.h"
#include "Classes/Records/DirectoryDecoder.h"
#include "Platform/Storage/UserDefaults.h"
#include "tests/support/TestSupport.h"

namespace lk {
namespace {

// A store as a regular user has it: account, city, two full keyword histories.
void fillStore(UserDefaults& store) {
  store.setString(kUsername, "13800138000");
  store.setString(kPassword, "secret");
  store.setInteger(kCurrentCityId, 289);
  store.setString(kCurrentCityName, "上海");
  std::vector<std::string> keywords;
  for (int i = 0; i < 30; ++i)
    keywords.push_back("小笼包" + std::to_string(i));
  store.setStringArray(kAreaSearchHistory, keywords);
  store.setStringArray(kChannelSearchHistory, keywords);
}

std::vector<std::string> nextHistory(int i) {
  std::vector<std::string> keywords;
  for (int k = 0; k < 30; ++k)
    keywords.push_back("生煎" + std::to_string(i + k));
  return keywords;
}

// What a keyword record costs: the whole store is written to a temporary file, synced and
// renamed over the old one.
void BM_KeywordRecordDurable(benchmark::State& state) {
  test::TempDir dir;
  auto store = makeJsonFileUserDefaults(dir / "UserDefaults.json");
  fillStore(*store);
  int i = 0;
  for (auto _ : state)
    store->setStringArray(kAreaSearchHistory, nextHistory(++i));
}
BENCHMARK(BM_KeywordRecordDurable)->Unit(benchmark::kMicrosecond);

// The reference: the same change and serialisation without touching the disk.
void BM_KeywordRecordInMemory(benchmark::State& state) {
  test::TempDir dir;
  auto store = makeJsonFileUserDefaults(dir / "UserDefaults.json");
  fillStore(*store);
  boost::json::object values;
  for (const auto& key : store->keys())
    values[key] = *store->objectForKey(key);
  int i = 0;
  for (auto _ : state) {
    boost::json::array list;
    for (auto& k : nextHistory(++i))
      list.emplace_back(k);
    values[kAreaSearchHistory] = std::move(list);
    benchmark::DoNotOptimize(boost::json::serialize(values));
  }
}
BENCHMARK(BM_KeywordRecordInMemory)->Unit(benchmark::kMicrosecond);

// A big city's area tree: 18 districts of 25 business circles each.
std::string areaTreeAnswer() {
  std::string json = R"({"list":[)";
  for (int d = 0; d < 18; ++d) {
    if (d > 0) json += ",";
    json += R"({"id":")" + std::to_string(3000 + d) + R"(","name":"浦东新区)" + std::to_string(d) +
            R"(","list":[)";
    for (int c = 0; c < 25; ++c) {
      if (c > 0) json += ",";
      json += R"({"id":)" + std::to_string(50000 + d * 100 + c) + R"(,"name":"陆家嘴商圈)" +
              std::to_string(c) + R"("})";
    }
    json += "]}";
  }
  return json + "]}";
}

void BM_AreaTreeParseAndDecode(benchmark::State& state) {
  const std::string answer = areaTreeAnswer();
  for (auto _ : state) {
    auto v = json::parse(answer);
    benchmark::DoNotOptimize(DirectoryDecoder::decodeAreaTree(*v));
  }
}
BENCHMARK(BM_AreaTreeParseAndDecode)->Unit(benchmark::kMicrosecond);

// The reference: parsing alone.
void BM_AreaTreeParseOnly(benchmark::State& state) {
  const std::string answer = areaTreeAnswer();
  for (auto _ : state)
    benchmark::DoNotOptimize(json::parse(answer));
}
BENCHMARK(BM_AreaTreeParseOnly)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace lk

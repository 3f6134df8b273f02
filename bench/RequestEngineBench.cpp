// The request engine's hot paths: a GET answered from the response cache, and inflating a
// compressed search answer next to bare zlib on the same bytes.
#include <benchmark/benchmark.h>

#include <ctime>
#include <memory>
#include <string>
#include <unordered_map>

#include "Classes/ServiceClient/ByteBuffer.h"
#include "Classes/ServiceClient/HttpRequest.h"
#include "Classes/ServiceClient/HttpRequestCacheCenter.h"
#include "bench/BenchFixtures.h"
#include "tests/support/TestSupport.h"

namespace lk {
namespace {

// A search page as the service sends it: 15 shops with names, addresses, scores and snippets.
std::string searchAnswer() {
  std::string json = R"({"errNo":0,"total":"238","searchlist":[)";
  for (int i = 0; i < 15; ++i) {
    if (i > 0) json += ",";
    const std::string n = std::to_string(i);
    json += R"({"shop_id":")" + std::to_string(1048576 + i * 37) +
            R"(","shop_name":"<em>老王</em>面馆(人民路)" + n + R"(号店","address":"徐汇区人民路)" +
            std::to_string(100 + i) + R"(号近淮海中路","tel":"021-6432)" +
            std::to_string(1000 + i) + R"(","avg_price":")" + std::to_string(35 + i) +
            R"(","score":"4.)" + n.substr(0, 1) +
            R"(","taste":"8","env":"7","service":"7","cmt_num":")" + std::to_string(120 + i) +
            R"(","channel":"面馆","area":"徐家汇","x":"121.43)" + n + R"(512","y":"31.19)" + n +
            R"(876","distance":"0.)" + n +
            R"(","card":"1","coupon":"0","pic":"http://img.example/shop/)" + n +
            R"(.jpg","cmt":"牛肉面汤头浓郁，面条劲道，周末人多需要排队，服务员态度很好。"})";
  }
  return json + "]}";
}

class CountingDelegate : public HttpRequestDelegate {
 public:
  void requestSucceeded(HttpRequest& request) override { bytes += request.recievedData().size(); }
  std::size_t bytes = 0;
};

void BM_CachedGet(benchmark::State& state) {
  test::ScopedMainLoop loop;
  HttpRequestCacheCenter::resetSharedInstanceForTesting();
  const std::string url = "http://127.0.0.1:8080/client/search/0/q?ci=1&k=面馆&p=0&n=15";
  const std::string answer = bench::gzip(searchAnswer());
  HttpRequestCacheCenter::sharedInstance().cacheData(answer,
                                                     HttpRequest::makeRequest(url + "&tn=gz").url);
  CountingDelegate delegate;
  const auto transfersBefore = UrlTransfer::startedCount();
  for (auto _ : state) {
    HttpRequest request(&delegate, 1);
    request.requestGETWithGZip(url);
    benchmark::DoNotOptimize(request.statusCode());
  }
  if (delegate.bytes != answer.size() * state.iterations()) state.SkipWithError("missed cache");
  state.counters["transfers_started"] =
      static_cast<double>(UrlTransfer::startedCount() - transfersBefore);
  HttpRequestCacheCenter::resetSharedInstanceForTesting();
}
BENCHMARK(BM_CachedGet);

// The floor under a cached GET: one hash lookup of the same key and a copy of the same bytes.
void BM_CacheLookupAndCopyReference(benchmark::State& state) {
  std::unordered_map<std::string, std::shared_ptr<const std::string>> map;
  const std::string key =
      HttpRequest::makeRequest("http://127.0.0.1:8080/client/search/0/q?ci=1&k=面馆&p=0&n=15&tn=gz")
          .url;
  map.emplace(key, std::make_shared<const std::string>(bench::gzip(searchAnswer())));
  for (auto _ : state) {
    std::string copy;
    copy.append(*map.find(key)->second);
    benchmark::DoNotOptimize(copy);
  }
}
BENCHMARK(BM_CacheLookupAndCopyReference);

void BM_DecompressGZip(benchmark::State& state) {
  const std::string json = searchAnswer();
  const std::string compressed = bench::gzip(json);
  for (auto _ : state) {
    auto out = decompressGZip(compressed);
    benchmark::DoNotOptimize(out);
  }
  state.SetBytesProcessed(static_cast<int64_t>(json.size() * state.iterations()));
  state.counters["answer_bytes"] = static_cast<double>(json.size());
  state.counters["compressed_bytes"] = static_cast<double>(compressed.size());
}
BENCHMARK(BM_DecompressGZip);

void BM_BareZlibInflate(benchmark::State& state) {
  const std::string json = searchAnswer();
  const std::string compressed = bench::gzip(json);
  for (auto _ : state) {
    auto out = bench::bareInflate(compressed, json.size());
    benchmark::DoNotOptimize(out);
  }
  state.SetBytesProcessed(static_cast<int64_t>(json.size() * state.iterations()));
}
BENCHMARK(BM_BareZlibInflate);

// This thread's CPU time: a neighbour on a shared machine does not count against either side.
double threadSeconds() {
  timespec ts{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
  return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

// Both on the same bytes, alternating within each iteration; the ratio is of CPU time.
void BM_DecompressGZipOverBareZlib(benchmark::State& state) {
  const std::string json = searchAnswer();
  const std::string compressed = bench::gzip(json);
  double ours = 0;
  double bare = 0;
  for (auto _ : state) {
    const double t0 = threadSeconds();
    auto a = decompressGZip(compressed);
    benchmark::DoNotOptimize(a);
    const double t1 = threadSeconds();
    auto b = bench::bareInflate(compressed, json.size());
    benchmark::DoNotOptimize(b);
    const double t2 = threadSeconds();
    ours += t1 - t0;
    bare += t2 - t1;
  }
  state.counters["ratio"] = ours / bare;
}
BENCHMARK(BM_DecompressGZipOverBareZlib);

void BM_Base64PhotoUpload(benchmark::State& state) {
  std::string photo(200 * 1024, '\0');
  for (std::size_t i = 0; i < photo.size(); ++i)
    photo[i] = static_cast<char>(i * 131 + 7);
  for (auto _ : state) {
    auto text = base64EncodingWithLineLength(photo, static_cast<unsigned>(photo.size()));
    benchmark::DoNotOptimize(text);
  }
  state.SetBytesProcessed(static_cast<int64_t>(photo.size() * state.iterations()));
}
BENCHMARK(BM_Base64PhotoUpload);

}  // namespace
}  // namespace lk

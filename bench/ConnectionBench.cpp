// TCP connections a scripted session of the client opens to the stand-in service, counted from
// the client ports in the service's request log. The session runs the real request engine and
// transport: provinces and the city index, search pages, the area and category trees (asked
// for together, as the results screen does), shops' information, additions and albums, and
// their pictures, with short idle pauses between the steps. The reference is one connection, the
// physical limit; the second row drops idle connections after every answer, as the transport
// did before it kept them.
#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "Classes/Json/JsonValue.h"
#include "Classes/ServiceClient/ByteBuffer.h"
#include "Classes/ServiceClient/HttpRequest.h"
#include "Classes/ServiceClient/HttpRequestCacheCenter.h"
#include "bench/BenchFixtures.h"
#include "tests/support/ServiceLauncher.h"
#include "tests/support/TestSupport.h"

namespace lk {
namespace {

constexpr auto kPatience = std::chrono::seconds(20);

// Runs GETs through the request engine on the real-clock main loop, a batch at a time.
class Session : private HttpRequestDelegate {
 public:
  Session(DrivableRunLoop& loop, std::string origin, bool dropIdleConnections)
      : loop_(loop), origin_(std::move(origin)), dropIdle_(dropIdleConnections) {}

  // Starts every URL of the batch at once and waits for all answers; returns their bodies
  // (inflated for compressed ones), or nothing when one failed.
  std::optional<std::vector<std::string>> get(const std::vector<std::string>& paths,
                                              bool compressed = true) {
    std::vector<std::unique_ptr<HttpRequest>> requests;
    pending_ = paths.size();
    failed_ = false;
    for (const auto& path : paths) {
      requests.push_back(std::make_unique<HttpRequest>(static_cast<HttpRequestDelegate*>(this), 0));
      const std::string url = path.starts_with("http") ? path : origin_ + path;
      if (compressed) {
        requests.back()->requestGETWithGZip(url, false);
      } else {
        requests.back()->requestGET(url);
      }
      ++sent_;
    }
    if (!loop_.runUntil([&] { return pending_ == 0; }, kPatience) || failed_) return std::nullopt;
    std::vector<std::string> bodies;
    for (const auto& r : requests) {
      if (r->statusCode() != 200) return std::nullopt;
      if (!compressed) {
        bodies.push_back(r->recievedData());
      } else if (auto body = decompressGZip(r->recievedData())) {
        bodies.push_back(std::move(*body));
      } else {
        return std::nullopt;
      }
    }
    requests.clear();
    if (dropIdle_) UrlTransfer::closeIdleConnections();
    // A user reads the screen before the next tap: the transport is idle for a while.
    loop_.runUntil([] { return false; }, std::chrono::milliseconds(20));
    return bodies;
  }

  [[nodiscard]] int sent() const { return sent_; }

 private:
  void requestSucceeded(HttpRequest&) override { --pending_; }
  void requestFailed(HttpRequest&, const PlatformError&) override {
    failed_ = true;
    --pending_;
  }

  DrivableRunLoop& loop_;
  std::string origin_;
  bool dropIdle_;
  std::size_t pending_ = 0;
  bool failed_ = false;
  int sent_ = 0;
};

std::optional<boost::json::object> objectOf(const std::string& text) {
  auto v = json::parse(text);
  if (!v || !v->is_object()) return std::nullopt;
  return v->get_object();
}

// The session; returns the number of requests sent, or nothing when an answer was unusable.
std::optional<int> runSession(Session& s) {
  const std::string client = "/client";
  const std::string search = client +
                             "/search/0/q?k=%E5%BA%97&r=&ci=131&sort=1&n=15&xda_from=iPhone"
                             "&xda_page=SearchInfo&p=";
  if (!s.get({client + "/index/0/province"}) || !s.get({client + "/index/131/area"})) {
    return std::nullopt;
  }
  const auto first = s.get({search + "0"});
  if (!first) return std::nullopt;
  if (!s.get({client + "/index/131/citymore", client + "/index/131/catmore"})) return std::nullopt;
  for (int page = 1; page <= 3; ++page) {
    if (!s.get({search + std::to_string(page)})) return std::nullopt;
  }
  const auto answer = objectOf(first->front());
  const auto* shops = answer ? json::arrayMember(*answer, "searchlist") : nullptr;
  if (shops == nullptr) return std::nullopt;
  int opened = 0;
  for (const auto& item : *shops) {
    if (opened == 4) break;
    if (!item.is_object()) continue;
    const std::string id = json::stringMember(item.get_object(), "shop_id").value_or("");
    if (id.empty()) continue;
    ++opened;
    const std::string shop = client + "/shop/" + id;
    const auto info = s.get({shop + "/info?xda_from=iPhone&xda_page=ShopInfo"}, false);
    if (!info) return std::nullopt;
    if (!s.get({shop + "/addition?n=500&p=0"})) return std::nullopt;
    const auto album = s.get({shop + "/album?p=0&n=500&xda_page=ShopAlbum"});
    if (!album) return std::nullopt;
    std::vector<std::string> pictures;
    if (const auto o = objectOf(info->front())) {
      if (auto url = json::stringMember(*o, "strShopImgUrl"); url && !url->empty())
        pictures.push_back(*url);
    }
    if (const auto o = objectOf(album->front())) {
      const std::string base = json::textMember(*o, "base");
      if (const auto* list = json::arrayMember(*o, "arrList")) {
        for (const auto& entry : *list) {
          if (pictures.size() >= 3 || !entry.is_object()) break;
          pictures.push_back(base + json::textMember(entry.get_object(), "strSrc"));
        }
      }
    }
    if (!pictures.empty() && !s.get(pictures, false)) return std::nullopt;
  }
  return s.sent();
}

// The client ports of the first `lines` requests in the service's log (it writes a line once
// the answer is out, so this waits a little for the last ones).
std::optional<std::set<std::string>> connectionsInLog(const std::filesystem::path& log, int lines) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::set<std::string> ports;
    int seen = 0;
    std::istringstream in(test::readFile(log));
    std::string line;
    while (std::getline(in, line)) {
      const auto at = line.rfind("\tconn=");
      if (at == std::string::npos) continue;
      ports.insert(line.substr(at + 6));
      ++seen;
    }
    if (seen >= lines) return ports;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return std::nullopt;
}

void connectionsForSession(benchmark::State& state, bool dropIdleConnections) {
  test::TempDir scratch;
  const auto log = scratch / "requests.log";
  const auto service = bench::seededService({"--log", log.string()});
  if (!service->running()) {
    state.SkipWithError("the service did not start");
    return;
  }
  test::ScopedMainLoop loop(false);
  HttpRequestCacheCenter::resetSharedInstanceForTesting();
  UrlTransfer::closeIdleConnections();  // start cold, as a freshly launched client
  std::optional<int> requests;
  for (auto _ : state) {
    Session session(loop.loop(), service->origin(), dropIdleConnections);
    requests = runSession(session);
  }
  if (!requests) {
    state.SkipWithError("an answer of the session was unusable");
    return;
  }
  const auto ports = connectionsInLog(log, *requests);
  if (!ports) {
    state.SkipWithError("the service logged fewer requests than were sent");
    return;
  }
  state.counters["requests"] = *requests;
  state.counters["connections"] = static_cast<double>(ports->size());
  state.counters["reference_connections"] = 1;
  HttpRequestCacheCenter::resetSharedInstanceForTesting();
}

void BM_SessionConnections(benchmark::State& state) {
  connectionsForSession(state, false);
}
BENCHMARK(BM_SessionConnections)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_SessionConnectionsDroppedWhenIdle(benchmark::State& state) {
  connectionsForSession(state, true);
}
BENCHMARK(BM_SessionConnectionsDroppedWhenIdle)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace lk

// Memory of a long result list: 30 pages (450 shops) of a keyword search loaded in the results
// screen through the front end, against the stand-in service; per shop, beside the same 450
// shops decoded into a plain list of records and beside the answers' JSON text.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <httplib.h>

#include <fstream>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "Classes/Json/JsonValue.h"
#include "Classes/LocalState/CacheCenter.h"
#include "Classes/Records/ShopInfo.h"
#include "Classes/Search/SearchResultsViewController.h"
#include "Classes/ServiceClient/ByteBuffer.h"
#include "Classes/ServiceClient/HttpRequestCacheCenter.h"
#include "Classes/ServiceClient/ServiceEndpoints.h"
#include "Classes/Shell/lokavoAppDelegate.h"
#include "Platform/UI/Application.h"
#include "Platform/UI/NavigationController.h"
#include "Platform/UI/TabBarController.h"
#include "bench/BenchFixtures.h"
#include "frontends/commands/CliSession.h"
#include "tests/support/ScopedClientStorage.h"
#include "tests/support/ServiceLauncher.h"
#include "tests/support/TestSupport.h"

namespace lk {
namespace {

constexpr int kPages = 30;
constexpr const char* kShop = "%E5%BA%97";  // "店": 480 shops in 北京

// Bytes handed out by the allocator and still in use.
double heapInUse() {
  malloc_trim(0);
  return static_cast<double>(mallinfo2().uordblks);
}

double residentBytes() {
  std::ifstream statm("/proc/self/statm");
  long pages = 0;
  long resident = 0;
  statm >> pages >> resident;
  return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE));
}

SearchResultsViewController* shownResults(cli::CliSession& session) {
  auto* stack = dynamic_cast<ui::NavigationController*>(
      session.appDelegate().tabBarController()->selectedViewController());
  return stack == nullptr ? nullptr
                          : dynamic_cast<SearchResultsViewController*>(stack->topViewController());
}

void BM_ResultListMemory(benchmark::State& state) {
  const auto service = bench::seededService();
  if (!service->running()) {
    state.SkipWithError("the service did not start");
    return;
  }
  // The same pages as the screen asks for, for the references.
  std::vector<std::string> pages;
  {
    httplib::Client client("127.0.0.1", service->port());
    for (int p = 0; p < kPages; ++p) {
      auto res = client.Get("/client/search/0/q?k=" + std::string(kShop) + "&r=&ci=131&sort=1&p=" +
                            std::to_string(p) + "&n=15&xda_from=iPhone&xda_page=SearchInfo&tn=gz");
      if (res) pages.push_back(res->body);
    }
  }
  double screenHeap = 0;
  double screenResident = 0;
  double listHeap = 0;
  double jsonBytes = 0;
  std::size_t shown = 0;
  std::size_t listed = 0;
  for (auto _ : state) {
    {
      test::ScopedMainLoop loop(false);
      test::ScopedClientStorage storage;
      ui::Application::resetSharedInstanceForTesting();
      HttpRequestCacheCenter::resetSharedInstanceForTesting();
      ServiceEndpoints::setServiceURL(service->baseURL());
      std::ostream discard(nullptr);
      // Located, as a user is: a refused position would leave its alert over the list.
      cli::CliOptions located;
      located.position = cli::CliOptions::Position{39.915, 116.404};
      cli::CliSession session(discard, located);
      session.start();
      const double heap0 = heapInUse();
      const double resident0 = residentBytes();
      session.execute("search 店");
      for (int p = 1; p < kPages; ++p)
        session.execute("pull-up");
      if (auto* results = shownResults(session)) shown = results->resultList().size();
      screenHeap = heapInUse() - heap0;
      screenResident = residentBytes() - resident0;
      session.finish();
    }
    ServiceEndpoints::setServiceURL("");
    HttpRequestCacheCenter::resetSharedInstanceForTesting();
    CacheCenter::resetSharedInstanceForTesting();
    ui::Application::resetSharedInstanceForTesting();

    // The reference: the same shops decoded into a plain list and nothing else.
    const double heap0 = heapInUse();
    std::vector<std::shared_ptr<ShopInfo>> list;
    jsonBytes = 0;
    for (const auto& page : pages) {
      const auto body = decompressGZip(page);
      if (!body) continue;
      jsonBytes += static_cast<double>(body->size());
      const auto root = json::parse(*body);
      if (!root || !root->is_object()) continue;
      if (const auto* items = json::arrayMember(root->get_object(), "searchlist")) {
        for (const auto& item : *items) {
          if (item.is_object()) list.push_back(ShopInfo::fromSearchItem(item.get_object()));
        }
      }
    }
    listHeap = heapInUse() - heap0;
    listed = list.size();
  }
  if (shown != static_cast<std::size_t>(kPages) * 15 || listed != shown) {
    state.SkipWithError(("the screen holds " + std::to_string(shown) + " shops").c_str());
    return;
  }
  const double n = static_cast<double>(shown);
  state.counters["shops"] = n;
  state.counters["screen_heap_per_shop"] = screenHeap / n;
  state.counters["screen_rss_per_shop"] = screenResident / n;
  state.counters["list_heap_per_shop"] = listHeap / n;
  state.counters["json_per_shop"] = jsonBytes / n;
  state.counters["ratio_list"] = screenHeap / listHeap;
  state.counters["ratio_json"] = screenHeap / jsonBytes;
}
BENCHMARK(BM_ResultListMemory)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace lk

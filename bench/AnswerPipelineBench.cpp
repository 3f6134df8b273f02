// From the bytes on the wire to records, on real answers of the stand-in service: a 15-shop
// search page (compressed) to `ShopInfo` rows, and a shop information answer (plain) to a detail
// record. Two references run side by side on the same bytes: bare zlib plus the fastest JSON
// parser available (the practical limit), and the straightforward decoder a peer would write with
// a popular JSON library.
#include <benchmark/benchmark.h>

#include <httplib.h>
#include <simdjson.h>
#include <nlohmann/json.hpp>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Classes/Json/JsonDocument.h"
#include "Classes/Json/JsonValue.h"
#include "Classes/Pictures/LKImageCache.h"
#include "Classes/Records/ShopInfo.h"
#include "Classes/ServiceClient/ByteBuffer.h"
#include "Platform/Image/Image.h"
#include "Platform/Storage/AppDirectories.h"
#include "bench/BenchFixtures.h"
#include "bench/SideBySide.h"
#include "tests/support/ServiceLauncher.h"
#include "tests/support/TestSupport.h"

namespace lk {
namespace {

struct CapturedAnswers {
  std::string searchPage;  // as received: gzip
  std::size_t searchPageInflated = 0;
  std::string shopInformation;  // as received: plain JSON
};

// Asks a freshly started service once per process; empty answers when it cannot be reached.
const CapturedAnswers& capturedAnswers() {
  static const CapturedAnswers answers = [] {
    CapturedAnswers a;
    const auto service = bench::seededService();
    if (!service->running()) return a;
    httplib::Client client("127.0.0.1", service->port());
    // "店" in 北京: a full page, names and addresses with highlight marks, coupon stubs.
    if (auto res = client.Get("/client/search/0/q?k=%E5%BA%97&r=&ci=131&sort=1&p=0&n=15"
                              "&xda_from=iPhone&xda_page=SearchInfo&tn=gz")) {
      a.searchPage = res->body;
    }
    // The shop with the most reviews, as the detail screen asks for it.
    if (auto res = client.Get("/client/shop/1000001/info?xda_from=iPhone&xda_page=ShopInfo")) {
      a.shopInformation = res->body;
    }
    if (auto body = decompressGZip(a.searchPage)) a.searchPageInflated = body->size();
    return a;
  }();
  return answers;
}

std::shared_ptr<ShopInfo> oursShopInformation(const std::string& received) {
  auto shop = std::make_shared<ShopInfo>();
  if (const auto document = json::Document::parse(received); document) {
    shop->decodeShopInformation(document->root());
  }
  return shop;
}

// The practical limit: one inflate into a buffer of the known size, then a DOM parse with a
// parser that is reused (its buffers are warm), touching every shop of the list.
std::size_t limitSearchPage(simdjson::dom::parser& parser, const std::string& received,
                            std::size_t inflated) {
  const std::string body = bench::bareInflate(received, inflated);
  simdjson::dom::element root;
  if (parser.parse(body).get(root) != simdjson::SUCCESS) return 0;
  simdjson::dom::array list;
  if (root["searchlist"].get(list) != simdjson::SUCCESS) return 0;
  std::size_t n = 0;
  for (auto item : list) {
    std::string_view id;
    if (item["shop_id"].get(id) == simdjson::SUCCESS) n += id.size();
  }
  return n;
}

std::size_t limitShopInformation(simdjson::dom::parser& parser, const std::string& received) {
  simdjson::dom::element root;
  if (parser.parse(received).get(root) != simdjson::SUCCESS) return 0;
  std::string_view id;
  return root["intShopId"].get(id) == simdjson::SUCCESS ? id.size() : 0;
}

// What a peer would write: parse into a DOM, copy members into plain structs with the library's
// conversions, strip the highlight marks with find/erase.
struct PeerCoupon {
  std::string id, title;
};
struct PeerShop {
  std::string id, name, address;
  std::optional<std::string> tags;
  float score = 0, distance = 0, average = 0;
  int reviews = 0;
  std::vector<PeerCoupon> coupons;
};
struct PeerPerson {
  std::string name, content, picture, photo;
  double score = 0, created = 0;
};
struct PeerDetail : PeerShop {
  int status = 0, cityId = 0, broadcasts = 0;
  std::string landmark, hours, bus, price, picture, recommendName;
  float x = 0, y = 0;
  nlohmann::json meta, scores, recommend, specials;
  std::vector<std::string> phones;
  std::vector<PeerPerson> lastReview, lastBroadcast;
  bool want = false, been = false;
};

std::string text(const nlohmann::json& o, const char* key) {
  auto it = o.find(key);
  if (it == o.end()) return {};
  if (it->is_string()) return it->get<std::string>();
  if (it->is_number()) return it->dump();
  return {};
}
double number(const nlohmann::json& o, const char* key) {
  auto it = o.find(key);
  if (it == o.end()) return 0;
  if (it->is_number()) return it->get<double>();
  if (it->is_string()) return std::atof(it->get_ref<const std::string&>().c_str());
  return 0;
}
std::string withoutMarks(std::string s) {
  for (const char* mark : {"<em>", "</em>"}) {
    const std::string m = mark;
    for (auto at = s.find(m); at != std::string::npos; at = s.find(m, at))
      s.erase(at, m.size());
  }
  for (auto [entity, c] : {std::pair{"&amp;", "&"}, {"&quot;", "\""}, {"&#39;", "'"}}) {
    const std::string e = entity;
    for (auto at = s.find(e); at != std::string::npos; at = s.find(e, at + 1))
      s.replace(at, e.size(), c);
  }
  return s;
}

std::vector<PeerShop> peerSearchPage(const std::string& received, std::size_t inflated) {
  std::vector<PeerShop> shops;
  const auto root = nlohmann::json::parse(bench::bareInflate(received, inflated), nullptr, false);
  if (root.is_discarded() || !root.contains("searchlist")) return shops;
  for (const auto& item : root["searchlist"]) {
    PeerShop s;
    s.name = withoutMarks(text(item, "shop_name"));
    s.id = text(item, "shop_id");
    s.score = static_cast<float>(number(item, "total_score"));
    s.address = text(item, "address");
    s.distance = static_cast<float>(number(item, "distance"));
    if (auto tags = text(item, "taglist"); !tags.empty()) s.tags = tags;
    s.reviews = static_cast<int>(number(item, "cmt_num"));
    s.average = static_cast<float>(number(item, "average_pay"));
    if (auto it = item.find("cheap_off"); it != item.end() && it->is_array()) {
      for (const auto& c : *it)
        s.coupons.push_back({text(c, "id"), text(c, "title")});
    }
    shops.push_back(std::move(s));
  }
  return shops;
}

PeerDetail peerShopInformation(const std::string& received) {
  PeerDetail d;
  const auto root = nlohmann::json::parse(received, nullptr, false);
  if (root.is_discarded() || !root.is_object()) return d;
  d.status = static_cast<int>(number(root, "intStauts"));
  d.id = text(root, "intShopId");
  d.name = text(root, "strName");
  d.cityId = static_cast<int>(number(root, "intCityId"));
  d.address = text(root, "strAddress");
  d.landmark = text(root, "strLandmark");
  d.x = static_cast<float>(number(root, "fltPositionX"));
  d.y = static_cast<float>(number(root, "fltPositionY"));
  d.hours = text(root, "strHours");
  d.bus = text(root, "strBusInfo");
  d.price = text(root, "strPriceInfo");
  d.average = static_cast<float>(number(root, "fltAverage"));
  d.score = static_cast<float>(number(root, "fltScoreTotal"));
  if (auto it = root.find("arrMeta"); it != root.end() && it->is_object()) d.meta = *it;
  if (auto it = root.find("arrTel"); it != root.end() && it->is_array()) {
    for (const auto& t : *it) {
      if (t.is_string()) d.phones.push_back(t.get<std::string>());
    }
  }
  d.scores = root.value("arrScore", nlohmann::json());
  d.picture = text(root, "strShopImgUrl");
  d.recommendName = text(root, "strRecommendName");
  d.recommend = root.value("arrRecommend", nlohmann::json());
  d.specials = root.value("arrSpecialList", nlohmann::json());
  d.reviews = static_cast<int>(number(root, "intCmtCount"));
  d.broadcasts = static_cast<int>(number(root, "intMiniCmtCount"));
  const std::string base = text(root, "base");
  if (auto it = root.find("arrCmtList"); it != root.end() && it->is_array() && !it->empty()) {
    const auto& c = (*it)[0];
    d.lastReview.push_back({text(c, "uname"),
                            text(c, "content"),
                            base + text(c, "pic_url_s"),
                            {},
                            number(c, "total_score"),
                            0});
  }
  if (auto it = root.find("arrMiniCmtList"); it != root.end() && it->is_array() && !it->empty()) {
    const auto& b = (*it)[0];
    d.lastBroadcast.push_back({text(b, "uname"), text(b, "content"), base + text(b, "pic_url_s"),
                               base + text(b, "img"), 0, number(b, "create_time")});
  }
  d.want = root.value("want", false);
  d.been = root.value("been", false);
  if (auto it = root.find("arrCouponList"); it != root.end() && it->is_array()) {
    for (const auto& c : *it)
      d.coupons.push_back({text(c, "strId"), text(c, "strTopic")});
  }
  return d;
}

// The authors' pictures and the photo of a shop information answer go into the picture store,
// as on a second visit, so that decoding starts no transfer.
void storeShopPictures(const std::string& answer) {
  const auto root = json::parse(answer);
  if (!root || !root->is_object()) return;
  const auto& o = root->get_object();
  const std::string base = json::textMember(o, "base");
  for (const char* list : {"arrCmtList", "arrMiniCmtList"}) {
    const auto* entries = json::arrayMember(o, list);
    if (entries == nullptr || entries->empty() || !(*entries)[0].is_object()) continue;
    for (const char* member : {"pic_url_s", "img"}) {
      const std::string path = json::textMember((*entries)[0].get_object(), member);
      if (!path.empty()) {
        LKImageCache::sharedImageCache().storeImage(std::make_shared<Image>(1, 1), base + path,
                                                    false);
      }
    }
  }
}

void BM_SearchPageToShopInfo(benchmark::State& state) {
  const auto& a = capturedAnswers();
  if (a.searchPage.empty() || bench::decodeSearchPage(a.searchPage).size() != 15 ||
      peerSearchPage(a.searchPage, a.searchPageInflated).size() != 15) {
    state.SkipWithError("no search page from the service");
    return;
  }
  simdjson::dom::parser parser;
  bench::sideBySide(
      state, [&] { benchmark::DoNotOptimize(bench::decodeSearchPage(a.searchPage)); },
      [&] {
        benchmark::DoNotOptimize(limitSearchPage(parser, a.searchPage, a.searchPageInflated));
      },
      [&] { benchmark::DoNotOptimize(peerSearchPage(a.searchPage, a.searchPageInflated)); });
  state.counters["received_bytes"] = static_cast<double>(a.searchPage.size());
  state.counters["inflated_bytes"] = static_cast<double>(a.searchPageInflated);
}
BENCHMARK(BM_SearchPageToShopInfo);

void BM_ShopInformationToDetailRecord(benchmark::State& state) {
  const auto& a = capturedAnswers();
  if (a.shopInformation.empty()) {
    state.SkipWithError("no shop information from the service");
    return;
  }
  test::ScopedMainLoop loop;
  test::TempDir dir;
  AppDirectories::setCacheDirectory(dir.path());
  LKImageCache::resetSharedInstanceForTesting();
  storeShopPictures(a.shopInformation);
  if (oursShopInformation(a.shopInformation)->shopId() != "1000001") {
    state.SkipWithError("decoding failed");
    return;
  }
  simdjson::dom::parser parser;
  bench::sideBySide(
      state, [&] { benchmark::DoNotOptimize(oursShopInformation(a.shopInformation)); },
      [&] { benchmark::DoNotOptimize(limitShopInformation(parser, a.shopInformation)); },
      [&] { benchmark::DoNotOptimize(peerShopInformation(a.shopInformation)); });
  state.counters["received_bytes"] = static_cast<double>(a.shopInformation.size());
  LKImageCache::resetSharedInstanceForTesting();
  AppDirectories::setCacheDirectory({});
}
BENCHMARK(BM_ShopInformationToDetailRecord);

}  // namespace
}  // namespace lk

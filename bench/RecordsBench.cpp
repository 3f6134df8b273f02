// Decoding service answers into records, next to a bare inflate plus a bare JSON parse of the
// same bytes; and the picture store's memory and disk hits.
#include <benchmark/benchmark.h>

#include <boost/json/parse.hpp>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "Classes/Json/JsonDocument.h"
#include "Classes/Json/JsonValue.h"
#include "Classes/Pictures/LKImageCache.h"
#include "Classes/Records/ShopInfo.h"
#include "Classes/ServiceClient/ByteBuffer.h"
#include "Platform/Image/ImageCodec.h"
#include "Platform/Storage/AppDirectories.h"
#include "bench/BenchFixtures.h"
#include "tests/support/TestSupport.h"

namespace lk {
namespace {

// A search page of 15 shops as the service sends it (highlighted names, tags, coupon stubs).
std::string searchAnswer() {
  std::string json = R"j({"errNo":0,"total":"238","searchlist":[)j";
  for (int i = 0; i < 15; ++i) {
    const std::string n = std::to_string(i);
    if (i > 0) json += ",";
    json += R"j({"shop_id":")j" + std::to_string(1048576 + i * 37) +
            R"j(","shop_name":"<em>老王</em>面馆(人民路))j" + n +
            R"j(号店 &amp; 小吃","address":"徐汇区人民路)j" + std::to_string(100 + i) +
            R"j(号近淮海中路","total_score":"4.)j" + n.substr(0, 1) + R"j(","distance":")j" +
            std::to_string(120 + 35 * i) + R"j(","taglist":"面馆 小吃 牛肉面","cmt_num":")j" +
            std::to_string(120 + i) + R"j(","average_pay":")j" + std::to_string(35 + i) +
            R"j(","cheap_off":[{"title":"凭券九折","id":")j" + std::to_string(9000 + i) +
            R"j("}]})j";
  }
  return json + "]}";
}

// A shop information answer with every member, the latest review and broadcast and coupons.
std::string shopAnswer() {
  return R"j({"intStauts":1,"intShopId":"1048576","strName":"老王面馆(人民路店)","intCityId":"1",
    "strAddress":"徐汇区人民路100号近淮海中路","strLandmark":"徐家汇","fltPositionX":"121.43512",
    "fltPositionY":"31.19876","strHours":"10:00-22:00","strBusInfo":"乘15路、42路到人民路站下",
    "strPriceInfo":"人均35元","fltAverage":"35","fltScoreTotal":"4.5",
    "arrMeta":{"停车":"有","刷卡":"可以","包间":"无"},
    "arrTel":["021-64321000，021-64321001"," 13900000000 "],
    "arrScore":{"口味":"8","环境":"7","服务":"7"},"strShopImgUrl":"",
    "strRecommendName":"推荐菜","arrRecommend":["牛肉面","","葱油拌面","小馄饨"],
    "arrSpecialList":[{"title":"周末特价","content":"牛肉面买一送一"}],
    "intCmtCount":"128","intMiniCmtCount":"12","base":"bench-cached:",
    "arrCmtList":[{"uname":"吃货小王","total_score":"4.5","content":"牛肉面汤头浓郁，面条劲道，周末人多需要排队。","pic_url_s":"u/1.jpg"}],
    "arrMiniCmtList":[{"uname":"阿明","content":"现在人很多，排队二十分钟","create_time":"1277915400","pic_url_s":"u/2.jpg","img":"b/3.jpg"}],
    "want":false,"been":"1",
    "arrCouponList":[{"strId":"c1","strTopic":"凭券九折","strType":"优惠券"},{"strId":"c2","strTopic":"周末活动","strType":"活动"}]})j";
}

// The reference: one inflate into a buffer of the known size, then a plain parse.
boost::json::value bareInflateAndParse(const std::string& compressed, std::size_t size) {
  boost::json::error_code ec;
  return boost::json::parse(bench::bareInflate(compressed, size), ec);
}

std::shared_ptr<ShopInfo> decodeShopAnswer(const std::string& compressed) {
  auto shop = std::make_shared<ShopInfo>();
  const auto body = decompressGZip(compressed);
  if (!body) return shop;
  const auto document = json::Document::parse(*body);
  if (document && document->root().isObject()) shop->decodeShopInformation(document->root());
  return shop;
}

// Runs ours and the reference alternately in each iteration, so that a busy neighbour on a
// shared machine skews both alike; reports the ratio.
template <typename Ours, typename Reference>
void alternate(benchmark::State& state, Ours ours, Reference reference) {
  using Clock = std::chrono::steady_clock;
  Clock::duration oursTime{};
  Clock::duration referenceTime{};
  for (auto _ : state) {
    const auto t0 = Clock::now();
    ours();
    const auto t1 = Clock::now();
    reference();
    const auto t2 = Clock::now();
    oursTime += t1 - t0;
    referenceTime += t2 - t1;
  }
  const double iterations = static_cast<double>(state.iterations());
  state.counters["ours_us"] =
      std::chrono::duration<double, std::micro>(oursTime).count() / iterations;
  state.counters["bare_us"] =
      std::chrono::duration<double, std::micro>(referenceTime).count() / iterations;
  state.counters["ratio"] = std::chrono::duration<double>(oursTime).count() /
                            std::chrono::duration<double>(referenceTime).count();
}

void BM_SearchAnswerToShopInfo(benchmark::State& state) {
  const std::string json = searchAnswer();
  const std::string compressed = bench::gzip(json);
  if (bench::decodeSearchPage(compressed).size() != 15) state.SkipWithError("decoding failed");
  alternate(
      state, [&] { benchmark::DoNotOptimize(bench::decodeSearchPage(compressed)); },
      [&] { benchmark::DoNotOptimize(bareInflateAndParse(compressed, json.size())); });
  state.counters["answer_bytes"] = static_cast<double>(json.size());
}
BENCHMARK(BM_SearchAnswerToShopInfo);

void BM_ShopAnswerToDetailRecord(benchmark::State& state) {
  test::ScopedMainLoop loop;
  test::TempDir dir;
  AppDirectories::setCacheDirectory(dir.path());
  LKImageCache::resetSharedInstanceForTesting();
  // The authors' pictures and the photo are already stored, as on a second visit: decoding
  // starts no transfer.
  for (const char* url : {"bench-cached:u/1.jpg", "bench-cached:u/2.jpg", "bench-cached:b/3.jpg"}) {
    LKImageCache::sharedImageCache().storeImage(std::make_shared<Image>(1, 1), url, false);
  }
  const std::string json = shopAnswer();
  const std::string compressed = bench::gzip(json);
  if (decodeShopAnswer(compressed)->arrTel().size() != 3) state.SkipWithError("decoding failed");
  alternate(
      state, [&] { benchmark::DoNotOptimize(decodeShopAnswer(compressed)); },
      [&] { benchmark::DoNotOptimize(bareInflateAndParse(compressed, json.size())); });
  state.counters["answer_bytes"] = static_cast<double>(json.size());
  LKImageCache::resetSharedInstanceForTesting();
  AppDirectories::setCacheDirectory({});
}
BENCHMARK(BM_ShopAnswerToDetailRecord);

void BM_PictureCacheMemoryHit(benchmark::State& state) {
  test::TempDir dir;
  LKImageCache cache(dir.path());
  const std::string key = "http://127.0.0.1:8080/pic/user/1048576_s.jpg";
  cache.storeImage(bench::avatarPicture(), key, false);
  for (auto _ : state)
    benchmark::DoNotOptimize(cache.imageFromKey(key));
}
BENCHMARK(BM_PictureCacheMemoryHit);

void BM_PictureCacheDiskHit(benchmark::State& state) {
  test::TempDir dir;
  LKImageCache cache(dir.path());
  const std::string key = "http://127.0.0.1:8080/pic/user/1048576_s.jpg";
  const ImagePtr image = bench::avatarPicture();
  cache.storeImage(image, ImageCodec::encodePng(*image), key, true);
  cache.waitUntilDiskJobsAreFinished();
  for (auto _ : state) {
    cache.clearMemory();
    benchmark::DoNotOptimize(cache.imageFromKey(key));
  }
  state.counters["file_bytes"] = static_cast<double>(ImageCodec::encodePng(*image).size());
}
BENCHMARK(BM_PictureCacheDiskHit);

}  // namespace
}  // namespace lk

// The floors under the picture store's hits, on the same picture as its benchmarks: a memory hit
// is at best one hash lookup and a shared handle copied; a disk hit is at best reading the file
// and decoding it.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <unordered_map>

#include "Platform/Image/Image.h"
#include "Platform/Image/ImageCodec.h"
#include "bench/BenchFixtures.h"
#include "tests/support/TestSupport.h"

namespace lk {
namespace {

void BM_PictureMemoryHitReference(benchmark::State& state) {
  std::unordered_map<std::string, std::shared_ptr<const Image>> map;
  const std::string key = "http://127.0.0.1:8080/pic/user/1048576_s.jpg";
  map.emplace(key, bench::avatarPicture());
  for (auto _ : state) {
    std::shared_ptr<const Image> found = map.find(key)->second;
    benchmark::DoNotOptimize(found);
  }
}
BENCHMARK(BM_PictureMemoryHitReference);

void BM_PictureDiskHitReference(benchmark::State& state) {
  test::TempDir dir;
  const auto file = dir / "picture";
  test::writeFile(file, ImageCodec::encodePng(*bench::avatarPicture()));
  for (auto _ : state) {
    auto image = ImageCodec::decode(test::readFile(file));
    benchmark::DoNotOptimize(image);
  }
}
BENCHMARK(BM_PictureDiskHitReference);

}  // namespace
}  // namespace lk

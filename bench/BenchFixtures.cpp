#include "bench/BenchFixtures.h"

#include <zlib.h>

#include <cstdint>
#include <stdexcept>
#include <utility>

#include "Classes/Json/JsonDocument.h"
#include "Classes/Json/JsonValue.h"
#include "Classes/ServiceClient/ByteBuffer.h"

namespace lk::bench {

std::string gzip(const std::string& data) {
  z_stream zs{};
  deflateInit2(&zs, Z_DEFAULT_COMPRESSION, Z_DEFLATED, 31, 8, Z_DEFAULT_STRATEGY);
  std::string out(deflateBound(&zs, static_cast<uLong>(data.size())), '\0');
  zs.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
  zs.avail_in = static_cast<uInt>(data.size());
  zs.next_out = reinterpret_cast<Bytef*>(out.data());
  zs.avail_out = static_cast<uInt>(out.size());
  if (deflate(&zs, Z_FINISH) != Z_STREAM_END) throw std::runtime_error("deflate failed");
  out.resize(zs.total_out);
  deflateEnd(&zs);
  return out;
}

std::string bareInflate(const std::string& compressed, std::size_t size) {
  std::string out(size, '\0');
  z_stream zs{};
  inflateInit2(&zs, 31);
  zs.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(compressed.data()));
  zs.avail_in = static_cast<uInt>(compressed.size());
  zs.next_out = reinterpret_cast<Bytef*>(out.data());
  zs.avail_out = static_cast<uInt>(out.size());
  inflate(&zs, Z_FINISH);
  inflateEnd(&zs);
  return out;
}

std::vector<std::shared_ptr<ShopInfo>> decodeSearchPage(const std::string& compressed) {
  std::vector<std::shared_ptr<ShopInfo>> shops;
  const auto body = decompressGZip(compressed);
  if (!body) return shops;
  const auto document = json::Document::parse(*body);
  if (!document || !document->root().isObject()) return shops;
  const json::Node list = json::arrayMember(document->root(), "searchlist");
  shops.reserve(list.size());
  for (const json::Node item : list.elements())
    shops.push_back(ShopInfo::fromSearchItem(item));
  return shops;
}

std::unique_ptr<test::ServiceLauncher> seededService(std::vector<std::string> arguments) {
  test::ServiceLauncher::Options options;
  options.arguments = std::move(arguments);
  options.templateDatabase = test::ServiceLauncher::sharedTemplate();
  return std::make_unique<test::ServiceLauncher>(options);
}

std::shared_ptr<Image> avatarPicture() {
  auto image = std::make_shared<Image>(100, 100);
  for (int y = 0; y < 100; ++y) {
    for (int x = 0; x < 100; ++x) {
      image->setPixel(x, y,
                      (static_cast<std::uint32_t>(x * 2) << 24) |
                          (static_cast<std::uint32_t>(y * 2) << 16) | 0x80FFu);
    }
  }
  return image;
}

}  // namespace lk::bench

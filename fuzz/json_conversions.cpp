// Feeds arbitrary bytes to the JSON parser, every member conversion and every directory decoder.
// None may crash, throw, overflow or invoke undefined behaviour.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "Classes/Json/JsonValue.h"
#include "Classes/Records/DirectoryDecoder.h"

namespace {

void convertAll(const lk::json::value& v, int depth) {
  (void)lk::json::toInt(v);
  (void)lk::json::toInt64(v);
  (void)lk::json::toDouble(v);
  (void)lk::json::toFloat(v);
  (void)lk::json::toBool(v);
  (void)lk::json::toString(v);
  if (depth > 8) return;
  if (const auto* o = v.if_object()) {
    for (const auto& kv : *o) {
      (void)lk::json::intMember(*o, kv.key());
      (void)lk::json::textMember(*o, kv.key());
      (void)lk::json::boolMember(*o, kv.key());
      (void)lk::json::floatMember(*o, kv.key());
      (void)lk::json::arrayMember(*o, kv.key());
      (void)lk::json::objectMember(*o, kv.key());
      convertAll(kv.value(), depth + 1);
    }
  } else if (const auto* a = v.if_array()) {
    for (const auto& item : *a)
      convertAll(item, depth + 1);
  }
}

void decodeAll(const lk::json::value& v) {
  using lk::DirectoryDecoder;
  (void)DirectoryDecoder::decodeProvinceIndex(v);
  (void)DirectoryDecoder::decodeCityList(v);
  (void)DirectoryDecoder::decodeAreaTree(v);
  (void)DirectoryDecoder::decodeChannelTree(v);
  (void)DirectoryDecoder::decodeSearchAreas(v);
  (void)DirectoryDecoder::decodeSearchChannels(v);
  auto index = DirectoryDecoder::decodeCityIndex(v);
  (void)lk::Channel::getHotChannel(index.allCategories);
  (void)DirectoryDecoder::decodeHotCityTable(v);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  (void)lk::json::intFromText(text);
  (void)lk::json::int64FromText(text);
  (void)lk::json::doubleFromText(text);
  (void)lk::json::boolFromText(text);
  if (auto v = lk::json::parse(text)) {
    convertAll(*v, 0);
    decodeAll(*v);
  }
  return 0;
}

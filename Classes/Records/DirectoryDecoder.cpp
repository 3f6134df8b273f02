#include "Classes/Records/DirectoryDecoder.h"

#include <string_view>

#include "Classes/Json/JsonValue.h"

namespace lk {

namespace {

template <typename Record>
std::shared_ptr<Record> node(json::Node o, std::string_view idKey, std::string_view nameKey) {
  return std::make_shared<Record>(json::intMember(o, idKey), json::stringMember(o, nameKey));
}

// The object nodes of `list` (an array member of `answer`), decoded in order.
template <typename Record>
std::vector<std::shared_ptr<Record>> nodes(json::Node answer, std::string_view listKey,
                                           std::string_view idKey = "id",
                                           std::string_view nameKey = "name") {
  std::vector<std::shared_ptr<Record>> out;
  const json::Node list = json::arrayMember(answer, listKey);
  out.reserve(list.size());
  for (const json::Node item : list.elements()) {
    if (item.isObject()) out.push_back(node<Record>(item, idKey, nameKey));
  }
  return out;
}

// Nodes with their children from the inner "list" of each.
template <typename Record>
std::vector<std::shared_ptr<Record>> tree(json::Node answer) {
  std::vector<std::shared_ptr<Record>> out;
  const json::Node list = json::arrayMember(answer, "list");
  out.reserve(list.size());
  for (const json::Node item : list.elements()) {
    if (!item.isObject()) continue;
    auto parent = node<Record>(item, "id", "name");
    auto children = nodes<Record>(item, "list");
    parent->setChildren({children.begin(), children.end()});
    out.push_back(std::move(parent));
  }
  return out;
}

std::vector<std::string> names(json::Node o, std::string_view key) {
  std::vector<std::string> out;
  for (const json::Node item : json::arrayMember(o, key).elements()) {
    if (item.isString()) out.emplace_back(item.getString());
  }
  return out;
}

}  // namespace

DirectoryDecoder::ProvinceIndex DirectoryDecoder::decodeProvinceIndex(json::Node answer) {
  ProvinceIndex index;
  index.hot = nodes<Area>(answer, "hot");
  std::vector<std::shared_ptr<Area>> sar2911;
  std::vector<std::shared_ptr<Area>> sar2912;
  for (auto& area : nodes<Area>(answer, "list")) {
    if (area->id() == kSarId2911) {
      sar2911.push_back(std::move(area));
    } else if (area->id() == kSarId2912) {
      sar2912.push_back(std::move(area));
    } else {
      index.provinces.push_back(std::move(area));
    }
  }
  index.provinces.insert(index.provinces.end(), sar2912.begin(), sar2912.end());
  index.provinces.insert(index.provinces.end(), sar2911.begin(), sar2911.end());
  return index;
}

std::vector<std::shared_ptr<Area>> DirectoryDecoder::decodeCityList(json::Node answer) {
  return nodes<Area>(answer, "list");
}

std::vector<std::shared_ptr<Area>> DirectoryDecoder::decodeAreaTree(json::Node answer) {
  auto districts = tree<Area>(answer);
  for (auto& district : districts)
    district->setHasChildren(!district->children().empty());
  return districts;
}

std::vector<std::shared_ptr<Channel>> DirectoryDecoder::decodeChannelTree(json::Node answer) {
  return tree<Channel>(answer);
}

std::vector<std::shared_ptr<Area>> DirectoryDecoder::decodeSearchAreas(json::Node answer) {
  return nodes<Area>(answer, "geoarealist", "area_id", "area_name");
}

std::vector<std::shared_ptr<Channel>> DirectoryDecoder::decodeSearchChannels(json::Node answer) {
  return nodes<Channel>(answer, "channellist", "channel_id", "channel_name");
}

DirectoryDecoder::CityIndex DirectoryDecoder::decodeCityIndex(json::Node answer) {
  CityIndex index;
  for (auto& name : names(answer, "area")) {
    index.areas.push_back(std::make_shared<Area>(Area::kAllAreaId, std::move(name)));
  }
  index.hotCategories = names(answer, "cat");
  index.allCategories = names(answer, "all_cat");
  return index;
}

DirectoryDecoder::ProvinceIndex DirectoryDecoder::decodeProvinceIndex(
    const boost::json::value& answer) {
  return decodeProvinceIndex(json::Node(answer));
}

std::vector<std::shared_ptr<Area>> DirectoryDecoder::decodeCityList(
    const boost::json::value& answer) {
  return decodeCityList(json::Node(answer));
}

std::vector<std::shared_ptr<Area>> DirectoryDecoder::decodeAreaTree(
    const boost::json::value& answer) {
  return decodeAreaTree(json::Node(answer));
}

std::vector<std::shared_ptr<Channel>> DirectoryDecoder::decodeChannelTree(
    const boost::json::value& answer) {
  return decodeChannelTree(json::Node(answer));
}

std::vector<std::shared_ptr<Area>> DirectoryDecoder::decodeSearchAreas(
    const boost::json::value& answer) {
  return decodeSearchAreas(json::Node(answer));
}

std::vector<std::shared_ptr<Channel>> DirectoryDecoder::decodeSearchChannels(
    const boost::json::value& answer) {
  return decodeSearchChannels(json::Node(answer));
}

DirectoryDecoder::CityIndex DirectoryDecoder::decodeCityIndex(const boost::json::value& answer) {
  return decodeCityIndex(json::Node(answer));
}

std::vector<std::shared_ptr<Area>> DirectoryDecoder::decodeHotCityTable(
    const boost::json::value& table) {
  std::vector<std::shared_ptr<Area>> out;
  const auto* o = table.if_object();
  if (o == nullptr) return out;
  out.reserve(o->size());
  for (const auto& kv : *o) {
    out.push_back(std::make_shared<Area>(json::toInt(kv.value()), std::string(kv.key())));
  }
  return out;
}

}  // namespace lk

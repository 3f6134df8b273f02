#include "Classes/Records/DirectoryDecoder.h"

#include <string_view>

#include "Classes/Json/JsonValue.h"

namespace lk {

namespace {

template <typename Node>
std::shared_ptr<Node> node(const json::object& o, std::string_view idKey,
                           std::string_view nameKey) {
  return std::make_shared<Node>(json::intMember(o, idKey), json::stringMember(o, nameKey));
}

// The object nodes of `list` (an array member of `answer`), decoded in order.
template <typename Node>
std::vector<std::shared_ptr<Node>> nodes(const json::value& answer, std::string_view listKey,
                                         std::string_view idKey = "id",
                                         std::string_view nameKey = "name") {
  std::vector<std::shared_ptr<Node>> out;
  const auto* o = answer.if_object();
  const auto* list = o != nullptr ? json::arrayMember(*o, listKey) : nullptr;
  if (list == nullptr) return out;
  out.reserve(list->size());
  for (const auto& item : *list) {
    if (const auto* n = item.if_object()) out.push_back(node<Node>(*n, idKey, nameKey));
  }
  return out;
}

// Nodes with their children from the inner "list" of each.
template <typename Node>
std::vector<std::shared_ptr<Node>> tree(const json::value& answer) {
  std::vector<std::shared_ptr<Node>> out;
  const auto* o = answer.if_object();
  const auto* list = o != nullptr ? json::arrayMember(*o, "list") : nullptr;
  if (list == nullptr) return out;
  out.reserve(list->size());
  for (const auto& item : *list) {
    const auto* n = item.if_object();
    if (n == nullptr) continue;
    auto parent = node<Node>(*n, "id", "name");
    auto children = nodes<Node>(item, "list");
    parent->setChildren({children.begin(), children.end()});
    out.push_back(std::move(parent));
  }
  return out;
}

std::vector<std::string> names(const json::object& o, std::string_view key) {
  std::vector<std::string> out;
  const auto* list = json::arrayMember(o, key);
  if (list == nullptr) return out;
  for (const auto& item : *list) {
    if (const auto* s = item.if_string()) out.emplace_back(*s);
  }
  return out;
}

}  // namespace

DirectoryDecoder::ProvinceIndex DirectoryDecoder::decodeProvinceIndex(
    const boost::json::value& answer) {
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

std::vector<std::shared_ptr<Area>> DirectoryDecoder::decodeCityList(
    const boost::json::value& answer) {
  return nodes<Area>(answer, "list");
}

std::vector<std::shared_ptr<Area>> DirectoryDecoder::decodeAreaTree(
    const boost::json::value& answer) {
  auto districts = tree<Area>(answer);
  for (auto& district : districts)
    district->setHasChildren(!district->children().empty());
  return districts;
}

std::vector<std::shared_ptr<Channel>> DirectoryDecoder::decodeChannelTree(
    const boost::json::value& answer) {
  return tree<Channel>(answer);
}

std::vector<std::shared_ptr<Area>> DirectoryDecoder::decodeSearchAreas(
    const boost::json::value& answer) {
  return nodes<Area>(answer, "geoarealist", "area_id", "area_name");
}

std::vector<std::shared_ptr<Channel>> DirectoryDecoder::decodeSearchChannels(
    const boost::json::value& answer) {
  return nodes<Channel>(answer, "channellist", "channel_id", "channel_name");
}

DirectoryDecoder::CityIndex DirectoryDecoder::decodeCityIndex(const boost::json::value& answer) {
  CityIndex index;
  const auto* o = answer.if_object();
  if (o == nullptr) return index;
  for (auto& name : names(*o, "area")) {
    index.areas.push_back(std::make_shared<Area>(Area::kAllAreaId, std::move(name)));
  }
  index.hotCategories = names(*o, "cat");
  index.allCategories = names(*o, "all_cat");
  return index;
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

#pragma once

#include <boost/json/value.hpp>

#include <memory>
#include <string>
#include <vector>

#include "Classes/Json/JsonNode.h"
#include "Classes/Records/Area.h"
#include "Classes/Records/Channel.h"

namespace lk {

// Decodes the JSON shapes in which the service sends directory nodes. Every decoder takes the
// parsed answer (a view of a parsed document, or a Boost.JSON value), keeps the service's order,
// reads "id" through the shared integer conversion (a number or decimal text; anything else is 0)
// and skips entries that are not objects. An answer of the wrong shape decodes to empty lists.
class DirectoryDecoder {
 public:
  // Province ids of the two special administrative regions, which behave as cities.
  static constexpr int kSarId2911 = 2911;
  static constexpr int kSarId2912 = 2912;

  struct ProvinceIndex {
    std::vector<std::shared_ptr<Area>> hot;        // "hot"
    std::vector<std::shared_ptr<Area>> provinces;  // "list", 2912 and 2911 moved to the end
  };

  // {"hot": [{"id","name"}...], "list": [{"id","name"}...]}
  [[nodiscard]] static ProvinceIndex decodeProvinceIndex(json::Node answer);
  [[nodiscard]] static ProvinceIndex decodeProvinceIndex(const boost::json::value& answer);
  // {"list": [{"id","name"}...]}
  [[nodiscard]] static std::vector<std::shared_ptr<Area>> decodeCityList(json::Node answer);
  [[nodiscard]] static std::vector<std::shared_ptr<Area>> decodeCityList(
      const boost::json::value& answer);
  // {"list": [{"id","name","list": [{"id","name"}...]}...]}: districts with their business
  // circles as children; a district with circles has hasChildren set. A null "list" is no areas.
  [[nodiscard]] static std::vector<std::shared_ptr<Area>> decodeAreaTree(json::Node answer);
  [[nodiscard]] static std::vector<std::shared_ptr<Area>> decodeAreaTree(
      const boost::json::value& answer);
  // {"list": [{"id","name","list": [{"id","name"}...]}...]}: categories with sub-categories.
  [[nodiscard]] static std::vector<std::shared_ptr<Channel>> decodeChannelTree(json::Node answer);
  [[nodiscard]] static std::vector<std::shared_ptr<Channel>> decodeChannelTree(
      const boost::json::value& answer);

  // Facets of a search answer: "geoarealist" [{"area_id","area_name"}...] and "channellist"
  // [{"channel_id","channel_name"}...].
  [[nodiscard]] static std::vector<std::shared_ptr<Area>> decodeSearchAreas(json::Node answer);
  [[nodiscard]] static std::vector<std::shared_ptr<Area>> decodeSearchAreas(
      const boost::json::value& answer);
  [[nodiscard]] static std::vector<std::shared_ptr<Channel>> decodeSearchChannels(
      json::Node answer);
  [[nodiscard]] static std::vector<std::shared_ptr<Channel>> decodeSearchChannels(
      const boost::json::value& answer);

  struct CityIndex {
    std::vector<std::shared_ptr<Area>> areas;  // "area": names as Areas with id 0
    std::vector<std::string> hotCategories;    // "cat"
    std::vector<std::string> allCategories;    // "all_cat"
  };
  // {"area": [names], "cat": [names], "all_cat": [names]}; entries that are not text are skipped.
  [[nodiscard]] static CityIndex decodeCityIndex(json::Node answer);
  [[nodiscard]] static CityIndex decodeCityIndex(const boost::json::value& answer);

  // The hot-city table: {"<city name>": <city id>, ...} in the table's key order.
  [[nodiscard]] static std::vector<std::shared_ptr<Area>> decodeHotCityTable(
      const boost::json::value& table);
};

}  // namespace lk

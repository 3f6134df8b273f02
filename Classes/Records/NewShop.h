#pragma once

#include <memory>
#include <optional>
#include <string>

#include "Classes/Records/Area.h"
#include "Classes/Records/Channel.h"

namespace lk {

// A shop proposed by the user, edited in place by the add-shop form, its address screen, the
// pickers and the map page. Nothing of it is stored on the device.
class NewShop {
 public:
  // A position on the service's map; (0, 0) until the user marks one.
  struct Location {
    double x = 0;
    double y = 0;
  };

  NewShop() = default;
  explicit NewShop(std::string shopName) : name(std::move(shopName)) {}

  std::string name;
  std::shared_ptr<Area> city;
  std::shared_ptr<Area> area;  // a district of `city`
  std::optional<std::string> address;
  std::shared_ptr<Channel> channel;
  Location location;
  std::string tel;

  // Both coordinates set: the position goes with the proposal.
  [[nodiscard]] bool hasLocation() const { return location.x != 0 && location.y != 0; }
};

}  // namespace lk

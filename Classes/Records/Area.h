#pragma once

#include <memory>

#include "Classes/Records/LKObject.h"

namespace lk {

// A place: province, city, district or business circle.
class Area : public LKObject {
 public:
  using LKObject::LKObject;

  // True when the area has sub-areas the user can drill into (set while decoding an area tree).
  [[nodiscard]] bool hasChildren() const { return hasChildren_; }
  void setHasChildren(bool has) { hasChildren_ = has; }

  // The first row of every area filter: id 0, "全部区域".
  [[nodiscard]] static std::shared_ptr<Area> allArea();

  static constexpr int kAllAreaId = 0;

 private:
  bool hasChildren_ = false;
};

}  // namespace lk

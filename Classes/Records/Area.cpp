#include "Classes/Records/Area.h"

namespace lk {

std::shared_ptr<Area> Area::allArea() {
  return std::make_shared<Area>(kAllAreaId, "全部区域");
}

}  // namespace lk

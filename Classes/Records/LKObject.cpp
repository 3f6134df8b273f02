#include "Classes/Records/LKObject.h"

namespace lk {

std::shared_ptr<LKObject> LKObject::copy() const {
  return std::make_shared<LKObject>(id_, name_);
}

}  // namespace lk

#include "service/ServiceContext.h"

#include <chrono>

namespace lk::service {

std::int64_t ServiceContext::now() {
  return std::chrono::duration_cast<std::chrono::seconds>(
             std::chrono::system_clock::now().time_since_epoch())
      .count();
}

}  // namespace lk::service

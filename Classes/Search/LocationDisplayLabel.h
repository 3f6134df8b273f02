#pragma once

#include <optional>
#include <string>

#include "Platform/UI/Label.h"

namespace lk {

// The one-line bar above the nearby list that says where the user is.
class LocationDisplayLabel : public ui::Label {
 public:
  static constexpr double kHeight = 24;
  static constexpr const char* kUnknownText = "当前位置: ...";

  explicit LocationDisplayLabel(ui::Rect frame = {0, 0, 320, kHeight});

  // "当前位置:" with the address, or the waiting text while none is known.
  void setAddress(const std::optional<std::string>& address);
};

}  // namespace lk

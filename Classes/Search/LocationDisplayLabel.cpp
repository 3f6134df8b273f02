#include "Classes/Search/LocationDisplayLabel.h"

namespace lk {

LocationDisplayLabel::LocationDisplayLabel(ui::Rect frame) : ui::Label(frame, kUnknownText) {
  setFont(ui::Font::system(13));
  setTextColor(ui::Color::white());
  setBackgroundColor(ui::Color::gray(0, 0.7));
}

void LocationDisplayLabel::setAddress(const std::optional<std::string>& address) {
  setText(address && !address->empty() ? "当前位置:" + *address : kUnknownText);
}

}  // namespace lk

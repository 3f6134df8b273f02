#include "Platform/UI/SegmentedControl.h"

namespace lk::ui {

SegmentedControl::SegmentedControl(std::vector<std::string> titles, Rect frame)
    : View(frame), titles_(std::move(titles)) {}

void SegmentedControl::setSelectedSegmentIndex(int index) {
  selected_ = index >= 0 && index < numberOfSegments() ? index : -1;
}

bool SegmentedControl::tapSegment(int index) {
  if (index < 0 || index >= numberOfSegments() || !isUserInteractionEnabled() ||
      !isVisibleInTree()) {
    return false;
  }
  if (index == selected_) return true;
  selected_ = index;
  auto keep = weak_from_this().lock();
  if (action_) {
    Action action = action_;
    action(*this);
  }
  return true;
}

bool SegmentedControl::tapSegment(const std::string& title) {
  for (int i = 0; i < numberOfSegments(); ++i) {
    if (titles_[static_cast<std::size_t>(i)] == title) return tapSegment(i);
  }
  return false;
}

std::string SegmentedControl::dumpLine() const {
  std::string line = "segments:";
  for (int i = 0; i < numberOfSegments(); ++i) {
    line += i == 0 ? " " : " | ";
    const std::string& t = titles_[static_cast<std::size_t>(i)];
    line += i == selected_ ? "[" + t + "]" : t;
  }
  return line;
}

}  // namespace lk::ui

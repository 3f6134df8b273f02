#pragma once

#include <functional>
#include <string>
#include <vector>

#include "Platform/UI/View.h"

namespace lk::ui {

// A row of mutually exclusive segments. The value-changed action runs when a finger picks a
// segment other than the selected one.
class SegmentedControl : public View {
 public:
  using Action = std::function<void(SegmentedControl&)>;

  explicit SegmentedControl(std::vector<std::string> titles, Rect frame = {});

  [[nodiscard]] const std::vector<std::string>& titles() const { return titles_; }
  [[nodiscard]] int numberOfSegments() const { return static_cast<int>(titles_.size()); }
  // -1 when none is selected.
  [[nodiscard]] int selectedSegmentIndex() const { return selected_; }
  // Programmatic: no action.
  void setSelectedSegmentIndex(int index);
  void setAction(Action action) { action_ = std::move(action); }

  // A finger on segment `index` (or the segment titled `title`).
  bool tapSegment(int index);
  bool tapSegment(const std::string& title);

  // "segments: [搜索] | 周边" with the selected one in brackets.
  [[nodiscard]] std::string dumpLine() const override;

 private:
  std::vector<std::string> titles_;
  int selected_ = -1;
  Action action_;
};

}  // namespace lk::ui

#pragma once

namespace lk {

class VSPickerView;

// Receives the sliding picker's two toolbar buttons. Both callbacks are optional.
class VSPickerViewTarget {
 public:
  VSPickerViewTarget() = default;
  VSPickerViewTarget(const VSPickerViewTarget&) = delete;
  VSPickerViewTarget& operator=(const VSPickerViewTarget&) = delete;
  virtual ~VSPickerViewTarget() = default;

  virtual void finishPick(VSPickerView& /*picker*/) {}
  virtual void cancelPick(VSPickerView& /*picker*/) {}
};

}  // namespace lk

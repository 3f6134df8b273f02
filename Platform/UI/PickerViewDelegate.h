#pragma once

#include <string>

namespace lk::ui {

class PickerView;

// Supplies row titles and hears wheel turns. Every callback is optional.
class PickerViewDelegate {
 public:
  PickerViewDelegate() = default;
  PickerViewDelegate(const PickerViewDelegate&) = delete;
  PickerViewDelegate& operator=(const PickerViewDelegate&) = delete;
  virtual ~PickerViewDelegate() = default;

  virtual std::string pickerViewTitleForRow(PickerView& /*picker*/, int /*row*/,
                                            int /*component*/) {
    return {};
  }
  virtual void pickerViewDidSelectRow(PickerView& /*picker*/, int /*row*/, int /*component*/) {}
};

}  // namespace lk::ui

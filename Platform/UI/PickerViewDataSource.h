#pragma once

namespace lk::ui {

class PickerView;

// Supplies a picker's wheels (columns) and their row counts.
class PickerViewDataSource {
 public:
  PickerViewDataSource() = default;
  PickerViewDataSource(const PickerViewDataSource&) = delete;
  PickerViewDataSource& operator=(const PickerViewDataSource&) = delete;
  virtual ~PickerViewDataSource() = default;

  virtual int numberOfComponentsInPickerView(PickerView& /*picker*/) { return 0; }
  virtual int pickerViewNumberOfRowsInComponent(PickerView& /*picker*/, int /*component*/) {
    return 0;
  }
};

}  // namespace lk::ui

#pragma once

#include <vector>

#include "Platform/UI/PickerViewDataSource.h"
#include "Platform/UI/PickerViewDelegate.h"
#include "Platform/UI/View.h"

namespace lk::ui {

// Wheels of rows, one selected row per wheel. A wheel's selection always lies within its rows:
// reloading or selecting clamps it, and a wheel without rows reports -1.
class PickerView : public View {
 public:
  explicit PickerView(Rect frame = {0, 0, 320, 216});

  // Both must outlive the picker or be cleared.
  void setDataSource(PickerViewDataSource* dataSource) { dataSource_ = dataSource; }
  void setPickerDelegate(PickerViewDelegate* delegate) { pickerDelegate_ = delegate; }
  [[nodiscard]] PickerViewDataSource* dataSource() const { return dataSource_; }
  [[nodiscard]] PickerViewDelegate* pickerDelegate() const { return pickerDelegate_; }
  bool showsSelectionIndicator = true;

  [[nodiscard]] int numberOfComponents() const { return static_cast<int>(rows_.size()); }
  [[nodiscard]] int numberOfRowsInComponent(int component) const;
  // -1 for a wheel without rows or a component that does not exist.
  [[nodiscard]] int selectedRowInComponent(int component) const;
  // Selects (clamped to the wheel's rows); the delegate is not told.
  void selectRow(int row, int component, bool animated);
  virtual void reloadAllComponents();
  virtual void reloadComponent(int component);

  // A finger turning wheel `component` to `row` (clamped): selects and tells the delegate.
  bool turnWheel(int component, int row);
  [[nodiscard]] std::string titleForRow(int row, int component) const;

  // "picker: title | title" of the selected rows.
  [[nodiscard]] std::string dumpLine() const override;
  // The summary line, then each wheel's rows numbered from 0 with the selected one marked. A
  // wheel of more than kDumpAllRows rows shows kDumpWindow rows around the selection and counts
  // the ones left out.
  void dump(DumpWriter& out) const override;
  static constexpr int kDumpAllRows = 11;
  static constexpr int kDumpWindow = 9;

 private:
  void fetchCounts();

  PickerViewDataSource* dataSource_ = nullptr;
  PickerViewDelegate* pickerDelegate_ = nullptr;
  std::vector<int> rows_;
  std::vector<int> selected_;
};

}  // namespace lk::ui

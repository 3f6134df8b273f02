#include "Platform/UI/PickerView.h"

#include <algorithm>

#include "Platform/UI/DumpWriter.h"

namespace lk::ui {

PickerView::PickerView(Rect frame) : View(frame) {
  setBackgroundColor(Color::white());
}

void PickerView::fetchCounts() {
  int n =
      dataSource_ != nullptr ? std::max(0, dataSource_->numberOfComponentsInPickerView(*this)) : 0;
  rows_.assign(static_cast<std::size_t>(n), 0);
  selected_.resize(static_cast<std::size_t>(n), 0);
  for (int c = 0; c < n; ++c) {
    rows_[c] = std::max(0, dataSource_->pickerViewNumberOfRowsInComponent(*this, c));
    selected_[c] = rows_[c] == 0 ? 0 : std::clamp(selected_[c], 0, rows_[c] - 1);
  }
}

int PickerView::numberOfRowsInComponent(int component) const {
  if (component < 0 || component >= numberOfComponents()) return 0;
  return rows_[component];
}

int PickerView::selectedRowInComponent(int component) const {
  if (component < 0 || component >= numberOfComponents() || rows_[component] == 0) return -1;
  return selected_[component];
}

void PickerView::selectRow(int row, int component, bool /*animated*/) {
  if (component < 0 || component >= numberOfComponents()) return;
  selected_[component] = rows_[component] == 0 ? 0 : std::clamp(row, 0, rows_[component] - 1);
}

void PickerView::reloadAllComponents() {
  fetchCounts();
}

void PickerView::reloadComponent(int component) {
  if (component < 0 || component >= numberOfComponents() || dataSource_ == nullptr) {
    fetchCounts();
    return;
  }
  rows_[component] = std::max(0, dataSource_->pickerViewNumberOfRowsInComponent(*this, component));
  selectRow(selected_[component], component, false);
}

bool PickerView::turnWheel(int component, int row) {
  if (!isUserInteractionEnabled() || numberOfRowsInComponent(component) == 0) return false;
  auto keep = weak_from_this().lock();
  selectRow(row, component, true);
  if (pickerDelegate_ != nullptr)
    pickerDelegate_->pickerViewDidSelectRow(*this, selected_[component], component);
  return true;
}

std::string PickerView::titleForRow(int row, int component) const {
  if (pickerDelegate_ == nullptr || row < 0 || row >= numberOfRowsInComponent(component)) return {};
  return pickerDelegate_->pickerViewTitleForRow(const_cast<PickerView&>(*this), row, component);
}

std::string PickerView::dumpLine() const {
  std::string line = "picker:";
  for (int c = 0; c < numberOfComponents(); ++c) {
    line += c == 0 ? " " : " | ";
    int row = selectedRowInComponent(c);
    line += row < 0 ? "(none)" : titleForRow(row, c);
  }
  return line;
}

void PickerView::dump(DumpWriter& out) const {
  if (isHidden() || alpha() <= 0) return;
  out.line(dumpLine());
  out.indent();
  for (int c = 0; c < numberOfComponents(); ++c) {
    const int rows = numberOfRowsInComponent(c);
    const int selected = selectedRowInComponent(c);
    out.line("wheel " + std::to_string(c) + ": " + std::to_string(rows) +
             (rows == 1 ? " row" : " rows"));
    int first = 0;
    int last = rows;
    if (rows > kDumpAllRows) {
      first = std::clamp(std::max(selected, 0) - kDumpWindow / 2, 0, rows - kDumpWindow);
      last = first + kDumpWindow;
    }
    out.indent();
    if (first > 0) out.line("(" + std::to_string(first) + " more above)");
    for (int r = first; r < last; ++r) {
      out.line(std::to_string(r) + " " + titleForRow(r, c) + (r == selected ? " (selected)" : ""));
    }
    if (last < rows) out.line("(" + std::to_string(rows - last) + " more below)");
    out.outdent();
  }
  dumpSubviews(out);
  out.outdent();
}

}  // namespace lk::ui

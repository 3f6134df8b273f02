#pragma once

#include <memory>
#include <vector>

#include "Platform/UI/BarButtonItem.h"
#include "Platform/UI/View.h"

namespace lk::ui {

// A bar of items (buttons and spaces).
class Toolbar : public View {
 public:
  enum class BarStyle { kDefault, kBlack };

  explicit Toolbar(Rect frame = {0, 0, 320, 44});

  [[nodiscard]] const std::vector<std::shared_ptr<BarButtonItem>>& items() const { return items_; }
  void setItems(std::vector<std::shared_ptr<BarButtonItem>> items) { items_ = std::move(items); }
  BarStyle barStyle = BarStyle::kDefault;

  // A finger on the item labelled `label` (enabled ones only).
  bool tapItem(const std::string& label);

  // "toolbar: [a] [b]": spaces and items without visible text are left out.
  [[nodiscard]] std::string dumpLine() const override;

 private:
  std::vector<std::shared_ptr<BarButtonItem>> items_;
};

}  // namespace lk::ui

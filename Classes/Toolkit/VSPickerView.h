#pragma once

#include <memory>
#include <string>
#include <vector>

#include "Classes/Toolkit/VSPickerViewTarget.h"
#include "Platform/UI/PickerView.h"
#include "Platform/UI/Toolbar.h"

namespace lk {

// The wheel picker that slides up from the bottom with a "取消" / "完成" toolbar. "完成" records
// the rows of every wheel; "取消" turns the wheels back to the recorded rows. One picker may
// serve trees of different shapes, so recorded rows are kept within each wheel's rows.
class VSPickerView : public ui::PickerView {
 public:
  static constexpr double kPickerHeight = 216;
  static constexpr double kToolbarHeight = 44;
  static constexpr double kSlideSeconds = 0.3;

  // The frame is replaced: picker and toolbar start far below the screen.
  explicit VSPickerView(ui::Rect ignored = {});
  ~VSPickerView() override;

  void setTarget(VSPickerViewTarget* target) { target_ = target; }
  [[nodiscard]] VSPickerViewTarget* target() const { return target_; }
  // The selectors of the original interface, kept for the owner; the callbacks go to the target.
  void setFinishAction(std::string name) { finishAction_ = std::move(name); }
  [[nodiscard]] const std::string& finishAction() const { return finishAction_; }
  void setCancelAction(std::string name) { cancelAction_ = std::move(name); }
  [[nodiscard]] const std::string& cancelAction() const { return cancelAction_; }

  [[nodiscard]] const std::shared_ptr<ui::Toolbar>& toolbar() const { return toolbar_; }
  // The rows recorded at the last "完成", one per wheel (empty without wheels), each within the
  // rows its wheel has now.
  [[nodiscard]] std::vector<int> selectedIndexPath() const;
  void setSelectedIndexPath(std::vector<int> rows);
  // Records row 0 for every wheel.
  void initIndexPath();

  void showInView(const ui::View& view, bool animated);
  void hideWithAnimation(bool animated);
  [[nodiscard]] bool isShown() const { return superview() != nullptr; }
  void cancelAction();
  void finishAction();

  // A new tree: recorded rows beyond the new wheels' rows are brought within them. (Reloading
  // one wheel, as dependent wheels do while turning, keeps the record: "取消" needs it.)
  void reloadAllComponents() override;

 private:
  void clampRecorded();

  VSPickerViewTarget* target_ = nullptr;
  std::shared_ptr<ui::Toolbar> toolbar_;
  std::vector<int> selectedIndexPath_;
  std::string finishAction_;
  std::string cancelAction_;
};

}  // namespace lk

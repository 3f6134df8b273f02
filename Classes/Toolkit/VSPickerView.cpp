#include "Classes/Toolkit/VSPickerView.h"

#include <algorithm>

#include "Platform/UI/Application.h"
#include "Platform/UI/ViewAnimator.h"
#include "Platform/UI/Window.h"

namespace lk {

namespace {
constexpr double kOffScreen = 2000;
}  // namespace

VSPickerView::VSPickerView(ui::Rect /*ignored*/)
    : ui::PickerView(ui::Rect{0, kOffScreen, 320, kPickerHeight}) {
  toolbar_ = std::make_shared<ui::Toolbar>(ui::Rect{0, kOffScreen, 320, kToolbarHeight});
  toolbar_->barStyle = ui::Toolbar::BarStyle::kBlack;
  auto spacer =
      ui::BarButtonItem::withTitle(std::string(45, ' '), ui::BarButtonItem::Style::kBordered, {});
  spacer->setEnabled(false);
  toolbar_->setItems(
      {ui::BarButtonItem::withTitle("取消", ui::BarButtonItem::Style::kBordered,
                                    [this](ui::BarButtonItem&) { cancelAction(); }),
       spacer, ui::BarButtonItem::flexibleSpace(),
       ui::BarButtonItem::withTitle("完成", ui::BarButtonItem::Style::kBordered,
                                    [this](ui::BarButtonItem&) { finishAction(); })});
  initIndexPath();
}

VSPickerView::~VSPickerView() {
  // The toolbar's buttons point at this picker; the toolbar may still sit in a window.
  toolbar_->setItems({});
  toolbar_->removeFromSuperview();
}

void VSPickerView::initIndexPath() {
  selectedIndexPath_.assign(static_cast<std::size_t>(numberOfComponents()), 0);
}

void VSPickerView::setSelectedIndexPath(std::vector<int> rows) {
  selectedIndexPath_ = std::move(rows);
  clampRecorded();
}

void VSPickerView::clampRecorded() {
  for (std::size_t c = 0; c < selectedIndexPath_.size(); ++c) {
    int rows = numberOfRowsInComponent(static_cast<int>(c));
    selectedIndexPath_[c] = rows == 0 ? 0 : std::clamp(selectedIndexPath_[c], 0, rows - 1);
  }
}

void VSPickerView::reloadAllComponents() {
  ui::PickerView::reloadAllComponents();
  clampRecorded();
}

std::vector<int> VSPickerView::selectedIndexPath() const {
  std::vector<int> rows = selectedIndexPath_;
  for (std::size_t c = 0; c < rows.size(); ++c) {
    int count = numberOfRowsInComponent(static_cast<int>(c));
    rows[c] = count == 0 ? 0 : std::clamp(rows[c], 0, count - 1);
  }
  return rows;
}

void VSPickerView::showInView(const ui::View& view, bool animated) {
  ui::Window* window = ui::Application::shared().keyWindow();
  if (window == nullptr) return;
  double appHeight = ui::Application::shared().applicationFrame().height();
  double pickerY = appHeight - kPickerHeight + 20;
  double viewHeight = view.frame().height();
  auto self = std::static_pointer_cast<ui::View>(shared_from_this());
  if (animated) {
    setFrame(ui::Rect{0, viewHeight + kToolbarHeight, 320, kPickerHeight});
    toolbar_->setFrame(ui::Rect{0, viewHeight, 320, kToolbarHeight});
  } else {
    setFrame(ui::Rect{0, pickerY, 320, kPickerHeight});
    toolbar_->setFrame(ui::Rect{0, pickerY - kToolbarHeight, 320, kToolbarHeight});
  }
  window->addSubview(toolbar_);
  window->addSubview(self);
  if (!animated) return;
  ui::ViewAnimator::animate(self, kSlideSeconds,
                            {.frame = ui::Rect{0, pickerY, 320, kPickerHeight}}, {},
                            ui::Animation::Curve::kEaseInOut, "slide");
  ui::ViewAnimator::animate(toolbar_, kSlideSeconds,
                            {.frame = ui::Rect{0, pickerY - kToolbarHeight, 320, kToolbarHeight}},
                            {}, ui::Animation::Curve::kEaseInOut, "slide");
}

void VSPickerView::hideWithAnimation(bool animated) {
  auto self = std::static_pointer_cast<ui::View>(shared_from_this());
  if (!animated) {
    toolbar_->removeFromSuperview();
    removeFromSuperview();
    return;
  }
  double appHeight = ui::Application::shared().applicationFrame().height();
  std::weak_ptr<ui::View> weakSelf = self;
  std::weak_ptr<ui::View> weakBar = toolbar_;
  ui::ViewAnimator::animate(
      self, kSlideSeconds,
      {.frame = ui::Rect{0, appHeight + 20 + kToolbarHeight, 320, kPickerHeight}},
      [weakSelf, weakBar](bool finished) {
        if (!finished) return;  // shown again meanwhile
        if (auto bar = weakBar.lock()) bar->removeFromSuperview();
        if (auto picker = weakSelf.lock()) picker->removeFromSuperview();
      },
      ui::Animation::Curve::kEaseInOut, "slide");
  ui::ViewAnimator::animate(toolbar_, kSlideSeconds,
                            {.frame = ui::Rect{0, appHeight + 20, 320, kToolbarHeight}}, {},
                            ui::Animation::Curve::kEaseInOut, "slide");
}

void VSPickerView::cancelAction() {
  auto keep = weak_from_this().lock();
  for (int c = 0; c < numberOfComponents(); ++c) {
    // A wheel's rows may depend on the wheels left of it, which were just turned back.
    reloadComponent(c);
    int row = c < static_cast<int>(selectedIndexPath_.size()) ? selectedIndexPath_[c] : 0;
    selectRow(row, c, false);  // clamped to the wheel's rows
  }
  if (target_ != nullptr) target_->cancelPick(*this);
}

void VSPickerView::finishAction() {
  auto keep = weak_from_this().lock();
  selectedIndexPath_.clear();
  for (int c = 0; c < numberOfComponents(); ++c) {
    selectedIndexPath_.push_back(std::max(0, selectedRowInComponent(c)));
  }
  if (target_ != nullptr) target_->finishPick(*this);
}

}  // namespace lk

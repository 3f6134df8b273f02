#pragma once

#include <memory>
#include <string>

#include "Platform/UI/ImageView.h"
#include "Platform/UI/Label.h"

namespace lk {

// The modal progress box of submissions: a 160 × 160 box with a running animation and a prompt,
// ended by a success or failure icon, after which it fades away and removes itself. The owner
// may release this object right after hideWithStatus: the box finishes on its own.
class LKLoadingView {
 public:
  static constexpr double kBoxSize = 160;
  static constexpr int kSpinnerFrames = 24;  // "loading_load1" ... "loading_load24"

  // `container` may be null: the box then goes on the application's first window.
  LKLoadingView(std::shared_ptr<ui::View> container, const std::string& loadingText);
  LKLoadingView(const LKLoadingView&) = delete;
  LKLoadingView& operator=(const LKLoadingView&) = delete;

  void show();
  void hideWithStatus(bool success, const std::string& text);
  // The end of the hiding animation: the box stays invisible and leaves its superview.
  void animationDidStop(bool finished);

  [[nodiscard]] const std::shared_ptr<ui::ImageView>& loading() const { return loading_; }
  [[nodiscard]] const std::shared_ptr<ui::Label>& promtLabel() const { return promtLabel_; }
  [[nodiscard]] const std::shared_ptr<ui::ImageView>& spinner() const { return spinner_; }
  [[nodiscard]] const std::shared_ptr<ui::View>& container() const { return container_; }

 private:
  std::shared_ptr<ui::View> container_;
  std::shared_ptr<ui::ImageView> loading_;
  std::shared_ptr<ui::Label> promtLabel_;
  std::shared_ptr<ui::ImageView> spinner_;
};

}  // namespace lk

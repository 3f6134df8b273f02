#pragma once

#include <memory>
#include <string>

#include "Platform/UI/ImageView.h"
#include "Platform/UI/Label.h"

namespace lk {

// The full-area prompt over an empty list. It takes the touches, so the list under it cannot
// be used.
class LKNodataView : public ui::ImageView {
 public:
  // x, y and width come from `frame`; the height is always 416.
  LKNodataView(ui::Rect frame, const std::string& prompt);

  void setPrompt(const std::string& prompt) { label_->setText(prompt); }
  [[nodiscard]] const std::shared_ptr<ui::Label>& label() const { return label_; }

 private:
  std::shared_ptr<ui::Label> label_;
};

}  // namespace lk

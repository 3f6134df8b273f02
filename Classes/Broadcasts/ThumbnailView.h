#pragma once

#include <memory>

#include "Platform/UI/Button.h"
#include "Platform/UI/Image.h"
#include "Platform/UI/ImageView.h"
#include "Platform/UI/View.h"

namespace lk {

// The attached photo of a broadcast being written, small, with a remove button at its corner.
// The button, or a tap on the picture while cancelButtonEnabled, posts kBroadcastRemoveImage.
class ThumbnailView : public ui::View {
 public:
  static constexpr ui::Size kSize{60, 60};
  static constexpr const char* kRemoveImage = "thumbnail_remove";

  ThumbnailView(ui::Rect frame, ui::Image image, bool withRemoveButton);

  [[nodiscard]] const ui::Image& image() const { return imageView_->image(); }
  void setImage(ui::Image image);
  // Null when made without a remove button.
  [[nodiscard]] const std::shared_ptr<ui::Button>& cancelButton() const { return cancelButton_; }
  [[nodiscard]] bool cancelButtonEnabled() const { return cancelButtonEnabled_; }
  void setCancelButtonEnabled(bool enabled);

  [[nodiscard]] std::string dumpLine() const override;

 private:
  static void postRemove();

  std::shared_ptr<ui::ImageView> imageView_;
  std::shared_ptr<ui::Button> cancelButton_;
  bool cancelButtonEnabled_ = true;
};

}  // namespace lk

#include "Platform/UI/ImageView.h"

namespace lk::ui {

ImageView::ImageView(Rect frame, Image image) : View(frame), image_(std::move(image)) {
  setUserInteractionEnabled(false);  // pictures let touches through unless told otherwise
}

std::string ImageView::dumpLine() const {
  if (animating_)
    return "image: (animating " + std::to_string(animationImages_.size()) + " frames)";
  if (image_.isNull()) return {};
  return "image: " + image_.describe();
}

}  // namespace lk::ui

#include "Classes/Broadcasts/ThumbnailView.h"

#include "Classes/Broadcasts/BroadcastNotifications.h"
#include "Platform/Notifications/NotificationCenter.h"

namespace lk {

namespace {
constexpr double kButtonSize = 22;
}  // namespace

ThumbnailView::ThumbnailView(ui::Rect frame, ui::Image image, bool withRemoveButton)
    : ui::View(frame) {
  imageView_ = std::make_shared<ui::ImageView>(
      ui::Rect{kButtonSize / 2, kButtonSize / 2, frame.width() - kButtonSize / 2,
               frame.height() - kButtonSize / 2},
      std::move(image));
  addSubview(imageView_);
  if (withRemoveButton) {
    cancelButton_ = std::make_shared<ui::Button>(ui::Rect{0, 0, kButtonSize, kButtonSize});
    cancelButton_->setImage(ui::Image::named(kRemoveImage, {kButtonSize, kButtonSize}));
    cancelButton_->setAction([](ui::Button&) { postRemove(); });
    addSubview(cancelButton_);
  }
  setTapHandler([this](ui::View&) {
    if (cancelButtonEnabled_) postRemove();
  });
}

void ThumbnailView::setImage(ui::Image image) {
  imageView_->setImage(std::move(image));
}

void ThumbnailView::setCancelButtonEnabled(bool enabled) {
  cancelButtonEnabled_ = enabled;
  if (cancelButton_) cancelButton_->setEnabled(enabled);
}

std::string ThumbnailView::dumpLine() const {
  return "thumbnail";
}

void ThumbnailView::postRemove() {
  NotificationCenter::defaultCenter().post(kBroadcastRemoveImage);
}

}  // namespace lk

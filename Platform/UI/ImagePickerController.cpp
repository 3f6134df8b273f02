#include "Platform/UI/ImagePickerController.h"

#include "Platform/UI/Label.h"

namespace lk::ui {

namespace {
bool& camera() {
  static bool value = false;
  return value;
}
}  // namespace

bool ImagePickerController::isSourceTypeAvailable(SourceType source) {
  return source != SourceType::kCamera || camera();
}

void ImagePickerController::setCameraAvailable(bool available) {
  camera() = available;
}

void ImagePickerController::pickImage(const Image& image) {
  auto keep = weak_from_this().lock();
  if (pickerDelegate != nullptr) pickerDelegate->imagePickerDidFinishPickingImage(*this, image);
}

void ImagePickerController::cancel() {
  auto keep = weak_from_this().lock();
  if (pickerDelegate != nullptr) pickerDelegate->imagePickerDidCancel(*this);
}

void ImagePickerController::loadView() {
  ViewController::loadView();
  view()->addSubview(std::make_shared<Label>(
      Rect{0, 0, 320, 20}, sourceType == SourceType::kCamera ? "camera" : "photo library"));
}

}  // namespace lk::ui

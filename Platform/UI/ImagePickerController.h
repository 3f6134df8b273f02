#pragma once

#include "Platform/UI/Image.h"
#include "Platform/UI/ViewController.h"

namespace lk::ui {

class ImagePickerController;

// Told what the user picked. Every callback is optional.
class ImagePickerDelegate {
 public:
  ImagePickerDelegate() = default;
  ImagePickerDelegate(const ImagePickerDelegate&) = delete;
  ImagePickerDelegate& operator=(const ImagePickerDelegate&) = delete;
  virtual ~ImagePickerDelegate() = default;
  virtual void imagePickerDidFinishPickingImage(ImagePickerController& /*picker*/,
                                                const Image& /*image*/) {}
  virtual void imagePickerDidCancel(ImagePickerController& /*picker*/) {}
};

// The camera or photo-library picker, presented modally. A front end or test supplies the
// picture (pickImage) or cancels.
class ImagePickerController : public ViewController {
 public:
  enum class SourceType { kPhotoLibrary, kCamera, kSavedPhotosAlbum };

  // Whether the device offers `source` (no camera unless a test or front end says so).
  static bool isSourceTypeAvailable(SourceType source);
  // A device fact the front end or a test sets; off by default.
  static void setCameraAvailable(bool available);

  // The delegate must outlive the picker or be cleared.
  ImagePickerDelegate* pickerDelegate = nullptr;
  SourceType sourceType = SourceType::kPhotoLibrary;
  bool allowsEditing = false;

  void pickImage(const Image& image);
  void cancel();

  void loadView() override;
};

}  // namespace lk::ui

#pragma once

#include <memory>

namespace lk {

class LKObject;
class LKPickerViewController;

// Told what a picker returns. Every callback is optional.
class LKPickerDelegate {
 public:
  LKPickerDelegate() = default;
  LKPickerDelegate(const LKPickerDelegate&) = delete;
  LKPickerDelegate& operator=(const LKPickerDelegate&) = delete;
  virtual ~LKPickerDelegate() = default;

  // `data` is an Area or a Channel.
  virtual void pickerControllerPickData(LKPickerViewController& /*picker*/,
                                        const std::shared_ptr<LKObject>& /*data*/) {}
  virtual void pickerControllerCancelled(LKPickerViewController& /*picker*/) {}
};

}  // namespace lk

#include "Platform/UI/Keyboard.h"

#include "Platform/Notifications/NotificationCenter.h"
#include "Platform/UI/TextInput.h"

namespace lk::ui {

namespace {
void post(const char* name, Rect frame) {
  Notification n{name, {}, {}};
  n.userInfo[kKeyboardFrameKey] = frame;
  NotificationCenter::defaultCenter().post(n);
}
}  // namespace

Keyboard& Keyboard::shared() {
  static Keyboard keyboard;
  return keyboard;
}

void Keyboard::focusChanged(TextInput* from, TextInput* to) {
  bool wasShown = from != nullptr;
  focus_ = to;
  if (!wasShown && to != nullptr) {
    post(kKeyboardWillShowNotification, frame());
    post(kKeyboardDidShowNotification, frame());
  } else if (wasShown && to == nullptr) {
    post(kKeyboardWillHideNotification, frame());
    post(kKeyboardDidHideNotification, frame());
  }
}

void Keyboard::forget(TextInput* input) {
  if (focus_ == input) focus_ = nullptr;
}

bool Keyboard::type(const std::string& utf8) {
  if (focus_ == nullptr) return false;
  auto keep = focus_->weak_from_this().lock();
  focus_->typeText(utf8);
  return true;
}

bool Keyboard::paste(const std::string& utf8) {
  if (focus_ == nullptr) return false;
  auto keep = focus_->weak_from_this().lock();
  focus_->pasteText(utf8);
  return true;
}

bool Keyboard::deleteBackward() {
  if (focus_ == nullptr) return false;
  auto keep = focus_->weak_from_this().lock();
  focus_->deleteBackward();
  return true;
}

bool Keyboard::pressReturn() {
  if (focus_ == nullptr) return false;
  auto keep = focus_->weak_from_this().lock();
  return focus_->pressReturn();
}

bool Keyboard::tapClearButton() {
  if (focus_ == nullptr) return false;
  auto keep = focus_->weak_from_this().lock();
  return focus_->tapClearButton();
}

void Keyboard::dismiss() {
  if (focus_ == nullptr) return;
  auto keep = focus_->weak_from_this().lock();
  focus_->resignFirstResponder();
}

}  // namespace lk::ui

#pragma once

#include <string>

#include "Platform/UI/Geometry.h"

namespace lk::ui {

class TextInput;

inline constexpr const char* kKeyboardWillShowNotification = "UIKeyboardWillShowNotification";
inline constexpr const char* kKeyboardDidShowNotification = "UIKeyboardDidShowNotification";
inline constexpr const char* kKeyboardWillHideNotification = "UIKeyboardWillHideNotification";
inline constexpr const char* kKeyboardDidHideNotification = "UIKeyboardDidHideNotification";
// User-info key of the keyboard notifications: the keyboard's frame on screen (a Rect).
inline constexpr const char* kKeyboardFrameKey = "UIKeyboardFrameEndUserInfoKey";

// The on-screen keyboard: which text input has the focus, and the show and hide notifications
// on the default centre. Moving the focus between inputs keeps the keyboard up. Keys typed go to
// the focused input, one character at a time, through its delegate as a finger's typing does.
class Keyboard {
 public:
  static Keyboard& shared();

  [[nodiscard]] TextInput* firstResponder() const { return focus_; }
  [[nodiscard]] bool isShown() const { return focus_ != nullptr; }
  [[nodiscard]] Rect frame() const { return {0, 264, 320, 216}; }

  // Typing into the focused input. Each returns false when nothing has the focus.
  bool type(const std::string& utf8);
  // Pasting puts the whole text in at once: one change, however long.
  bool paste(const std::string& utf8);
  bool deleteBackward();
  bool pressReturn();
  // The focused input's clear button.
  bool tapClearButton();
  // Ends editing wherever it is (a tap outside, a screen going away).
  void dismiss();

 private:
  friend class TextInput;
  void focusChanged(TextInput* from, TextInput* to);
  void forget(TextInput* input);

  TextInput* focus_ = nullptr;
};

}  // namespace lk::ui

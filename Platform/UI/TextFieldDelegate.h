#pragma once

#include <string>

#include "Platform/UI/TextInput.h"

namespace lk::ui {

class TextField;

// Told of a text field's editing and asked for permissions. Every callback is optional; the
// defaults allow everything.
class TextFieldDelegate {
 public:
  TextFieldDelegate() = default;
  TextFieldDelegate(const TextFieldDelegate&) = delete;
  TextFieldDelegate& operator=(const TextFieldDelegate&) = delete;
  virtual ~TextFieldDelegate() = default;

  virtual bool textFieldShouldBeginEditing(TextField& /*field*/) { return true; }
  virtual void textFieldDidBeginEditing(TextField& /*field*/) {}
  virtual bool textFieldShouldEndEditing(TextField& /*field*/) { return true; }
  virtual void textFieldDidEndEditing(TextField& /*field*/) {}
  virtual bool textFieldShouldChangeCharactersInRange(TextField& /*field*/, TextRange /*range*/,
                                                      const std::string& /*replacement*/) {
    return true;
  }
  // After every change of the text by typing or by the clear button.
  virtual void textFieldDidChange(TextField& /*field*/) {}
  virtual bool textFieldShouldClear(TextField& /*field*/) { return true; }
  virtual bool textFieldShouldReturn(TextField& /*field*/) { return true; }
};

}  // namespace lk::ui

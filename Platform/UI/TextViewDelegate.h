#pragma once

#include <string>

#include "Platform/UI/TextInput.h"

namespace lk::ui {

class TextView;

// Told of a text view's editing and asked for permissions. Every callback is optional.
class TextViewDelegate {
 public:
  TextViewDelegate() = default;
  TextViewDelegate(const TextViewDelegate&) = delete;
  TextViewDelegate& operator=(const TextViewDelegate&) = delete;
  virtual ~TextViewDelegate() = default;

  virtual bool textViewShouldBeginEditing(TextView& /*view*/) { return true; }
  virtual void textViewDidBeginEditing(TextView& /*view*/) {}
  virtual bool textViewShouldEndEditing(TextView& /*view*/) { return true; }
  virtual void textViewDidEndEditing(TextView& /*view*/) {}
  virtual bool textViewShouldChangeTextInRange(TextView& /*view*/, TextRange /*range*/,
                                               const std::string& /*replacement*/) {
    return true;
  }
  virtual void textViewDidChange(TextView& /*view*/) {}
};

}  // namespace lk::ui

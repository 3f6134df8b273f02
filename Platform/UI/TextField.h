#pragma once

#include <string>

#include "Platform/UI/TextFieldDelegate.h"
#include "Platform/UI/TextInput.h"

namespace lk::ui {

// A one-line text input.
class TextField : public TextInput {
 public:
  enum class ClearButtonMode { kNever, kWhileEditing, kUnlessEditing, kAlways };
  enum class BorderStyle { kNone, kLine, kBezel, kRoundedRect };
  enum class VerticalAlignment { kTop, kCenter, kBottom };

  explicit TextField(Rect frame = {});

  // The delegate must outlive the field or be cleared.
  void setDelegate(TextFieldDelegate* delegate) { delegate_ = delegate; }
  [[nodiscard]] TextFieldDelegate* delegate() const { return delegate_; }

  [[nodiscard]] const std::string& placeholder() const { return placeholder_; }
  void setPlaceholder(std::string p) { placeholder_ = std::move(p); }
  ClearButtonMode clearButtonMode = ClearButtonMode::kNever;
  BorderStyle borderStyle = BorderStyle::kNone;
  VerticalAlignment contentVerticalAlignment = VerticalAlignment::kCenter;
  int keyboardType = 0;  // free for the owner: 0 default, 1 numbers, 2 phone pad, 3 e-mail

  // Whether the clear button shows now (by mode, focus and text).
  [[nodiscard]] bool isClearButtonShown() const;

  bool pressReturn() override;
  bool tapClearButton() override;

  // "field: text" (dots for secure entry) or "field: (placeholder)", with focus marks.
  [[nodiscard]] std::string dumpLine() const override;

 protected:
  bool askShouldBegin() override;
  void tellDidBegin() override;
  bool askShouldEnd() override;
  void tellDidEnd() override;
  bool askShouldChange(TextRange range, const std::string& replacement) override;
  void tellDidChange() override;

 private:
  TextFieldDelegate* delegate_ = nullptr;
  std::string placeholder_;
};

}  // namespace lk::ui

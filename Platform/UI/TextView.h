#pragma once

#include "Platform/UI/TextInput.h"
#include "Platform/UI/TextViewDelegate.h"

namespace lk::ui {

// A multi-line text input; the return key types a line break (through the delegate).
class TextView : public TextInput {
 public:
  explicit TextView(Rect frame = {});

  // The delegate must outlive the view or be cleared.
  void setDelegate(TextViewDelegate* delegate) { delegate_ = delegate; }
  [[nodiscard]] TextViewDelegate* delegate() const { return delegate_; }
  bool editable = true;

  bool becomeFirstResponder() override;
  bool pressReturn() override;
  [[nodiscard]] std::string dumpLine() const override;

 protected:
  bool askShouldBegin() override;
  void tellDidBegin() override;
  bool askShouldEnd() override;
  void tellDidEnd() override;
  bool askShouldChange(TextRange range, const std::string& replacement) override;
  void tellDidChange() override;

 private:
  TextViewDelegate* delegate_ = nullptr;
};

}  // namespace lk::ui

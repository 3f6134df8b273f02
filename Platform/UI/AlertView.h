#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Platform/UI/AlertViewDelegate.h"
#include "Platform/UI/TextField.h"
#include "Platform/UI/View.h"

namespace lk::ui {

// A modal message box over the key window: title, message, buttons (the cancel button first),
// optionally a text field. While shown, the window holds it.
class AlertView : public View {
 public:
  enum class Style { kDefault, kPlainTextInput, kSecureTextInput };

  AlertView(std::string title, std::string message, AlertViewDelegate* delegate,
            std::optional<std::string> cancelButtonTitle, std::vector<std::string> otherButtons);

  [[nodiscard]] const std::string& title() const { return title_; }
  void setTitle(std::string t) { title_ = std::move(t); }
  [[nodiscard]] const std::string& message() const { return message_; }
  void setMessage(std::string m) { message_ = std::move(m); }
  // The delegate must outlive the alert or be cleared.
  void setDelegate(AlertViewDelegate* delegate) { delegate_ = delegate; }
  [[nodiscard]] AlertViewDelegate* delegate() const { return delegate_; }

  int addButtonWithTitle(std::string title);
  [[nodiscard]] const std::vector<std::string>& buttonTitles() const { return buttons_; }
  [[nodiscard]] int numberOfButtons() const { return static_cast<int>(buttons_.size()); }
  // -1 when there is no cancel button.
  [[nodiscard]] int cancelButtonIndex() const { return cancelIndex_; }
  void setCancelButtonIndex(int i) { cancelIndex_ = i; }

  [[nodiscard]] Style style() const { return style_; }
  // With a text input style the alert carries a text field (index 0).
  void setStyle(Style style);
  [[nodiscard]] std::shared_ptr<TextField> textFieldAtIndex(int index) const;

  // Adds the alert to the key window. Nothing happens without one.
  void show();
  [[nodiscard]] bool isVisible() const { return superview() != nullptr; }
  // A finger on a button: clicked, will dismiss, removal, did dismiss.
  bool tapButton(int index);
  bool tapButton(const std::string& title);
  // Program dismissal: will dismiss, removal, did dismiss (no clicked).
  void dismissWithClickedButtonIndex(int index, bool animated);

  void dump(DumpWriter& out) const override;

 private:
  std::string title_;
  std::string message_;
  AlertViewDelegate* delegate_;
  std::vector<std::string> buttons_;
  int cancelIndex_ = -1;
  Style style_ = Style::kDefault;
  std::shared_ptr<TextField> field_;
};

}  // namespace lk::ui

#pragma once

#include <string>

#include "Platform/UI/Font.h"
#include "Platform/UI/TextAlignment.h"
#include "Platform/UI/View.h"

namespace lk::ui {

// A range of text in UTF-16 code units, as the handset's text callbacks count.
struct TextRange {
  std::size_t location = 0;
  std::size_t length = 0;
  friend bool operator==(const TextRange&, const TextRange&) = default;
};

// What text fields and text views share: the text, the focus and the keys.
class TextInput : public View {
 public:
  enum class ReturnKey { kDefault, kGo, kSearch, kSend, kNext, kDone };

  explicit TextInput(Rect frame);
  ~TextInput() override;

  [[nodiscard]] const std::string& text() const { return text_; }
  // Programmatic change: no delegate callbacks.
  virtual void setText(std::string text) { text_ = std::move(text); }
  [[nodiscard]] const Font& font() const { return font_; }
  void setFont(Font font) { font_ = std::move(font); }
  [[nodiscard]] const Color& textColor() const { return textColor_; }
  void setTextColor(const Color& c) { textColor_ = c; }
  TextAlignment textAlignment = TextAlignment::kLeft;
  ReturnKey returnKeyType = ReturnKey::kDefault;
  // The return key works only while there is text.
  bool enablesReturnKeyAutomatically = false;
  bool secureTextEntry = false;
  [[nodiscard]] bool isEnabled() const { return enabled_; }
  void setEnabled(bool on) { enabled_ = on; }

  // The focus. Becoming first responder asks the delegate first; the keyboard shows.
  virtual bool becomeFirstResponder();
  virtual bool resignFirstResponder();
  [[nodiscard]] bool isFirstResponder() const;
  [[nodiscard]] bool isEditing() const { return isFirstResponder(); }
  [[nodiscard]] bool isReturnKeyEnabled() const {
    return !enablesReturnKeyAutomatically || !text_.empty();
  }

  // Keys, each through the delegate as typing would: one character at a time.
  void typeText(const std::string& utf8);
  // A paste at the end of the text: one change through the delegate, which may refuse it whole.
  void pasteText(const std::string& utf8);
  void deleteBackward();
  virtual bool pressReturn() = 0;
  virtual bool tapClearButton() { return false; }

 protected:
  // The delegate's answers, supplied by the subclasses.
  virtual bool askShouldBegin() { return true; }
  virtual void tellDidBegin() {}
  virtual bool askShouldEnd() { return true; }
  virtual void tellDidEnd() {}
  virtual bool askShouldChange(TextRange /*range*/, const std::string& /*replacement*/) {
    return true;
  }
  virtual void tellDidChange() {}
  // Replaces `range` by `replacement` after asking the delegate; returns whether it did.
  bool replace(TextRange range, const std::string& replacement);
  void setTextQuietly(std::string text) { text_ = std::move(text); }

 private:
  std::string text_;
  Font font_ = Font::system(17);
  Color textColor_ = Color::black();
  bool enabled_ = true;
};

}  // namespace lk::ui

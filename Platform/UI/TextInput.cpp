#include "Platform/UI/TextInput.h"

#include "Platform/UI/Keyboard.h"
#include "Platform/UI/TextMeasure.h"

namespace lk::ui {

namespace {
// The UTF-8 byte offset of a UTF-16 position.
std::size_t byteOffset(const std::string& text, std::size_t utf16) {
  std::u32string chars = TextMeasure::decode(text);
  std::size_t units = 0;
  std::u32string prefix;
  for (char32_t c : chars) {
    if (units >= utf16) break;
    prefix.push_back(c);
    units += c >= 0x10000 ? 2 : 1;
  }
  return TextMeasure::encode(prefix).size();
}
}  // namespace

TextInput::TextInput(Rect frame) : View(frame) {}

TextInput::~TextInput() {
  Keyboard::shared().forget(this);
}

bool TextInput::isFirstResponder() const {
  return Keyboard::shared().firstResponder() == this;
}

bool TextInput::becomeFirstResponder() {
  if (isFirstResponder()) return true;
  if (!enabled_ || !isUserInteractionEnabled()) return false;
  auto keep = weak_from_this().lock();
  if (!askShouldBegin()) return false;
  Keyboard& keyboard = Keyboard::shared();
  TextInput* previous = keyboard.firstResponder();
  if (previous != nullptr) {
    auto keepPrevious = previous->weak_from_this().lock();
    if (!previous->askShouldEnd()) return false;
    keyboard.focus_ = nullptr;
    previous->tellDidEnd();
  }
  keyboard.focusChanged(previous, this);
  tellDidBegin();
  return true;
}

bool TextInput::resignFirstResponder() {
  if (!isFirstResponder()) return true;
  auto keep = weak_from_this().lock();
  if (!askShouldEnd()) return false;
  Keyboard::shared().focusChanged(this, nullptr);
  tellDidEnd();
  return true;
}

bool TextInput::replace(TextRange range, const std::string& replacement) {
  auto keep = weak_from_this().lock();
  if (!askShouldChange(range, replacement)) return false;
  std::size_t from = byteOffset(text_, range.location);
  std::size_t to = byteOffset(text_, range.location + range.length);
  text_.replace(from, to - from, replacement);
  tellDidChange();
  return true;
}

void TextInput::typeText(const std::string& utf8) {
  if (!isFirstResponder()) return;
  for (char32_t c : TextMeasure::decode(utf8)) {
    if (!isFirstResponder()) return;  // a delegate may end editing mid-way
    std::size_t len = TextMeasure::utf16Length(text_);
    replace(TextRange{len, 0}, TextMeasure::encode(std::u32string(1, c)));
  }
}

void TextInput::pasteText(const std::string& utf8) {
  if (!isFirstResponder() || utf8.empty()) return;
  replace(TextRange{TextMeasure::utf16Length(text_), 0}, utf8);
}

void TextInput::deleteBackward() {
  if (!isFirstResponder()) return;
  std::u32string chars = TextMeasure::decode(text_);
  if (chars.empty()) return;
  std::size_t units = chars.back() >= 0x10000 ? 2 : 1;
  std::size_t len = TextMeasure::utf16Length(text_);
  replace(TextRange{len - units, units}, "");
}

}  // namespace lk::ui

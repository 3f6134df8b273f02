#pragma once

#include <cstdio>
#include <functional>
#include <string>

struct editline;
struct history;

namespace lk::cli {

// The interactive prompt's line editor, on libedit: arrows, Backspace over any UTF-8 text,
// history recalled with Up. Ctrl-C (the signal, or the byte when the terminal sends it) discards
// the line; Ctrl-D on an empty line ends the input. The terminal must use UTF-8; the editor
// switches the C library's character type to UTF-8 when the environment chose another.
class LineEditor {
 public:
  enum class Read { kLine, kDiscarded, kEnd };

  // `waitForInput` is called whenever no key is ready, and returns once standard input is
  // readable or an interrupt is pending (the front end runs the client's loop meanwhile).
  LineEditor(const char* programName, std::string prompt, std::function<void()> waitForInput);
  LineEditor(const LineEditor&) = delete;
  LineEditor& operator=(const LineEditor&) = delete;
  ~LineEditor();

  // Reads one line (without its line break). A line that is not blank goes into the history.
  Read readLine(std::string& line);

 private:
  static int readChar(editline* el, wchar_t* c);
  static unsigned char discardLine(editline* el, int ch);
  static wchar_t* promptText(editline* el);
  int nextChar(wchar_t* c);
  int nextByte();

  editline* el_ = nullptr;
  history* history_ = nullptr;
  std::string prompt_;
  std::wstring widePrompt_;
  std::function<void()> waitForInput_;
  bool discarded_ = false;
};

}  // namespace lk::cli

#include "frontends/cli/LineEditor.h"

#include <histedit.h>
#include <langinfo.h>
#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <clocale>
#include <cstring>

#include "frontends/cli/InterruptSignal.h"

namespace lk::cli {

namespace {

constexpr int kHistorySize = 500;
constexpr wchar_t kReplacement = 0xFFFD;
constexpr int kCtrlC = 0x03;

void useUtf8Characters() {
  if (std::setlocale(LC_CTYPE, "") != nullptr && std::strcmp(nl_langinfo(CODESET), "UTF-8") == 0)
    return;
  std::setlocale(LC_CTYPE, "C.UTF-8");
}

std::wstring decode(const std::string& text) {
  std::wstring out;
  for (std::size_t i = 0; i < text.size();) {
    const auto b = static_cast<unsigned char>(text[i]);
    const std::size_t n = b < 0x80 ? 1 : b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : b >= 0xC0 ? 2 : 1;
    char32_t cp = n == 1 ? b : b & (0x7F >> n);
    for (std::size_t k = 1; k < n && i + k < text.size(); ++k)
      cp = (cp << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
    out.push_back(static_cast<wchar_t>(cp));
    i += n;
  }
  return out;
}

void encode(wchar_t wc, std::string& out) {
  auto cp = static_cast<char32_t>(wc);
  if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) cp = kReplacement;
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

bool blank(const std::string& line) {
  return line.find_first_not_of(" \t") == std::string::npos;
}

LineEditor* owner(EditLine* el) {
  void* data = nullptr;
  el_get(el, EL_CLIENTDATA, &data);
  return static_cast<LineEditor*>(data);
}

}  // namespace

LineEditor::LineEditor(const char* programName, std::string prompt,
                       std::function<void()> waitForInput)
    : prompt_(std::move(prompt)), waitForInput_(std::move(waitForInput)) {
  useUtf8Characters();
  widePrompt_ = decode(prompt_);
  el_ = el_init(programName, stdin, stdout, stderr);
  history_ = history_init();
  HistEvent event;
  history(history_, &event, H_SETSIZE, kHistorySize);
  history(history_, &event, H_SETUNIQUE, 1);
  el_set(el_, EL_CLIENTDATA, this);
  el_set(el_, EL_EDITOR, "emacs");
  // Signals stay the front end's: libedit would re-raise them on the whole process group.
  el_set(el_, EL_SIGNAL, 0);
  el_wset(el_, EL_PROMPT, &LineEditor::promptText);
  el_set(el_, EL_HIST, history, history_);
  el_set(el_, EL_GETCFN, &LineEditor::readChar);
  // The wide forms keep the given names; the narrow ones copy them and never free the copies.
  el_wset(el_, EL_ADDFN, L"lokavo-discard-line", L"discard the line", &LineEditor::discardLine);
  el_wset(el_, EL_BIND, L"^C", L"lokavo-discard-line", nullptr);
  // The user's own bindings (~/.editrc) apply as in other programs built on libedit.
  el_source(el_, nullptr);
}

LineEditor::~LineEditor() {
  if (el_ != nullptr) el_end(el_);
  if (history_ != nullptr) history_end(history_);
}

wchar_t* LineEditor::promptText(EditLine* el) {
  return owner(el)->widePrompt_.data();
}

unsigned char LineEditor::discardLine(EditLine* el, int /*ch*/) {
  owner(el)->discarded_ = true;
  return CC_NEWLINE;
}

int LineEditor::readChar(EditLine* el, wchar_t* c) {
  return owner(el)->nextChar(c);
}

// One byte of standard input: -1 at its end or on an error, -2 for an interrupt.
int LineEditor::nextByte() {
  for (;;) {
    if (InterruptSignal::take()) return -2;
    pollfd ready{STDIN_FILENO, POLLIN, 0};
    if (::poll(&ready, 1, 0) <= 0) {
      if (waitForInput_) {
        waitForInput_();
      } else {
        pollfd both[2] = {{STDIN_FILENO, POLLIN, 0}, {InterruptSignal::fd(), POLLIN, 0}};
        (void)::poll(both, InterruptSignal::fd() >= 0 ? 2 : 1, -1);
      }
      continue;
    }
    unsigned char byte = 0;
    const ssize_t n = ::read(STDIN_FILENO, &byte, 1);
    if (n == 1) return byte;
    if (n < 0 && (errno == EINTR || errno == EAGAIN)) continue;
    return -1;
  }
}

int LineEditor::nextChar(wchar_t* c) {
  const int first = nextByte();
  if (first == -2) {
    *c = kCtrlC;  // bound to discarding the line
    return 1;
  }
  if (first < 0) return 0;
  const auto b = static_cast<unsigned char>(first);
  const int n = b < 0x80             ? 1
                : (b & 0xE0) == 0xC0 ? 2
                : (b & 0xF0) == 0xE0 ? 3
                : (b & 0xF8) == 0xF0 ? 4
                                     : 0;
  if (n == 0) {
    *c = kReplacement;
    return 1;
  }
  char32_t cp = n == 1 ? b : b & (0x7F >> n);
  for (int k = 1; k < n; ++k) {
    const int next = nextByte();
    if (next == -2) {
      *c = kCtrlC;
      return 1;
    }
    if (next < 0) return 0;
    if ((next & 0xC0) != 0x80) {
      cp = kReplacement;
      break;
    }
    cp = (cp << 6) | (static_cast<unsigned>(next) & 0x3F);
  }
  *c = static_cast<wchar_t>(cp);
  return 1;
}

LineEditor::Read LineEditor::readLine(std::string& line) {
  discarded_ = false;
  int count = 0;
  const wchar_t* text = el_wgets(el_, &count);
  if (discarded_) {
    el_reset(el_);
    return Read::kDiscarded;
  }
  if (text == nullptr || count <= 0) return Read::kEnd;
  line.clear();
  for (int i = 0; i < count; ++i)
    encode(text[i], line);
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
    line.pop_back();
  if (!blank(line)) {
    HistEvent event;
    history(history_, &event, H_ENTER, line.c_str());
  }
  return Read::kLine;
}

}  // namespace lk::cli

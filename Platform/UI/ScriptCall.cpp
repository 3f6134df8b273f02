#include "Platform/UI/ScriptCall.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdint>

namespace lk::ui {

namespace {

class Reader {
 public:
  explicit Reader(std::string_view text) : s_(text) {}

  void skipSpace() {
    while (i_ < s_.size() && std::isspace(static_cast<unsigned char>(s_[i_])) != 0)
      ++i_;
  }
  bool take(char c) {
    skipSpace();
    if (i_ < s_.size() && s_[i_] == c) {
      ++i_;
      return true;
    }
    return false;
  }
  [[nodiscard]] bool atEnd() {
    skipSpace();
    return i_ == s_.size();
  }
  [[nodiscard]] char peek() {
    skipSpace();
    return i_ < s_.size() ? s_[i_] : '\0';
  }

  std::optional<std::string> identifier() {
    skipSpace();
    const std::size_t start = i_;
    while (i_ < s_.size() && (std::isalnum(static_cast<unsigned char>(s_[i_])) != 0 ||
                              s_[i_] == '_' || s_[i_] == '$'))
      ++i_;
    if (i_ == start || std::isdigit(static_cast<unsigned char>(s_[start])) != 0)
      return std::nullopt;
    return std::string(s_.substr(start, i_ - start));
  }

  std::optional<double> number() {
    skipSpace();
    std::size_t start = i_;
    if (i_ < s_.size() && (s_[i_] == '-' || s_[i_] == '+')) ++i_;
    const std::size_t digits = i_;
    while (i_ < s_.size() &&
           (std::isdigit(static_cast<unsigned char>(s_[i_])) != 0 || s_[i_] == '.' ||
            s_[i_] == 'e' || s_[i_] == 'E' ||
            ((s_[i_] == '-' || s_[i_] == '+') && (s_[i_ - 1] == 'e' || s_[i_ - 1] == 'E'))))
      ++i_;
    if (i_ == digits) return std::nullopt;
    if (s_[start] == '+') ++start;
    double value = 0;
    const auto [end, ec] = std::from_chars(s_.data() + start, s_.data() + i_, value);
    if (ec != std::errc() || end != s_.data() + i_ || !std::isfinite(value)) return std::nullopt;
    return value;
  }

  static void appendUtf8(std::string& out, std::uint32_t code) {
    if (code < 0x80) {
      out += static_cast<char>(code);
    } else if (code < 0x800) {
      out += static_cast<char>(0xC0 | (code >> 6));
      out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
      out += static_cast<char>(0xE0 | (code >> 12));
      out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (code >> 18));
      out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (code & 0x3F));
    }
  }

  std::optional<std::uint32_t> hex(std::size_t count) {
    if (i_ + count > s_.size()) return std::nullopt;
    std::uint32_t value = 0;
    const auto [end, ec] = std::from_chars(s_.data() + i_, s_.data() + i_ + count, value, 16);
    if (ec != std::errc() || end != s_.data() + i_ + count) return std::nullopt;
    i_ += count;
    return value;
  }

  std::optional<std::string> string() {
    skipSpace();
    if (i_ >= s_.size() || (s_[i_] != '\'' && s_[i_] != '"')) return std::nullopt;
    const char quote = s_[i_++];
    std::string out;
    while (i_ < s_.size()) {
      const char c = s_[i_++];
      if (c == quote) return out;
      // A line break ends a script line: the string was never closed.
      if (c == '\n' || c == '\r') return std::nullopt;
      if (c != '\\') {
        out += c;
        continue;
      }
      if (i_ >= s_.size()) return std::nullopt;
      const char e = s_[i_++];
      switch (e) {
        case 'n':
          out += '\n';
          break;
        case 'r':
          out += '\r';
          break;
        case 't':
          out += '\t';
          break;
        case 'b':
          out += '\b';
          break;
        case 'f':
          out += '\f';
          break;
        case 'v':
          out += '\v';
          break;
        case '0':
          out += '\0';
          break;
        case 'x': {
          const auto code = hex(2);
          if (!code) return std::nullopt;
          appendUtf8(out, *code);
          break;
        }
        case 'u': {
          auto code = hex(4);
          if (!code) return std::nullopt;
          if (*code >= 0xD800 && *code <= 0xDBFF && s_.substr(i_, 2) == "\\u") {
            i_ += 2;
            const auto low = hex(4);
            if (!low || *low < 0xDC00 || *low > 0xDFFF) return std::nullopt;
            code = 0x10000 + ((*code - 0xD800) << 10) + (*low - 0xDC00);
          }
          appendUtf8(out, *code);
          break;
        }
        default:
          out += e;
      }
    }
    return std::nullopt;
  }

 private:
  std::string_view s_;
  std::size_t i_ = 0;
};

}  // namespace

std::optional<ScriptCall> ScriptCall::parse(std::string_view script) {
  constexpr std::string_view kScheme = "javascript:";
  if (script.starts_with(kScheme)) script.remove_prefix(kScheme.size());
  Reader in(script);
  ScriptCall call;
  auto name = in.identifier();
  if (!name || !in.take('(')) return std::nullopt;
  call.function = std::move(*name);
  if (!in.take(')')) {
    for (;;) {
      const char next = in.peek();
      if (next == '\'' || next == '"') {
        auto text = in.string();
        if (!text) return std::nullopt;
        call.arguments.emplace_back(std::move(*text));
      } else {
        auto value = in.number();
        if (!value) return std::nullopt;
        call.arguments.emplace_back(*value);
      }
      if (in.take(')')) break;
      if (!in.take(',')) return std::nullopt;
    }
  }
  (void)in.take(';');
  if (!in.atEnd()) return std::nullopt;
  return call;
}

}  // namespace lk::ui

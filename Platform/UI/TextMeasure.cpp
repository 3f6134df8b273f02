#include "Platform/UI/TextMeasure.h"

#include <algorithm>
#include <cmath>

#include "Platform/UI/TextMetrics.h"

namespace lk::ui {

namespace {
TextMetrics* gMetrics = nullptr;

bool isWide(char32_t c) {
  return (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0xA4CF) ||
         (c >= 0xAC00 && c <= 0xD7A3) || (c >= 0xF900 && c <= 0xFAFF) ||
         (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFF60) ||
         (c >= 0xFFE0 && c <= 0xFFE6) || (c >= 0x1F300 && c <= 0x1FAFF) ||
         (c >= 0x20000 && c <= 0x3FFFD);
}
}  // namespace

std::u32string TextMeasure::decode(std::string_view s) {
  std::u32string out;
  out.reserve(s.size());
  for (std::size_t i = 0; i < s.size();) {
    unsigned char b = static_cast<unsigned char>(s[i]);
    int len = b < 0x80 ? 1 : (b >> 5) == 0x6 ? 2 : (b >> 4) == 0xE ? 3 : (b >> 3) == 0x1E ? 4 : 0;
    if (len == 0 || i + static_cast<std::size_t>(len) > s.size()) {
      out.push_back(0xFFFD);  // a broken sequence counts as one replacement character
      ++i;
      continue;
    }
    char32_t c = len == 1 ? b : b & (0x7F >> len);
    bool ok = true;
    for (int k = 1; k < len; ++k) {
      unsigned char cont = static_cast<unsigned char>(s[i + k]);
      if ((cont & 0xC0) != 0x80) ok = false;
      c = (c << 6) | (cont & 0x3F);
    }
    if (!ok) {
      out.push_back(0xFFFD);
      ++i;
      continue;
    }
    out.push_back(c);
    i += static_cast<std::size_t>(len);
  }
  return out;
}

std::string TextMeasure::encode(std::u32string_view text) {
  std::string out;
  for (char32_t c : text) {
    if (c < 0x80) {
      out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (c >> 6)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
      out.push_back(static_cast<char>(0xE0 | (c >> 12)));
      out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xF0 | (c >> 18)));
      out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
  }
  return out;
}

std::size_t TextMeasure::utf16Length(std::string_view utf8) {
  std::size_t n = 0;
  for (char32_t c : decode(utf8))
    n += c >= 0x10000 ? 2 : 1;
  return n;
}

void TextMeasure::setMetrics(TextMetrics* metrics) {
  gMetrics = metrics;
}

TextMetrics* TextMeasure::metrics() {
  return gMetrics;
}

double TextMeasure::advance(char32_t c, const Font& font) {
  if (gMetrics != nullptr) return gMetrics->advance(c, font);
  if (c == U' ') return font.size * 0.25;
  if (c == U'\n') return 0;
  return font.size * (isWide(c) ? 1.0 : 0.5);
}

double TextMeasure::widthOfText(std::string_view utf8, const Font& font) {
  if (gMetrics != nullptr) return gMetrics->widthOfText(decode(utf8), font);
  double w = 0;
  for (char32_t c : decode(utf8))
    w += advance(c, font);
  return w;
}

double TextMeasure::lineHeight(const Font& font) {
  if (gMetrics != nullptr) return gMetrics->lineHeight(font);
  return std::ceil(font.size * 1.2);
}

std::vector<std::string> TextMeasure::wrap(std::string_view utf8, const Font& font, double width) {
  std::vector<std::string> lines;
  std::u32string text = decode(utf8);
  std::u32string line;
  double lineWidth = 0;
  auto flush = [&] {
    while (!line.empty() && line.back() == U' ')
      line.pop_back();
    lines.push_back(encode(line));
    line.clear();
    lineWidth = 0;
  };
  for (std::size_t i = 0; i < text.size(); ++i) {
    char32_t c = text[i];
    if (c == U'\n') {
      flush();
      continue;
    }
    double a = advance(c, font);
    if (lineWidth + a > width + 1e-9 && !line.empty()) {
      // Carry a Latin word that is cut in the middle over to the next line.
      std::size_t cut = line.size();
      if (!isWide(c) && c != U' ') {
        std::size_t space = line.find_last_of(U' ');
        if (space != std::u32string::npos && space + 1 < line.size()) cut = space + 1;
      }
      std::u32string carry = line.substr(cut);
      line.erase(cut);
      flush();
      if (c == U' ' && carry.empty()) continue;  // no leading space on a new line
      line = carry;
      for (char32_t k : line)
        lineWidth += advance(k, font);
    }
    line.push_back(c);
    lineWidth += a;
  }
  if (!line.empty() || lines.empty()) flush();
  return lines;
}

Size TextMeasure::sizeOfText(std::string_view utf8, const Font& font, double width, int maxLines) {
  auto lines = wrap(utf8, font, width);
  if (maxLines > 0 && static_cast<int>(lines.size()) > maxLines) lines.resize(maxLines);
  double w = 0;
  for (const auto& l : lines)
    w = std::max(w, widthOfText(l, font));
  return Size{std::min(w, width), lineHeight(font) * static_cast<double>(lines.size())};
}

}  // namespace lk::ui

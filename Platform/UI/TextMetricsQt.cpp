#include "Platform/UI/TextMetricsQt.h"

#include <QFontMetricsF>
#include <QStringList>
#include <cmath>
#include <memory>

namespace lk::ui {

namespace {
constexpr const char* kCjkFamily = "WenQuanYi Micro Hei";
constexpr const char* kLatinFamily = "DejaVu Sans";
}  // namespace

QFont qtFont(const Font& font) {
  QFont f;
  // The CJK face carries Latin letters too; the Latin face stands in should it be missing.
  f.setFamilies({QString::fromLatin1(kCjkFamily), QString::fromLatin1(kLatinFamily)});
  f.setPixelSize(std::max(1, static_cast<int>(std::lround(font.size))));
  const bool bold = font.bold || font.name.find("Bold") != std::string::npos ||
                    font.name.find("Medium") != std::string::npos;
  f.setBold(bold);
  // Unhinted, so that widths do not depend on the scale the window paints at.
  f.setHintingPreference(QFont::PreferNoHinting);
  f.setKerning(false);  // the toolkit adds up advances one character at a time
  return f;
}

struct TextMetricsQt::Face {
  explicit Face(const QFont& f) : metrics(f) {}
  QFontMetricsF metrics;
  std::unordered_map<char32_t, double> advances;
};

TextMetricsQt::Face& TextMetricsQt::face(const Font& font) {
  const std::string key = font.name + "/" + std::to_string(font.size) + (font.bold ? "b" : "");
  auto& slot = faces_[key];
  if (!slot) slot = std::make_shared<Face>(qtFont(font));
  return *slot;
}

double TextMetricsQt::advance(char32_t c, const Font& font) {
  if (c == U'\n') return 0;
  Face& f = face(font);
  auto it = f.advances.find(c);
  if (it != f.advances.end()) return it->second;
  const char32_t one[] = {c};
  const double w = f.metrics.horizontalAdvance(QString::fromUcs4(one, 1));
  f.advances.emplace(c, w);
  return w;
}

double TextMetricsQt::widthOfText(std::u32string_view text, const Font& font) {
  double w = 0;
  for (char32_t c : text)
    w += advance(c, font);
  return w;
}

double TextMetricsQt::lineHeight(const Font& font) {
  return std::ceil(face(font).metrics.lineSpacing());
}

}  // namespace lk::ui

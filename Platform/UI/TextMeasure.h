#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "Platform/UI/Font.h"
#include "Platform/UI/Geometry.h"
#include "Platform/UI/TextAlignment.h"

namespace lk::ui {

// Deterministic text measurement for the headless toolkit. Each character advances by a fixed
// share of the point size according to its width class: wide (CJK ideographs, kana, hangul,
// full-width forms) 1.0, narrow (Latin, digits, punctuation) 0.5, space 0.25. Lines are
// ceil(1.2 × size) high. Wrapping breaks Latin text at spaces and wide text anywhere.
//
// A front end may install other metrics (TextMetrics): every measurement then comes from them,
// wrapping included.
class TextMetrics;
struct TextMeasure {
  // Not owned; must outlive its use or be cleared. Null restores the deterministic metrics.
  static void setMetrics(TextMetrics* metrics);
  [[nodiscard]] static TextMetrics* metrics();

  static double advance(char32_t c, const Font& font);
  static double widthOfText(std::string_view utf8, const Font& font);
  static double lineHeight(const Font& font);
  // The lines `utf8` wraps into within `width` (at least one line; explicit newlines break).
  static std::vector<std::string> wrap(std::string_view utf8, const Font& font, double width);
  // Width (widest line) and height of the wrapped text; `maxLines` 0 means no limit.
  static Size sizeOfText(std::string_view utf8, const Font& font, double width, int maxLines = 0);

  // UTF-8 helpers shared by the text inputs.
  static std::u32string decode(std::string_view utf8);
  static std::string encode(std::u32string_view text);
  // Length in UTF-16 code units (what the handset's ranges count).
  static std::size_t utf16Length(std::string_view utf8);
};

}  // namespace lk::ui

#pragma once

#include <QFont>
#include <string>
#include <unordered_map>

#include "Platform/UI/Font.h"
#include "Platform/UI/TextMetrics.h"

namespace lk::ui {

// The installed face for a toolkit font: the screens' names map to a CJK face (the Chinese
// texts) with a Latin face beside it; sizes are the screen's points, one point per unit of the
// painter's coordinates.
[[nodiscard]] QFont qtFont(const Font& font);

// Text measured with Qt's font metrics of the faces qtFont() picks, so that the toolkit wraps
// and fits text as a Qt painter draws it.
class TextMetricsQt final : public TextMetrics {
 public:
  double advance(char32_t c, const Font& font) override;
  double widthOfText(std::u32string_view text, const Font& font) override;
  double lineHeight(const Font& font) override;

 private:
  struct Face;
  Face& face(const Font& font);
  std::unordered_map<std::string, std::shared_ptr<Face>> faces_;
};

}  // namespace lk::ui

#pragma once

#include <QImage>

#include "frontends/qt/PictureStore.h"

namespace lk::ui {
class View;
}

namespace lk::qt {

// The phone's screen (320 × 480 points) as the window shows it, at `scale` pixels a point, on
// the software raster: what the key window shows (or `root`), with the status bar and the
// keyboard.
[[nodiscard]] QImage renderScreen(PictureStore& pictures, double scale, double seconds = 0,
                                  const ui::View* root = nullptr,
                                  const ui::View* pressed = nullptr);

// Whether the picture is one colour from row `fromRow` down (nothing was painted there; the
// status bar above the screen's content is always painted).
[[nodiscard]] bool isBlank(const QImage& image, int fromRow = 0);

}  // namespace lk::qt

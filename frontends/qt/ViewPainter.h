#pragma once

#include <QPainter>

#include "frontends/qt/PictureStore.h"

namespace lk::ui {
class View;
}

namespace lk::qt {

// Paints the toolkit's retained view tree with a QPainter in screen points: every view kind
// of the toolkit, the drawn cells by replaying their recorded operations, the status bar and
// the keyboard while a field has the focus. `seconds` drives what animates (spinners, frame
// animations).
class ViewPainter {
 public:
  ViewPainter(QPainter& painter, PictureStore& pictures, double seconds = 0)
      : painter_(painter), pictures_(pictures), seconds_(seconds) {}

  // A whole 320 × 480 screen: the status bar, the window's tree, the keyboard.
  void paintScreen(const ui::View* window);
  // One view and its subtree, at its frame in the painter's current coordinates.
  void paintView(const ui::View& view);

  // The button a finger is on, painted pressed.
  void setPressed(const ui::View* pressed) { pressed_ = pressed; }

 private:
  bool paintContent(const ui::View& view);
  void paintChildren(const ui::View& view);
  void paintStatusBar();
  void paintKeyboard();

  QPainter& painter_;
  PictureStore& pictures_;
  double seconds_;
  const ui::View* pressed_ = nullptr;
};

}  // namespace lk::qt

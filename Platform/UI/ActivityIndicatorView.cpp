#include "Platform/UI/ActivityIndicatorView.h"

namespace lk::ui {

ActivityIndicatorView::ActivityIndicatorView(Rect frame, Style s) : View(frame), style(s) {
  setHidden(hidesWhenStopped);
}

void ActivityIndicatorView::startAnimating() {
  animating_ = true;
  setHidden(false);
}

void ActivityIndicatorView::stopAnimating() {
  animating_ = false;
  if (hidesWhenStopped) setHidden(true);
}

std::string ActivityIndicatorView::dumpLine() const {
  return animating_ ? "spinner" : "";
}

}  // namespace lk::ui

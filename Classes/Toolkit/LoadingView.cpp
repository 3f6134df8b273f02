#include "Classes/Toolkit/LoadingView.h"

namespace lk {

LoadingView::LoadingView(ui::Rect /*ignored*/) : ui::View(ui::Rect{90, 150, 140, 40}) {
  indicatorView_ = std::make_shared<ui::ActivityIndicatorView>(ui::Rect{10, 15, 20, 20});
  indicatorView_->startAnimating();
  addSubview(indicatorView_);
  label_ = std::make_shared<ui::Label>(ui::Rect{40, 10, 100, 30}, kText);
  label_->setFont(ui::Font::boldSystem(14));
  label_->setTextColor(ui::Color::gray(0.5));
  label_->setBackgroundColor(ui::Color::clear());
  addSubview(label_);
}

}  // namespace lk

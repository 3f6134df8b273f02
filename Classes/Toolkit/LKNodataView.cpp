#include "Classes/Toolkit/LKNodataView.h"

namespace lk {

LKNodataView::LKNodataView(ui::Rect frame, const std::string& prompt)
    : ui::ImageView(ui::Rect{frame.x(), frame.y(), frame.width(), 416},
                    ui::Image::named("nodata_bg")) {
  setUserInteractionEnabled(true);
  label_ = std::make_shared<ui::Label>(ui::Rect{10, 180, 300, 60}, prompt);
  label_->setNumberOfLines(3);
  label_->setTextAlignment(ui::TextAlignment::kCenter);
  label_->setFont(ui::Font::named("STHeitiSC-Medium", 18));
  label_->setBackgroundColor(ui::Color::clear());
  addSubview(label_);
}

}  // namespace lk

#include "Classes/Account/HomeTableViewHeader.h"

#include "Classes/Account/Home.h"
#include "Classes/Util/Utility.h"
#include "Platform/Image/ImageBitmap.h"
#include "Platform/Log/Log.h"

namespace lk {

HomeTableViewHeader::HomeTableViewHeader() : ui::View(kFrame) {
  addSubview(std::make_shared<ui::ImageView>(ui::Rect{0, 0, 320, 72},
                                             ui::Image::named("home_header_background.png")));
  photoImg_ = std::make_shared<ui::ImageView>(ui::Rect{13, 13, kPhotoSide, kPhotoSide},
                                              ui::Image::named(kDefaultPhoto));
  addSubview(photoImg_);
  nameLabel_ = std::make_shared<ui::Label>(ui::Rect{70, 12, kWideNameWidth, 24});
  nameLabel_->setFont(ui::Font::system(18));
  nameLabel_->setTextColor(ui::Color::white());
  nameLabel_->setBackgroundColor(ui::Color::clear());
  addSubview(nameLabel_);
  levelImg_ = std::make_shared<ui::ImageView>(ui::Rect{70, 40, 52, 20});
  addSubview(levelImg_);

  dialogImg_ = std::make_shared<ui::ImageView>(ui::Rect{160, 9, 153, 54},
                                               ui::Image::named("home_dialog.png"));
  dialogImg_->addSubview(std::make_shared<ui::ImageView>(
      ui::Rect{16, 10, 16, 16}, ui::Image::named("home_broadcast_icon.png")));
  placeLabel_ = std::make_shared<ui::Label>(ui::Rect{22, 8, 125, 20});
  placeLabel_->setFont(ui::Font::system(14));
  placeLabel_->setBackgroundColor(ui::Color::clear());
  dialogImg_->addSubview(placeLabel_);
  timeLabel_ = std::make_shared<ui::Label>(ui::Rect{22, 30, 80, 15});
  timeLabel_->setFont(ui::Font::system(13));
  timeLabel_->setTextColor(ui::Color::gray(0.588));
  timeLabel_->setBackgroundColor(ui::Color::clear());
  dialogImg_->addSubview(timeLabel_);
  redraw();
}

HomeTableViewHeader::~HomeTableViewHeader() {
  // Stop watching before the record is let go.
  subscriptions_.clear();
}

void HomeTableViewHeader::setHome(std::shared_ptr<Home> home) {
  if (home == home_) return;
  subscriptions_.clear();
  home_ = std::move(home);
  if (home_) {
    subscriptions_.push_back(home_->img().subscribe([this](const ImagePtr&) { drawPhotoImg(); }));
    subscriptions_.push_back(home_->lastBroadcastLocation.subscribe(
        [this](const std::optional<std::string>&) { redraw(); }));
    subscriptions_.push_back(home_->lastBroadcastTime.subscribe([this](double) { redraw(); }));
  }
  redraw();
}

void HomeTableViewHeader::redraw() {
  const bool hasPlace = home_ && home_->lastBroadcastLocation.get().has_value();
  auto nameFrame = nameLabel_->frame();
  if (hasPlace) {
    if (dialogImg_->superview() != this) addSubview(dialogImg_);
    nameFrame.size.width = kNarrowNameWidth;
  } else {
    dialogImg_->removeFromSuperview();
    nameFrame.size.width = kWideNameWidth;
  }
  nameLabel_->setFrame(nameFrame);
  nameLabel_->setText(home_ ? home_->name : std::string());
  levelImg_->setImage(home_ ? ui::Image::named(Utility::userLevelImageName(home_->level))
                            : ui::Image());
  placeLabel_->setText(hasPlace ? "@" + *home_->lastBroadcastLocation.get() : std::string());
  timeLabel_->setText(home_ ? home_->lastBroadcastTimeString() : std::string());
  drawPhotoImg();
}

void HomeTableViewHeader::drawPhotoImg() {
  const ImagePtr image = home_ ? home_->img().get() : nullptr;
  if (!image) {
    photoImg_->setImage(ui::Image::named(kDefaultPhoto));
    return;
  }
  photoImg_->setImage(toUiImage(Utility::clipImage(image, {kPhotoSide, kPhotoSide}, kPhotoRadius)));
}

}  // namespace lk

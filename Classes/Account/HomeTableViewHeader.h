#pragma once

#include <memory>
#include <vector>

#include "Classes/Records/Subscription.h"
#include "Platform/UI/ImageView.h"
#include "Platform/UI/Label.h"
#include "Platform/UI/View.h"

namespace lk {

class Home;

// The user centre's profile strip: avatar, name, level picture and, in a speech bubble, the
// place and time of the user's latest broadcast. It watches its record's avatar and latest
// broadcast and redraws when they change.
class HomeTableViewHeader : public ui::View {
 public:
  static inline const ui::Rect kFrame{0, 0, 320, 72};
  static constexpr double kNarrowNameWidth = 85;
  static constexpr double kWideNameWidth = 200;
  static constexpr double kPhotoSide = 46;
  static constexpr double kPhotoRadius = 8;
  static constexpr const char* kDefaultPhoto = "home_default_photo.png";

  HomeTableViewHeader();
  ~HomeTableViewHeader() override;

  [[nodiscard]] const std::shared_ptr<Home>& home() const { return home_; }
  // Watches `home` instead of the previous record (nullptr empties the header).
  void setHome(std::shared_ptr<Home> home);
  void redraw();
  void drawPhotoImg();

  [[nodiscard]] const std::shared_ptr<ui::ImageView>& photoImg() const { return photoImg_; }
  [[nodiscard]] const std::shared_ptr<ui::Label>& nameLabel() const { return nameLabel_; }
  [[nodiscard]] const std::shared_ptr<ui::ImageView>& levelImg() const { return levelImg_; }
  [[nodiscard]] const std::shared_ptr<ui::ImageView>& dialogImg() const { return dialogImg_; }
  [[nodiscard]] const std::shared_ptr<ui::Label>& placeLabel() const { return placeLabel_; }
  [[nodiscard]] const std::shared_ptr<ui::Label>& timeLabel() const { return timeLabel_; }
  [[nodiscard]] bool showsDialog() const { return dialogImg_->superview() == this; }

 private:
  std::shared_ptr<Home> home_;
  std::vector<Subscription> subscriptions_;
  std::shared_ptr<ui::ImageView> photoImg_;
  std::shared_ptr<ui::Label> nameLabel_;
  std::shared_ptr<ui::ImageView> levelImg_;
  std::shared_ptr<ui::ImageView> dialogImg_;
  std::shared_ptr<ui::Label> placeLabel_;
  std::shared_ptr<ui::Label> timeLabel_;
};

}  // namespace lk

#pragma once

#include <vector>

#include "Platform/UI/Image.h"
#include "Platform/UI/View.h"

namespace lk::ui {

// Shows an image, or cycles through animation frames while animating.
class ImageView : public View {
 public:
  explicit ImageView(Rect frame = {}, Image image = {});

  [[nodiscard]] const Image& image() const { return image_; }
  void setImage(Image image) { image_ = std::move(image); }

  // Frame animation (spinners): the frames and the time of one cycle in seconds.
  void setAnimationImages(std::vector<Image> frames) { animationImages_ = std::move(frames); }
  [[nodiscard]] const std::vector<Image>& animationImages() const { return animationImages_; }
  void setAnimationDuration(double s) { animationDuration_ = s; }
  [[nodiscard]] double animationDuration() const { return animationDuration_; }
  void startAnimating() { animating_ = !animationImages_.empty(); }
  void stopAnimating() { animating_ = false; }
  [[nodiscard]] bool isAnimating() const { return animating_; }

  [[nodiscard]] std::string dumpLine() const override;

 private:
  Image image_;
  std::vector<Image> animationImages_;
  double animationDuration_ = 0;
  bool animating_ = false;
};

}  // namespace lk::ui

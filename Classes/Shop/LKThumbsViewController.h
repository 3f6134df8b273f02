#pragma once

#include <memory>

#include "Classes/PhotoBrowser/PXThumbsViewController.h"
#include "Classes/Shop/LKImageDataSource.h"

namespace lk {

// The shop's album ("商户相册"), presented in a stack of its own under a translucent black bar;
// "返回" closes it.
class LKThumbsViewController : public PXThumbsViewController {
 public:
  static constexpr const char* kTitle = "商户相册";

  explicit LKThumbsViewController(PictureList links);
  ~LKThumbsViewController() override;

  [[nodiscard]] const PictureList& imageLinks() const { return imageLinks_; }
  [[nodiscard]] const std::shared_ptr<LKImageDataSource>& images() const { return images_; }

  void viewDidLoad() override;
  void viewWillAppear(bool animated) override;

 protected:
  std::shared_ptr<PXPhotoScrollViewController> makePhotoScrollViewController(int index) override;

 private:
  PictureList imageLinks_;
  std::shared_ptr<LKImageDataSource> images_;
};

}  // namespace lk

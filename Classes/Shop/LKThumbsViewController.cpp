#include "Classes/Shop/LKThumbsViewController.h"

#include "Classes/Shop/AlbumNavigationBar.h"
#include "Classes/Shop/LKPhotoScrollViewController.h"

namespace lk {

LKThumbsViewController::LKThumbsViewController(PictureList links) : imageLinks_(std::move(links)) {}

LKThumbsViewController::~LKThumbsViewController() {
  AlbumNavigationBar::restore(*this);
}

void LKThumbsViewController::viewDidLoad() {
  PXThumbsViewController::viewDidLoad();
  setTitle(kTitle);
  AlbumNavigationBar::addCloseButton(*this);
  images_ = std::make_shared<LKImageDataSource>(imageLinks_);
  setDataSource(images_);
}

void LKThumbsViewController::viewWillAppear(bool animated) {
  PXThumbsViewController::viewWillAppear(animated);
  AlbumNavigationBar::makeTranslucent(*this);
}

std::shared_ptr<PXPhotoScrollViewController> LKThumbsViewController::makePhotoScrollViewController(
    int index) {
  return std::make_shared<LKPhotoScrollViewController>(images_, index);
}

}  // namespace lk

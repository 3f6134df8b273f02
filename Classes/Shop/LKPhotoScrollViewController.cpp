#include "Classes/Shop/LKPhotoScrollViewController.h"

#include "Classes/Shop/AlbumNavigationBar.h"

namespace lk {

LKPhotoScrollViewController::LKPhotoScrollViewController(
    std::shared_ptr<LKImageDataSource> dataSource, int startIndex)
    : PXPhotoScrollViewController(std::move(dataSource), startIndex) {}

LKPhotoScrollViewController::~LKPhotoScrollViewController() {
  AlbumNavigationBar::restore(*this);
}

void LKPhotoScrollViewController::viewDidLoad() {
  PXPhotoScrollViewController::viewDidLoad();
  AlbumNavigationBar::addCloseButton(*this);
}

void LKPhotoScrollViewController::viewWillAppear(bool animated) {
  PXPhotoScrollViewController::viewWillAppear(animated);
  AlbumNavigationBar::makeTranslucent(*this);
}

}  // namespace lk

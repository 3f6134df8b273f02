#include "Classes/PhotoBrowser/PXThumbsViewController.h"

#include "Classes/PhotoBrowser/PXPhotoDataSource.h"
#include "Classes/PhotoBrowser/PXPhotoScrollViewController.h"
#include "Platform/Log/Log.h"
#include "Platform/UI/NavigationController.h"

namespace lk {

PXThumbsViewController::PXThumbsViewController() = default;

PXThumbsViewController::~PXThumbsViewController() = default;

void PXThumbsViewController::loadView() {
  LKNavigationController::loadView();
  scrollView_ = std::make_shared<ui::ScrollView>(ui::Rect{0, 0, 320, 416});
  addSubview(scrollView_);
  layoutThumbs();
}

void PXThumbsViewController::setDataSource(std::shared_ptr<PXPhotoDataSource> dataSource) {
  dataSource_ = std::move(dataSource);
  layoutThumbs();
}

void PXThumbsViewController::layoutThumbs() {
  if (!scrollView_) return;
  for (const auto& button : thumbButtons_)
    button->removeFromSuperview();
  thumbButtons_.clear();
  if (!dataSource_) return;
  const int count = dataSource_->numberOfPhotos();
  for (int i = 0; i < count; ++i) {
    const double x = kGap + (i % kColumns) * (kThumbSize + kGap);
    const double y = kGap + (i / kColumns) * (kThumbSize + kGap);
    auto button = std::make_shared<ui::Button>(ui::Rect{x, y, kThumbSize, kThumbSize});
    button->setAccessibilityLabel(strprintf("图片%d", i + 1));
    auto thumb = std::make_shared<LKWebImageView>(ui::Rect{0, 0, kThumbSize, kThumbSize},
                                                  LKWebImageView::LookUp::kSynchronous);
    thumb->setUserInteractionEnabled(false);
    dataSource_->thumbImageAtIndex(i, *thumb);
    button->addSubview(thumb);
    button->setAction([this, i](ui::Button&) { openPhotoAtIndex(i); });
    thumbButtons_.push_back(button);
    scrollView_->addSubview(button);
  }
  const int rows = (count + kColumns - 1) / kColumns;
  scrollView_->setContentSize({320, kGap + rows * (kThumbSize + kGap)});
}

std::shared_ptr<PXPhotoScrollViewController> PXThumbsViewController::makePhotoScrollViewController(
    int index) {
  return std::make_shared<PXPhotoScrollViewController>(dataSource_, index);
}

void PXThumbsViewController::openPhotoAtIndex(int index) {
  if (!dataSource_ || index < 0 || index >= dataSource_->numberOfPhotos()) return;
  if (auto* nav = navigationController()) {
    nav->pushViewController(makePhotoScrollViewController(index), true);
  }
}

}  // namespace lk

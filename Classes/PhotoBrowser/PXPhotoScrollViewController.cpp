#include "Classes/PhotoBrowser/PXPhotoScrollViewController.h"

#include "Classes/PhotoBrowser/PXPhotoDataSource.h"
#include "Platform/Log/Log.h"

namespace lk {

std::string PXPhotoScrollViewController::bundleImageName(const std::string& name) {
  return "PXPhotoBrowser.bundle/images/" + name;
}

PXPhotoScrollViewController::PXPhotoScrollViewController(
    std::shared_ptr<PXPhotoDataSource> dataSource, int startIndex)
    : dataSource_(std::move(dataSource)), currentIndex_(startIndex) {}

PXPhotoScrollViewController::~PXPhotoScrollViewController() = default;

void PXPhotoScrollViewController::loadView() {
  LKNavigationController::loadView();
  view()->setBackgroundColor(ui::Color::black());
  photoView_ = std::make_shared<LKWebImageView>(ui::Rect{0, 0, 320, 376},
                                                LKWebImageView::LookUp::kSynchronous);
  addSubview(photoView_);
  positionLabel_ = std::make_shared<ui::Label>(ui::Rect{120, 380, 80, 30});
  addSubview(positionLabel_);
  previousButton_ = std::make_shared<ui::Button>(ui::Rect{20, 376, 40, 40});
  previousButton_->setImage(ui::Image::named(bundleImageName("previous"), {40, 40}));
  previousButton_->setAction([this](ui::Button&) { previousPhoto(); });
  addSubview(previousButton_);
  nextButton_ = std::make_shared<ui::Button>(ui::Rect{260, 376, 40, 40});
  nextButton_->setImage(ui::Image::named(bundleImageName("next"), {40, 40}));
  nextButton_->setAction([this](ui::Button&) { nextPhoto(); });
  addSubview(nextButton_);
}

void PXPhotoScrollViewController::viewDidLoad() {
  LKNavigationController::viewDidLoad();
  update();
}

void PXPhotoScrollViewController::showPhotoAtIndex(int index) {
  if (!dataSource_ || index < 0 || index >= dataSource_->numberOfPhotos()) return;
  currentIndex_ = index;
  update();
}

void PXPhotoScrollViewController::nextPhoto() {
  showPhotoAtIndex(currentIndex_ + 1);
}

void PXPhotoScrollViewController::previousPhoto() {
  showPhotoAtIndex(currentIndex_ - 1);
}

void PXPhotoScrollViewController::update() {
  if (!photoView_ || !dataSource_) return;
  const int count = dataSource_->numberOfPhotos();
  if (currentIndex_ < 0 || currentIndex_ >= count) return;
  dataSource_->imageAtIndex(currentIndex_, *photoView_);
  positionLabel_->setText(strprintf("%d/%d", currentIndex_ + 1, count));
  previousButton_->setHidden(currentIndex_ == 0);
  nextButton_->setHidden(currentIndex_ + 1 >= count);
}

}  // namespace lk

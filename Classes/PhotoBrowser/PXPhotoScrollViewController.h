#pragma once

#include <memory>
#include <string>

#include "Classes/Pictures/LKWebImageView.h"
#include "Classes/Toolkit/LKNavigationController.h"
#include "Platform/UI/Button.h"
#include "Platform/UI/Label.h"

namespace lk {

class PXPhotoDataSource;

// The photo browser's pager: one full-size photo at a time with its position ("2/5") and
// previous / next buttons. The data source is shared with whoever opened the pager.
class PXPhotoScrollViewController : public LKNavigationController {
 public:
  // The browser's own button pictures.
  static std::string bundleImageName(const std::string& name);

  PXPhotoScrollViewController(std::shared_ptr<PXPhotoDataSource> dataSource, int startIndex);
  ~PXPhotoScrollViewController() override;

  [[nodiscard]] int currentIndex() const { return currentIndex_; }
  [[nodiscard]] const std::shared_ptr<PXPhotoDataSource>& dataSource() const { return dataSource_; }
  [[nodiscard]] const std::shared_ptr<LKWebImageView>& photoView() const { return photoView_; }
  // Shows the photo at `index` (ignored outside the list).
  void showPhotoAtIndex(int index);
  void nextPhoto();
  void previousPhoto();

  void loadView() override;
  void viewDidLoad() override;

 private:
  void update();

  std::shared_ptr<PXPhotoDataSource> dataSource_;
  int currentIndex_ = 0;
  std::shared_ptr<LKWebImageView> photoView_;
  std::shared_ptr<ui::Label> positionLabel_;
  std::shared_ptr<ui::Button> previousButton_;
  std::shared_ptr<ui::Button> nextButton_;
};

}  // namespace lk

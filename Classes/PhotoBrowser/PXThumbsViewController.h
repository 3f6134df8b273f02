#pragma once

#include <memory>
#include <vector>

#include "Classes/Pictures/LKWebImageView.h"
#include "Classes/Toolkit/LKNavigationController.h"
#include "Platform/UI/Button.h"
#include "Platform/UI/ScrollView.h"

namespace lk {

class PXPhotoDataSource;
class PXPhotoScrollViewController;

// The photo browser's grid: four thumbnails a row; tapping one opens the pager on it.
class PXThumbsViewController : public LKNavigationController {
 public:
  static constexpr int kColumns = 4;
  static constexpr double kThumbSize = 75;
  static constexpr double kGap = 4;

  PXThumbsViewController();
  ~PXThumbsViewController() override;

  // Lays out one thumbnail per photo of `dataSource`.
  void setDataSource(std::shared_ptr<PXPhotoDataSource> dataSource);
  [[nodiscard]] const std::shared_ptr<PXPhotoDataSource>& dataSource() const { return dataSource_; }
  [[nodiscard]] const std::vector<std::shared_ptr<ui::Button>>& thumbButtons() const {
    return thumbButtons_;
  }
  // Pushes the pager on the photo at `index`.
  void openPhotoAtIndex(int index);

  void loadView() override;

 protected:
  // The pager to open; subclasses give their own.
  virtual std::shared_ptr<PXPhotoScrollViewController> makePhotoScrollViewController(int index);

 private:
  void layoutThumbs();

  std::shared_ptr<PXPhotoDataSource> dataSource_;
  std::shared_ptr<ui::ScrollView> scrollView_;
  std::vector<std::shared_ptr<ui::Button>> thumbButtons_;
};

}  // namespace lk

#pragma once

#include <memory>

#include "Classes/PhotoBrowser/PXPhotoScrollViewController.h"
#include "Classes/Shop/LKImageDataSource.h"

namespace lk {

// Full-size pictures one at a time under a translucent black bar, with "返回" closing the modal
// stack it was presented in (the broadcast list shows a broadcast's photo so).
class LKPhotoScrollViewController : public PXPhotoScrollViewController {
 public:
  LKPhotoScrollViewController(std::shared_ptr<LKImageDataSource> dataSource, int startIndex);
  ~LKPhotoScrollViewController() override;

  void viewDidLoad() override;
  void viewWillAppear(bool animated) override;
};

}  // namespace lk

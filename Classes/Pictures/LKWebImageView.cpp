#include "Classes/Pictures/LKWebImageView.h"

#include "Classes/Pictures/LKImageManager.h"
#include "Platform/Image/ImageBitmap.h"

namespace lk {

LKWebImageView::LKWebImageView(ui::Rect frame, LookUp lookUp, LKImageManager* manager)
    : ui::ImageView(frame), lookUp_(lookUp), manager_(manager) {}

LKWebImageView::~LKWebImageView() {
  if (!url_.empty()) manager().forgetDelegate(this);
}

LKImageManager& LKWebImageView::manager() const {
  return manager_ != nullptr ? *manager_ : LKImageManager::sharedManager();
}

void LKWebImageView::setImageWithURL(const std::string& url, const ui::Image& placeholder) {
  LKImageManager& images = manager();
  images.cancelForDelegate(this);
  url_ = url;
  if (lookUp_ == LookUp::kSynchronous && !url.empty()) {
    if (const ImagePtr cached = images.imageWithURL(url)) {
      setImage(toUiImage(cached));
      return;
    }
  }
  setImage(placeholder);
  if (!url.empty()) images.downloadWithURL(url, this);
}

void LKWebImageView::webImageManager(LKImageManager& /*manager*/, const ImagePtr& image) {
  setImage(toUiImage(image));
}

}  // namespace lk

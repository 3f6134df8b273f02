#include "Classes/Shop/LKImageDataSource.h"

#include "Classes/Pictures/LKWebImageView.h"

namespace lk {

void LKImageDataSource::show(int index, std::size_t element, LKWebImageView& view) {
  if (index < 0 || index >= numberOfPhotos()) return;
  view.setImageWithURL(images_[static_cast<std::size_t>(index)][element],
                       ui::Image::named(kPlaceholder));
}

void LKImageDataSource::imageAtIndex(int index, LKWebImageView& photoView) {
  show(index, 0, photoView);
}

void LKImageDataSource::thumbImageAtIndex(int index, LKWebImageView& thumbView) {
  show(index, 1, thumbView);
}

}  // namespace lk

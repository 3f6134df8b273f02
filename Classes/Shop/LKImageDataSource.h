#pragma once

#include <array>
#include <string>
#include <vector>

#include "Classes/PhotoBrowser/PXPhotoDataSource.h"

namespace lk {

// A picture list: pairs of absolute URLs, element 0 the full-size picture, element 1 the
// thumbnail.
using PictureList = std::vector<std::array<std::string, 2>>;

// The photo browser's data source over a picture list: each view gets its URL with the
// "photoDefault" placeholder until the picture arrives.
class LKImageDataSource : public PXPhotoDataSource {
 public:
  static constexpr const char* kPlaceholder = "photoDefault";

  explicit LKImageDataSource(PictureList links) : images_(std::move(links)) {}

  [[nodiscard]] int numberOfPhotos() const override { return static_cast<int>(images_.size()); }
  void imageAtIndex(int index, LKWebImageView& photoView) override;
  void thumbImageAtIndex(int index, LKWebImageView& thumbView) override;

  [[nodiscard]] const PictureList& images() const { return images_; }

 private:
  void show(int index, std::size_t element, LKWebImageView& view);

  PictureList images_;
};

}  // namespace lk

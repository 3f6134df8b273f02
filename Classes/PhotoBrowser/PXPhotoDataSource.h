#pragma once

namespace lk {

class LKWebImageView;

// What the photo browser shows: a number of photos, each with a full-size picture and a
// thumbnail that the data source puts into the browser's views.
class PXPhotoDataSource {
 public:
  PXPhotoDataSource() = default;
  PXPhotoDataSource(const PXPhotoDataSource&) = delete;
  PXPhotoDataSource& operator=(const PXPhotoDataSource&) = delete;
  virtual ~PXPhotoDataSource() = default;

  [[nodiscard]] virtual int numberOfPhotos() const = 0;
  virtual void imageAtIndex(int index, LKWebImageView& photoView) = 0;
  virtual void thumbImageAtIndex(int index, LKWebImageView& thumbView) = 0;
};

}  // namespace lk

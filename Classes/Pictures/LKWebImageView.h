#pragma once

#include <string>

#include "Classes/Pictures/LKImageManagerDelegate.h"
#include "Platform/UI/ImageView.h"

namespace lk {

// An image view that shows a picture from a URL through the shared picture manager. A view
// reused for another URL stops waiting for the old one; a destroyed view is never called.
class LKWebImageView : public ui::ImageView, private LKImageManagerDelegate {
 public:
  // Photo-browser views look in memory and on disk at once before waiting; plain image views
  // show the placeholder and wait for the manager's answer.
  enum class LookUp { kPlain, kSynchronous };

  explicit LKWebImageView(ui::Rect frame = {}, LookUp lookUp = LookUp::kPlain,
                          LKImageManager* manager = nullptr);
  ~LKWebImageView() override;

  void setImageWithURL(const std::string& url) { setImageWithURL(url, ui::Image()); }
  void setImageWithURL(const std::string& url, const ui::Image& placeholder);

  [[nodiscard]] const std::string& imageURL() const { return url_; }

 private:
  void webImageManager(LKImageManager& manager, const ImagePtr& image) override;
  LKImageManager& manager() const;

  LookUp lookUp_;
  LKImageManager* manager_;  // not owned; the shared manager when null
  std::string url_;
};

}  // namespace lk

#pragma once

#include <QImage>
#include <QString>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "Platform/UI/Image.h"

namespace lk::qt {

// The pictures the painter draws: resources by name from the application's resource directory
// (as the toolkit resolves them), decoded pixels and downloaded bytes. Loaded once, kept while
// the store lives.
class PictureStore {
 public:
  // The picture, or a null image when it cannot be found or decoded.
  const QImage& picture(const ui::Image& image);
  // Names asked for that did not resolve, in the order first asked.
  [[nodiscard]] const std::vector<std::string>& missingNames() const { return missing_; }

  // The file a resource name resolves to: "<name>" with its own extension, else "<name>.png",
  // else "<name>.jpg"; empty when none exists.
  [[nodiscard]] static QString resourcePath(const std::string& name);

 private:
  std::unordered_map<std::string, QImage> named_;
  // Decoded pictures by the pixels or bytes they came from; an entry whose source went away is
  // stale (its address may be reused) and is decoded again.
  struct Decoded {
    std::weak_ptr<const void> source;
    QImage image;
  };
  const QImage& decode(const std::shared_ptr<const void>& source, const auto& make);
  std::unordered_map<const void*, Decoded> decoded_;
  std::vector<std::string> missing_;
};

}  // namespace lk::qt

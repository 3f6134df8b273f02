#include "frontends/qt/PictureStore.h"

#include <algorithm>

#include "Platform/Resources/AppResources.h"

namespace lk::qt {

namespace {
const QImage kNone;
}  // namespace

QString PictureStore::resourcePath(const std::string& name) {
  if (name.empty()) return {};
  const auto dot = name.rfind('.');
  if (dot != std::string::npos && dot + 1 < name.size()) {
    if (auto path = AppResources::pathForResource(name.substr(0, dot), name.substr(dot + 1)))
      return QString::fromStdString(path->string());
  }
  for (const char* type : {"png", "jpg"}) {
    if (auto path = AppResources::pathForResource(name, type))
      return QString::fromStdString(path->string());
  }
  return {};
}

const QImage& PictureStore::decode(const std::shared_ptr<const void>& source, const auto& make) {
  auto& entry = decoded_[source.get()];
  if (entry.source.owner_before(source) || source.owner_before(entry.source) ||
      entry.source.expired()) {
    entry.source = source;
    entry.image = make();
  }
  if (decoded_.size() > 512) {
    std::erase_if(decoded_, [](const auto& e) { return e.second.source.expired(); });
    return decoded_[source.get()].image;
  }
  return entry.image;
}

const QImage& PictureStore::picture(const ui::Image& image) {
  if (const auto& bitmap = image.bitmap()) {
    return decode(bitmap, [&bitmap] {
      if (bitmap->width <= 0 || bitmap->height <= 0 ||
          bitmap->rgba.size() < static_cast<std::size_t>(bitmap->width) * bitmap->height * 4) {
        return QImage();
      }
      return QImage(bitmap->rgba.data(), bitmap->width, bitmap->height, bitmap->width * 4,
                    QImage::Format_RGBA8888)
          .copy();
    });
  }
  if (const auto& data = image.data()) {
    return decode(
        data, [&data] { return QImage::fromData(data->data(), static_cast<int>(data->size())); });
  }
  if (image.name().empty()) return kNone;
  auto [it, fresh] = named_.try_emplace(image.name());
  if (fresh) {
    const QString path = resourcePath(image.name());
    if (!path.isEmpty()) it->second = QImage(path);
    if (it->second.isNull()) missing_.push_back(image.name());
  }
  return it->second;
}

}  // namespace lk::qt

#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace lk {

// The application's own data files (hot-city table, map pages, icons), found in the resource
// directory: the one set by a front end or test, else "LOKAVO_RESOURCE_DIR" from the
// environment, else the directory compiled in.
class AppResources {
 public:
  [[nodiscard]] static std::filesystem::path directory();
  static void setDirectory(const std::filesystem::path& dir);  // empty restores the default

  // "<dir>/<name>.<type>" when that file exists ("hotcity", "json").
  [[nodiscard]] static std::optional<std::filesystem::path> pathForResource(std::string_view name,
                                                                            std::string_view type);
  // The PNG file of a picture the screens name, the sharpest one not finer than the screen:
  // "<dir>/<name>@2x.png" on a screen of scale 2 when it exists, else "<dir>/<name>.png". A
  // trailing ".png" in the name is ignored. A name may reach into a folder of the directory
  // ("PXPhotoBrowser.bundle/images/next"), never out of it.
  [[nodiscard]] static std::optional<std::filesystem::path> pathForImage(std::string_view name,
                                                                         int scale = 1);
  // The file's bytes, or nullopt when it is missing or unreadable.
  [[nodiscard]] static std::optional<std::string> contentsOfResource(std::string_view name,
                                                                     std::string_view type);
};

}  // namespace lk

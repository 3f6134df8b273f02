#include "Platform/Resources/AppResources.h"

#include <cstdlib>
#include <fstream>
#include <mutex>
#include <sstream>

namespace lk {

namespace {
std::mutex gMutex;
std::filesystem::path gOverride;
}  // namespace

std::filesystem::path AppResources::directory() {
  std::lock_guard lock(gMutex);
  if (!gOverride.empty()) return gOverride;
  if (const char* env = std::getenv("LOKAVO_RESOURCE_DIR"); env != nullptr && *env != '\0') {
    return env;
  }
  return LOKAVO_RESOURCE_DIR;
}

void AppResources::setDirectory(const std::filesystem::path& dir) {
  std::lock_guard lock(gMutex);
  gOverride = dir;
}

std::optional<std::filesystem::path> AppResources::pathForResource(std::string_view name,
                                                                   std::string_view type) {
  // A resource name is a plain file name: nothing outside the directory is reachable.
  if (name.empty() || name.find('/') != std::string_view::npos || name == "." || name == "..") {
    return std::nullopt;
  }
  if (type.find('/') != std::string_view::npos) return std::nullopt;
  std::string file(name);
  if (!type.empty()) {
    file += '.';
    file += type;
  }
  auto path = directory() / file;
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) return std::nullopt;
  return path;
}

std::optional<std::filesystem::path> AppResources::pathForImage(std::string_view name, int scale) {
  constexpr std::string_view kExtension = ".png";
  if (name.size() >= kExtension.size() &&
      name.substr(name.size() - kExtension.size()) == kExtension) {
    name.remove_suffix(kExtension.size());
  }
  // Every component a plain file or folder name: no absolute path, no "..", no empty part.
  std::filesystem::path relative;
  for (std::string_view rest = name;;) {
    const auto slash = rest.find('/');
    const std::string_view part = rest.substr(0, slash);
    if (part.empty() || part == "." || part == ".." || part.find('\\') != std::string_view::npos) {
      return std::nullopt;
    }
    relative /= std::string(part);
    if (slash == std::string_view::npos) break;
    rest.remove_prefix(slash + 1);
  }
  const std::filesystem::path dir = directory();
  const std::string base = relative.filename().string();
  std::error_code ec;
  for (int s = scale; s >= 1; --s) {
    const std::string file = s == 1 ? base + ".png" : base + "@" + std::to_string(s) + "x.png";
    auto path = dir / relative.parent_path() / file;
    if (std::filesystem::is_regular_file(path, ec)) return path;
  }
  return std::nullopt;
}

std::optional<std::string> AppResources::contentsOfResource(std::string_view name,
                                                            std::string_view type) {
  const auto path = pathForResource(name, type);
  if (!path) return std::nullopt;
  std::ifstream in(*path, std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream out;
  out << in.rdbuf();
  if (in.bad()) return std::nullopt;
  return out.str();
}

}  // namespace lk

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

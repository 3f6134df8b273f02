#include "Platform/Storage/AppDirectories.h"

#include <pwd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <system_error>

namespace lk {

namespace {

std::mutex gMutex;
std::filesystem::path gDataOverride;
std::filesystem::path gCacheOverride;

std::optional<std::filesystem::path> absoluteEnv(const char* name) {
  const char* value = std::getenv(name);
  if (value == nullptr || *value == '\0') return std::nullopt;
  std::filesystem::path p(value);
  // Relative XDG paths are invalid and ignored.
  if (!p.is_absolute()) return std::nullopt;
  return p;
}

std::filesystem::path homeDirectory() {
  if (auto home = absoluteEnv("HOME")) return *home;
  if (const passwd* pw = ::getpwuid(::getuid()); pw != nullptr && pw->pw_dir != nullptr) {
    return pw->pw_dir;
  }
  return std::filesystem::temp_directory_path();
}

std::filesystem::path choose(const std::filesystem::path& override, const char* lokavoEnv,
                             const char* xdgEnv, const char* homeFallback) {
  if (!override.empty()) return override;
  if (const char* v = std::getenv(lokavoEnv); v != nullptr && *v != '\0') {
    return std::filesystem::path(v);
  }
  if (auto xdg = absoluteEnv(xdgEnv)) return *xdg / "lokavo";
  return homeDirectory() / homeFallback / "lokavo";
}

}  // namespace

std::filesystem::path AppDirectories::dataDirectory() {
  std::lock_guard lock(gMutex);
  return choose(gDataOverride, "LOKAVO_DATA_DIR", "XDG_DATA_HOME", ".local/share");
}

std::filesystem::path AppDirectories::cacheDirectory() {
  std::lock_guard lock(gMutex);
  return choose(gCacheOverride, "LOKAVO_CACHE_DIR", "XDG_CACHE_HOME", ".cache");
}

bool AppDirectories::ensureDirectory(const std::filesystem::path& dir, std::string* error) {
  std::error_code ec;
  if (std::filesystem::is_directory(dir, ec)) return true;
  std::filesystem::create_directories(dir, ec);
  // Owner-only: the data directory holds the account's password.
  if (!ec) std::filesystem::permissions(dir, std::filesystem::perms::owner_all, ec);
  if (ec || !std::filesystem::is_directory(dir)) {
    if (error != nullptr) {
      *error = ec ? ec.message() : std::string("not a directory");
    }
    return false;
  }
  return true;
}

bool AppDirectories::checkWritable(const std::filesystem::path& dir, std::string* error) {
  if (!ensureDirectory(dir, error)) return false;
  std::string probe = (dir / ".write-check-XXXXXX").string();
  const int fd = ::mkstemp(probe.data());
  if (fd < 0) {
    if (error != nullptr) *error = std::strerror(errno);
    return false;
  }
  ::close(fd);
  ::unlink(probe.c_str());
  return true;
}

void AppDirectories::setDataDirectory(const std::filesystem::path& dir) {
  std::lock_guard lock(gMutex);
  gDataOverride = dir;
}

void AppDirectories::setCacheDirectory(const std::filesystem::path& dir) {
  std::lock_guard lock(gMutex);
  gCacheOverride = dir;
}

}  // namespace lk

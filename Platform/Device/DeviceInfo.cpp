#include "Platform/Device/DeviceInfo.h"

#include <fcntl.h>
#include <sys/utsname.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <mutex>
#include <random>
#include <sstream>

#include "Platform/Log/Log.h"
#include "Platform/Storage/AppDirectories.h"

namespace lk {

namespace {

std::mutex gMutex;
std::string gSystemVersion;
std::string gModel;
std::string gIdentifier;

bool isIdentifier(const std::string& s) {
  if (s.size() != 40) return false;
  for (char c : s) {
    if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) return false;
  }
  return true;
}

std::string newIdentifier() {
  std::random_device random;
  static constexpr char kHex[] = "0123456789abcdef";
  std::string id;
  id.reserve(40);
  for (int i = 0; i < 40; ++i)
    id.push_back(kHex[random() & 0xF]);
  return id;
}

std::string readIdentifier(const std::filesystem::path& file) {
  std::ifstream in(file);
  std::string line;
  std::getline(in, line);
  return isIdentifier(line) ? line : std::string();
}

// Written once, atomically and owner-only, so that a crash never leaves half an identifier.
bool storeIdentifier(const std::filesystem::path& file, const std::string& id) {
  std::string temp = file.string() + ".tmp-XXXXXX";
  const int fd = ::mkstemp(temp.data());
  if (fd < 0) return false;
  const std::string line = id + "\n";
  const bool ok = ::write(fd, line.data(), line.size()) == static_cast<ssize_t>(line.size()) &&
                  ::fsync(fd) == 0;
  ::close(fd);
  if (!ok || ::rename(temp.c_str(), file.c_str()) != 0) {
    ::unlink(temp.c_str());
    return false;
  }
  return true;
}

}  // namespace

std::string DeviceInfo::systemVersion() {
  std::lock_guard lock(gMutex);
  if (!gSystemVersion.empty()) return gSystemVersion;
  if (const char* env = std::getenv("LOKAVO_OS_VERSION"); env != nullptr && *env != '\0') {
    return env;
  }
  utsname u{};
  if (::uname(&u) != 0) return "0";
  // "6.1.0-18-amd64" -> "6.1.0"
  std::string release = u.release;
  const auto end = release.find_first_not_of("0123456789.");
  release = release.substr(0, end);
  return release.empty() ? std::string("0") : release;
}

void DeviceInfo::setSystemVersion(const std::string& version) {
  std::lock_guard lock(gMutex);
  gSystemVersion = version;
}

std::string DeviceInfo::model() {
  std::lock_guard lock(gMutex);
  return gModel.empty() ? std::string(kDefaultModel) : gModel;
}

void DeviceInfo::setModel(const std::string& model) {
  std::lock_guard lock(gMutex);
  gModel = model;
}

std::string DeviceInfo::uniqueIdentifier() {
  std::lock_guard lock(gMutex);
  if (!gIdentifier.empty()) return gIdentifier;
  const auto dir = AppDirectories::dataDirectory();
  const auto file = dir / kIdentifierFileName;
  gIdentifier = readIdentifier(file);
  if (!gIdentifier.empty()) return gIdentifier;
  gIdentifier = newIdentifier();
  std::string error;
  if (!AppDirectories::ensureDirectory(dir, &error) || !storeIdentifier(file, gIdentifier)) {
    logf("cannot keep the device identifier in %s", file.c_str());
  }
  return gIdentifier;
}

void DeviceInfo::setUniqueIdentifier(const std::string& identifier) {
  std::lock_guard lock(gMutex);
  gIdentifier = identifier;
}

void DeviceInfo::resetForTesting() {
  std::lock_guard lock(gMutex);
  gSystemVersion.clear();
  gModel.clear();
  gIdentifier.clear();
}

}  // namespace lk

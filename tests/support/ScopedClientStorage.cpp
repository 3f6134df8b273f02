#include "tests/support/ScopedClientStorage.h"

#include "Classes/Account/LoginViewController.h"
#include "Classes/LocalState/CacheCenter.h"
#include "Classes/Location/LocationService.h"
#include "Platform/Device/DeviceInfo.h"
#include "Platform/Location/LocationSource.h"
#include "Platform/Storage/AppDirectories.h"
#include "Platform/Storage/UserDefaults.h"

namespace lk::test {

ScopedClientStorage::ScopedClientStorage() {
  AppDirectories::setDataDirectory(dataDirectory());
  AppDirectories::setCacheDirectory(cacheDirectory());
  (void)AppDirectories::ensureDirectory(dataDirectory());
  (void)AppDirectories::ensureDirectory(cacheDirectory());
  restart();
}

ScopedClientStorage::~ScopedClientStorage() {
  // The location service's time-outs live on the test's run loop, which outlives this.
  LocationService::resetSharedInstanceForTesting();
  LocationScript::reset();
  // The login screen holds the session and its requests; the cache centre keeps a pointer to
  // the store: both go first.
  LoginViewController::resetSharedInstanceForTesting();
  CacheCenter::resetSharedInstanceForTesting();
  UserDefaults::setStandardUserDefaults(nullptr);
  store_.reset();
  DeviceInfo::resetForTesting();
  AppDirectories::setDataDirectory({});
  AppDirectories::setCacheDirectory({});
}

std::filesystem::path ScopedClientStorage::storeFile() const {
  return dataDirectory() / UserDefaults::kFileName;
}

void ScopedClientStorage::restart() {
  // A new process has no session and no position.
  LoginViewController::resetSharedInstanceForTesting();
  LocationService::resetSharedInstanceForTesting();
  CacheCenter::resetSharedInstanceForTesting();
  DeviceInfo::resetForTesting();
  UserDefaults::setStandardUserDefaults(nullptr);
  store_ = makeJsonFileUserDefaults(storeFile());
  UserDefaults::setStandardUserDefaults(store_.get());
}

}  // namespace lk::test

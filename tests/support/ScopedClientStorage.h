#pragma once

#include <filesystem>
#include <memory>

#include "tests/support/TestSupport.h"

namespace lk {
class UserDefaults;
}

namespace lk::test {

// Everything the client keeps on disk, in a temporary directory for the scope of a test: the
// data and cache directories, a user-defaults store installed as the standard one, and fresh
// CacheCenter, login screen, location service and device facts (positioning refused until a
// test scripts it). Tests never touch the user's real files.
class ScopedClientStorage {
 public:
  ScopedClientStorage();
  ScopedClientStorage(const ScopedClientStorage&) = delete;
  ScopedClientStorage& operator=(const ScopedClientStorage&) = delete;
  ~ScopedClientStorage();

  [[nodiscard]] UserDefaults& store() { return *store_; }
  [[nodiscard]] std::filesystem::path dataDirectory() const { return dir_ / "data"; }
  [[nodiscard]] std::filesystem::path cacheDirectory() const { return dir_ / "cache"; }
  [[nodiscard]] std::filesystem::path storeFile() const;

  // A new process on the same files: the store is opened again, CacheCenter restores afresh
  // on its next use and the login screen starts without a session.
  void restart();

 private:
  TempDir dir_;
  std::unique_ptr<UserDefaults> store_;
};

}  // namespace lk::test

#pragma once

#include <boost/json/value.hpp>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lk {

// The persistent key-value store of the client's settings: strings, numbers, booleans, lists and
// dictionaries, held as JSON values. Main thread only.
//
// Every set or remove is written through at once, atomically: a crash never leaves a
// half-written store and the old content survives a failed write. synchronize() reports whether
// everything set so far is on disk (and retries a write that failed).
class UserDefaults {
 public:
  UserDefaults() = default;
  UserDefaults(const UserDefaults&) = delete;
  UserDefaults& operator=(const UserDefaults&) = delete;
  virtual ~UserDefaults() = default;

  // The value under `key`, or nullopt when absent.
  [[nodiscard]] virtual std::optional<boost::json::value> objectForKey(
      std::string_view key) const = 0;
  // Sets the value; a JSON null removes the key, like removeObjectForKey.
  virtual void setObject(std::string_view key, boost::json::value value) = 0;
  virtual void removeObjectForKey(std::string_view key) = 0;
  [[nodiscard]] virtual bool synchronize() = 0;
  [[nodiscard]] virtual std::vector<std::string> keys() const = 0;

  // Typed reads. A value of another kind reads as absent, except that integerForKey converts a
  // number or decimal text the way every decoder of the client does.
  [[nodiscard]] std::optional<std::string> stringForKey(std::string_view key) const;
  [[nodiscard]] std::optional<long long> integerForKey(std::string_view key) const;
  [[nodiscard]] std::optional<bool> boolForKey(std::string_view key) const;
  // The strings of the list under `key`, skipping entries that are not strings.
  [[nodiscard]] std::vector<std::string> stringArrayForKey(std::string_view key) const;

  void setString(std::string_view key, std::string_view value);
  void setInteger(std::string_view key, long long value);
  void setBool(std::string_view key, bool value);
  void setStringArray(std::string_view key, const std::vector<std::string>& values);

  // The process's standard store: the one a front end or test installed, else a JSON file in the
  // data directory, opened on first use.
  static UserDefaults& standardUserDefaults();
  static void setStandardUserDefaults(UserDefaults* store);  // not owned; nullptr restores

  // The file name of the standard store inside the data directory.
  static constexpr const char* kFileName = "UserDefaults.json";
};

// A store kept in a JSON file at `path` (created with mode 0600 on the first write). A file that
// cannot be read or parsed is moved aside to "<path>.corrupt-<time>" and the store starts empty,
// with one log line saying so.
std::unique_ptr<UserDefaults> makeJsonFileUserDefaults(const std::filesystem::path& path);

// The store of the user-defaults backend the program links, kept at `path`.
std::unique_ptr<UserDefaults> makeDefaultUserDefaults(const std::filesystem::path& path);

}  // namespace lk

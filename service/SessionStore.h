#pragma once

#include <optional>
#include <string>

namespace lk::service {

class Database;

// Login sessions. A session id ("ssid") is 32 random hex digits tied to an account; every
// account-bound endpoint resolves it here, and an unknown or missing id resolves to nothing.
class SessionStore {
 public:
  struct User {
    std::string username;
    int userId = 0;
    std::string nickname;  // empty while the account is not activated
  };

  explicit SessionStore(Database& db) : db_(db) {}
  [[nodiscard]] std::string create(const std::string& username);
  [[nodiscard]] std::optional<User> lookup(const std::string& ssid) const;
  [[nodiscard]] static std::string randomHex(std::size_t digits);

 private:
  Database& db_;
};

}  // namespace lk::service

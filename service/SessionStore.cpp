#include "service/SessionStore.h"

#include <chrono>
#include <random>

#include "service/Database.h"

namespace lk::service {

std::string SessionStore::randomHex(std::size_t digits) {
  static constexpr char kHex[] = "0123456789abcdef";
  thread_local std::mt19937_64 engine{std::random_device{}()};
  std::string out;
  out.reserve(digits);
  for (std::size_t i = 0; i < digits; ++i)
    out.push_back(kHex[engine() % 16]);
  return out;
}

std::string SessionStore::create(const std::string& username) {
  const std::string ssid = randomHex(32);
  const auto now = std::chrono::duration_cast<std::chrono::seconds>(
                       std::chrono::system_clock::now().time_since_epoch())
                       .count();
  Transaction tx(db_);
  db_.prepare("INSERT INTO session (ssid, username, created) VALUES (?, ?, ?)")
      .bind(1, ssid)
      .bind(2, username)
      .bind(3, static_cast<std::int64_t>(now))
      .run();
  tx.commit();
  return ssid;
}

std::optional<SessionStore::User> SessionStore::lookup(const std::string& ssid) const {
  if (ssid.empty() || ssid.size() > 64) return std::nullopt;
  auto guard = db_.lock();
  auto stmt = db_.prepare(
      "SELECT a.username, a.user_id, a.nickname FROM session s "
      "JOIN account a ON a.username = s.username WHERE s.ssid = ?");
  stmt.bind(1, ssid);
  if (!stmt.step()) return std::nullopt;
  return User{stmt.text(0), stmt.integer(1), stmt.text(2)};
}

}  // namespace lk::service

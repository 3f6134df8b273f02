#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

#include "service/Statement.h"

struct sqlite3;

namespace lk::service {

// A failed database operation; carries SQLite's message.
class DatabaseError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// One SQLite connection in WAL mode, shared by the worker threads of the server. Every use goes
// through `lock()` so that a transaction is never interleaved with another thread's statements.
class Database {
 public:
  // Opens (creating if needed) the database at `path`; ":memory:" keeps it in memory.
  explicit Database(const std::string& path);
  Database(const Database&) = delete;
  Database& operator=(const Database&) = delete;
  ~Database();

  [[nodiscard]] std::unique_lock<std::recursive_mutex> lock() {
    return std::unique_lock<std::recursive_mutex>(mutex_);
  }

  // Runs statements that take no parameters (schema, pragmas).
  void exec(std::string_view sql);
  [[nodiscard]] Statement prepare(std::string_view sql);
  [[nodiscard]] std::int64_t lastInsertId() const;
  [[nodiscard]] int userVersion();
  void setUserVersion(int version);
  [[nodiscard]] const std::string& path() const { return path_; }

 private:
  std::string path_;
  sqlite3* db_ = nullptr;
  std::recursive_mutex mutex_;
};

// Commits on `commit()`, rolls back when left without it (also on an exception).
class Transaction {
 public:
  explicit Transaction(Database& db);
  Transaction(const Transaction&) = delete;
  Transaction& operator=(const Transaction&) = delete;
  ~Transaction();
  void commit();

 private:
  Database& db_;
  std::unique_lock<std::recursive_mutex> lock_;
  bool done_ = false;
};

}  // namespace lk::service

#include "service/Database.h"

#include <sqlite3.h>

namespace lk::service {

Database::Database(const std::string& path) : path_(path) {
  const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_FULLMUTEX;
  if (sqlite3_open_v2(path.c_str(), &db_, flags, nullptr) != SQLITE_OK) {
    std::string message = db_ ? sqlite3_errmsg(db_) : "out of memory";
    sqlite3_close(db_);
    db_ = nullptr;
    throw DatabaseError("cannot open " + path + ": " + message);
  }
  sqlite3_busy_timeout(db_, 5000);
  exec("PRAGMA journal_mode=WAL");
  exec("PRAGMA synchronous=NORMAL");
  exec("PRAGMA foreign_keys=ON");
}

Database::~Database() {
  sqlite3_close(db_);
}

void Database::exec(std::string_view sql) {
  auto guard = lock();
  char* error = nullptr;
  const std::string text(sql);
  if (sqlite3_exec(db_, text.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
    std::string message = error ? error : "unknown error";
    sqlite3_free(error);
    throw DatabaseError(message);
  }
}

Statement Database::prepare(std::string_view sql) {
  sqlite3_stmt* stmt = nullptr;
  if (sqlite3_prepare_v3(db_, sql.data(), static_cast<int>(sql.size()), 0, &stmt, nullptr) !=
      SQLITE_OK) {
    throw DatabaseError(std::string(sqlite3_errmsg(db_)) + " in: " + std::string(sql));
  }
  return Statement(db_, stmt);
}

std::int64_t Database::lastInsertId() const {
  return sqlite3_last_insert_rowid(db_);
}

int Database::userVersion() {
  auto guard = lock();
  auto stmt = prepare("PRAGMA user_version");
  return stmt.step() ? stmt.integer(0) : 0;
}

void Database::setUserVersion(int version) {
  // PRAGMA takes no bound parameters; the value is an integer formatted here, never user text.
  exec("PRAGMA user_version=" + std::to_string(version));
}

Transaction::Transaction(Database& db) : db_(db), lock_(db.lock()) {
  db_.exec("BEGIN IMMEDIATE");
}

Transaction::~Transaction() {
  if (!done_) {
    try {
      db_.exec("ROLLBACK");
    } catch (const DatabaseError&) {
      // Nothing more can be done here; the connection rolls back on close.
    }
  }
}

void Transaction::commit() {
  db_.exec("COMMIT");
  done_ = true;
}

}  // namespace lk::service

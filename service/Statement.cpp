#include "service/Statement.h"

#include <sqlite3.h>

#include "service/Database.h"

namespace lk::service {

namespace {

void check(sqlite3* db, int rc) {
  if (rc != SQLITE_OK) throw DatabaseError(sqlite3_errmsg(db));
}

}  // namespace

Statement::Statement(Statement&& other) noexcept : db_(other.db_), stmt_(other.stmt_) {
  other.stmt_ = nullptr;
}

Statement::~Statement() {
  sqlite3_finalize(stmt_);
}

Statement& Statement::bind(int index, std::int64_t value) {
  check(db_, sqlite3_bind_int64(stmt_, index, value));
  return *this;
}

Statement& Statement::bind(int index, double value) {
  check(db_, sqlite3_bind_double(stmt_, index, value));
  return *this;
}

Statement& Statement::bind(int index, std::string_view text) {
  check(db_,
        sqlite3_bind_text64(stmt_, index, text.data(), text.size(), SQLITE_TRANSIENT, SQLITE_UTF8));
  return *this;
}

Statement& Statement::bindBlob(int index, std::string_view bytes) {
  check(db_, sqlite3_bind_blob64(stmt_, index, bytes.data(), bytes.size(), SQLITE_TRANSIENT));
  return *this;
}

Statement& Statement::bindNull(int index) {
  check(db_, sqlite3_bind_null(stmt_, index));
  return *this;
}

bool Statement::step() {
  const int rc = sqlite3_step(stmt_);
  if (rc == SQLITE_ROW) return true;
  if (rc == SQLITE_DONE) return false;
  throw DatabaseError(sqlite3_errmsg(db_));
}

void Statement::run() {
  while (step()) {
  }
}

void Statement::reset() {
  sqlite3_reset(stmt_);
  sqlite3_clear_bindings(stmt_);
}

bool Statement::isNull(int column) const {
  return sqlite3_column_type(stmt_, column) == SQLITE_NULL;
}

std::int64_t Statement::int64(int column) const {
  return sqlite3_column_int64(stmt_, column);
}

double Statement::real(int column) const {
  return sqlite3_column_double(stmt_, column);
}

std::string Statement::text(int column) const {
  const auto* p = sqlite3_column_text(stmt_, column);
  if (p == nullptr) return {};
  return std::string(reinterpret_cast<const char*>(p),
                     static_cast<std::size_t>(sqlite3_column_bytes(stmt_, column)));
}

std::optional<std::string> Statement::optionalText(int column) const {
  if (isNull(column)) return std::nullopt;
  return text(column);
}

std::string Statement::blob(int column) const {
  const void* p = sqlite3_column_blob(stmt_, column);
  if (p == nullptr) return {};
  return std::string(static_cast<const char*>(p),
                     static_cast<std::size_t>(sqlite3_column_bytes(stmt_, column)));
}

}  // namespace lk::service

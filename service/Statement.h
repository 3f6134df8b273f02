#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

namespace lk::service {

// A prepared statement. Values only ever reach SQL through the bind operations (1-based).
class Statement {
 public:
  Statement(sqlite3* db, sqlite3_stmt* stmt) : db_(db), stmt_(stmt) {}
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;
  Statement(Statement&& other) noexcept;
  Statement& operator=(Statement&&) = delete;
  ~Statement();

  Statement& bind(int index, std::int64_t value);
  Statement& bind(int index, int value) { return bind(index, static_cast<std::int64_t>(value)); }
  Statement& bind(int index, long long value) {
    return bind(index, static_cast<std::int64_t>(value));
  }
  Statement& bind(int index, double value);
  Statement& bind(int index, std::string_view text);
  Statement& bind(int index, const char* text) { return bind(index, std::string_view(text)); }
  Statement& bind(int index, const std::string& text) {
    return bind(index, std::string_view(text));
  }
  Statement& bindBlob(int index, std::string_view bytes);
  Statement& bindNull(int index);

  // Steps once: true while a row is available.
  bool step();
  // Steps to the end (for statements without result rows).
  void run();
  void reset();

  [[nodiscard]] bool isNull(int column) const;
  [[nodiscard]] std::int64_t int64(int column) const;
  [[nodiscard]] int integer(int column) const { return static_cast<int>(int64(column)); }
  [[nodiscard]] double real(int column) const;
  [[nodiscard]] std::string text(int column) const;
  [[nodiscard]] std::optional<std::string> optionalText(int column) const;
  [[nodiscard]] std::string blob(int column) const;

 private:
  sqlite3* db_;
  sqlite3_stmt* stmt_;
};

}  // namespace lk::service

#pragma once

namespace lk::service {

class Database;

// The database layout, built by numbered migrations. `PRAGMA user_version` records the last one
// applied; each migration runs in its own transaction, so a failed start leaves the previous
// version intact.
class Schema {
 public:
  static int latestVersion();
  // Applies every migration newer than the database's version. Returns the version found before.
  static int migrate(Database& db);
};

}  // namespace lk::service

#pragma once

#include <sys/types.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "tests/support/TestSupport.h"

namespace lk::test {

// Starts the stand-in service program on a free loopback port with a database of its own
// (in a temporary directory unless one is given), reads the port from the first line of its
// output, and stops it again when destroyed. It runs the program; it shares no code with it.
class ServiceLauncher {
 public:
  struct Options {
    std::vector<std::string> arguments;  // extra command-line options
    std::filesystem::path database;      // empty: a new one in the temporary directory
    std::filesystem::path binary;        // empty: `defaultBinary()`
    // When set and the database does not exist yet, this filled database is copied in first,
    // which spares the program seeding its sample data again.
    std::filesystem::path templateDatabase;
    double startTimeoutSeconds = 60;
  };

  ServiceLauncher();
  explicit ServiceLauncher(Options options);
  ServiceLauncher(const ServiceLauncher&) = delete;
  ServiceLauncher& operator=(const ServiceLauncher&) = delete;
  ~ServiceLauncher();

  // The program: $LOKAVO_SERVICE_BIN, else the build tree's service/lokavo-service.
  static std::filesystem::path defaultBinary();
  // A database filled by the default program, made once per build of the program and kept in
  // the build tree (named after the program's size and time stamp); empty when it cannot be
  // made. Safe to call from test processes running side by side.
  static std::filesystem::path sharedTemplate();

  [[nodiscard]] bool running() const { return port_ > 0; }
  [[nodiscard]] int port() const { return port_; }
  // "http://127.0.0.1:PORT", the host of the passport and picture endpoints.
  [[nodiscard]] std::string origin() const;
  // "http://127.0.0.1:PORT/client", the service base URL.
  [[nodiscard]] std::string baseURL() const { return origin() + "/client"; }
  [[nodiscard]] const std::filesystem::path& databasePath() const { return database_; }
  [[nodiscard]] std::filesystem::path scratchDir() const { return dir_.path(); }
  // What the program wrote to its error output so far.
  [[nodiscard]] std::string errorOutput() const;
  // Stops the program (SIGTERM, then SIGKILL after a grace period); returns its exit status.
  int stop();

 private:
  void start(Options options);

  TempDir dir_;
  std::filesystem::path database_;
  pid_t pid_ = -1;
  int port_ = -1;
};

}  // namespace lk::test

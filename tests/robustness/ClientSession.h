#pragma once

#include <filesystem>
#include <memory>
#include <sstream>
#include <string>

#include "frontends/commands/CliSession.h"
#include "tests/support/ScopedClientStorage.h"
#include "tests/support/ServiceLauncher.h"
#include "tests/support/TestSupport.h"

namespace lk::test {

// The client driven by front-end commands against a stand-in service of its own whose faults a
// test steers through a rules file. Stored state lives in a temporary directory; a picture is
// stored on disk before the session starts, so that a test can check it survives.
class ClientSession {
 public:
  ClientSession();
  ClientSession(const ClientSession&) = delete;
  ClientSession& operator=(const ClientSession&) = delete;
  ~ClientSession();

  [[nodiscard]] bool serviceRunning() const { return service_.running(); }
  [[nodiscard]] std::string serviceErrors() const { return service_.errorOutput(); }
  [[nodiscard]] std::string serviceBaseURL() const { return service_.baseURL(); }
  // Replaces the service's fault rules ("" for none).
  void setFaults(const std::string& rules);

  // Runs one command; returns what it printed (the screen after it).
  std::string run(const std::string& line);
  [[nodiscard]] cli::CliSession& session() { return *session_; }
  // The number of shops in the list of the results screen on top of the selected tab, or -1
  // when no results screen is on top.
  [[nodiscard]] int shownShops();

  // The stored settings and the stored picture are what they were before the session.
  [[nodiscard]] std::string storedStateDifference();

  static constexpr const char* kPictureKey = "http://127.0.0.1:1/pic/kept.png";

 private:
  TempDir scratch_;
  std::filesystem::path rules_;
  ScopedMainLoop loop_{false};
  ScopedClientStorage storage_;
  ServiceLauncher service_;
  std::ostringstream out_;
  std::unique_ptr<cli::CliSession> session_;
  std::string storedSettings_;
  std::string pictureBytes_;
};

}  // namespace lk::test

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
  // Runs one command without waiting for the service: the command returns while its requests
  // are still on their way, as when a person moves on at once.
  std::string runWithoutWaiting(const std::string& line);
  // How long a command waits for the client to settle (10 s of the loop's clock by default).
  void setSettleBound(Duration bound);
  // Ends the client and starts it again on the same stored state, as a new process would.
  void restartClient();
  [[nodiscard]] cli::CliSession& session() { return *session_; }
  // The number of shops in the list of the results screen on top of the selected tab, or -1
  // when no results screen is on top.
  [[nodiscard]] int shownShops();

  // The message box of the alert centre as "TITLE / MESSAGE", or "" when none shows.
  [[nodiscard]] static std::string alert();
  // Presses "好的" when a message box shows.
  void dismissAlert();
  // Logs in through the "个人中心" tab's rows; true when a session was opened.
  bool login(const std::string& name, const std::string& password);
  [[nodiscard]] static bool loggedIn();

  // The stored settings and the stored picture are what they were before the session (or at
  // the last `keepStoredState`), and every picture in the picture cache still decodes.
  [[nodiscard]] std::string storedStateDifference();
  // Takes the stored settings as they are now as those to keep (after a login stored its
  // account, for example).
  void keepStoredState();

  static constexpr const char* kPictureKey = "http://127.0.0.1:1/pic/kept.png";

 private:
  TempDir scratch_;
  std::filesystem::path rules_;
  ScopedMainLoop loop_{false};
  ScopedClientStorage storage_;
  ServiceLauncher service_;
  std::ostringstream out_;
  std::unique_ptr<cli::CliSession> session_;
  cli::CliOptions options_;
  Duration settleBound_ = seconds(10);
  std::string storedSettings_;
  std::string pictureBytes_;
};

}  // namespace lk::test

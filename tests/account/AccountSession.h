#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "frontends/commands/CliSession.h"
#include "tests/support/ScopedClientStorage.h"
#include "tests/support/ServiceLauncher.h"
#include "tests/support/TestSupport.h"

namespace lk {
class LoginViewController;
}

namespace lk::test {

// One request as the stand-in logged it.
struct LoggedRequest {
  std::string method;
  std::string target;
  std::string body;
};

// The client driven by front-end commands against a stand-in service of its own (every
// verification code is "1234"; faults steered through a rules file). Stored state lives in a
// temporary directory and survives `restartClient`, as it survives a new process.
class AccountSession : public ::testing::Test {
 protected:
  static constexpr const char* kVerifyCode = "1234";

  AccountSession();
  ~AccountSession() override;

  // Runs one command; returns what it printed (the screen after it).
  std::string run(const std::string& line);
  bool shows(const std::string& text) { return run("dump").find(text) != std::string::npos; }
  // The "个人中心" tab's login rows filled and sent with the keyboard's return keys.
  std::string loginThroughScreen(const std::string& name, const std::string& password);
  // Ends the client and starts a new one on the same stored state.
  void restartClient();
  void setFaults(const std::string& rules);

  // The requests the service logged whose target contains `part`, waiting a little for
  // `atLeast` of them (the service writes a line once its answer is out).
  std::vector<LoggedRequest> received(const std::string& part, std::size_t atLeast = 0);
  // The targets of every logged request, in order.
  std::vector<std::string> targets();

  static LoginViewController& login();
  // The shown message box's title and message ("" when none shows).
  static std::string alertTitle();
  static std::string alertMessage();
  // Presses "好的" on the message box.
  void dismissAlert() { run("alert 好的"); }

  TempDir scratch;
  std::filesystem::path logFile = scratch / "requests.log";
  std::filesystem::path rulesFile = scratch / "faults.txt";
  ScopedMainLoop loop{false};
  ScopedClientStorage storage;
  ServiceLauncher service;
  std::ostringstream out;
  std::unique_ptr<cli::CliSession> session;
};

}  // namespace lk::test

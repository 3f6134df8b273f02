// The program at a terminal: line editing, history, Ctrl-C at the prompt and while waiting,
// Ctrl-D, through a pseudo-terminal.
#include <gtest/gtest.h>

#include "tests/cli/PtyProgram.h"
#include "tests/support/ServiceLauncher.h"
#include "tests/support/TestSupport.h"

namespace lk::test {
namespace {

using namespace keys;

class InteractivePrompt : public ::testing::Test {
 protected:
  std::unique_ptr<PtyProgram> start(std::vector<std::string> arguments = {}) {
    arguments.insert(arguments.end(), {"--data-dir", (home_ / "data").string(), "--cache-dir",
                                       (home_ / "cache").string()});
    ::setenv("HOME", home_.path().c_str(), 1);  // no ~/.editrc of the user's
    auto program = std::make_unique<PtyProgram>(LOKAVO_CLI_PATH, arguments);
    EXPECT_TRUE(program->started());
    EXPECT_TRUE(program->waitFor("lokavo> ")) << program->output();
    return program;
  }
  // Types a line and waits for the next prompt; returns what the command printed.
  static std::string enter(PtyProgram& program, const std::string& keys) {
    program.mark();
    program.type(keys);
    program.type(kEnter);
    EXPECT_TRUE(program.waitFor("\nlokavo> ")) << program.sinceMark();
    return program.sinceMark();
  }

  TempDir home_;
};

TEST_F(InteractivePrompt, EditingKeysHistoryAndChineseText) {
  auto lokavo = start();
  EXPECT_NE(enter(*lokavo, std::string("tab 9") + kBackspace + "1").find("[附近]"),
            std::string::npos);
  EXPECT_NE(enter(*lokavo, "tab 0").find("[搜索]"), std::string::npos);
  // Up twice recalls "tab 1".
  EXPECT_NE(enter(*lokavo, std::string(kUp) + kUp).find("[附近]"), std::string::npos);
  // Backspace takes one whole character of Chinese text, not one byte of it.
  EXPECT_NE(enter(*lokavo, std::string("tab 优惠券") + kBackspace).find("[优惠]"),
            std::string::npos);
  // The cursor moves over Chinese characters; typing inserts where it stands.
  EXPECT_NE(enter(*lokavo, std::string("tab 现播报") + kLeft + kLeft + "场").find("[现场播报]"),
            std::string::npos);
  lokavo->type(kCtrlD);
  EXPECT_EQ(lokavo->wait(), 0);
}

TEST_F(InteractivePrompt, CtrlCDiscardsTheLineAndCtrlDEnds) {
  auto lokavo = start();
  lokavo->mark();
  lokavo->type("tab 3");
  ASSERT_TRUE(lokavo->waitFor("tab 3"));
  lokavo->type(kCtrlC);
  ASSERT_TRUE(lokavo->waitFor("lokavo> ")) << lokavo->sinceMark();
  const std::string shown = enter(*lokavo, "tab 1");
  EXPECT_NE(shown.find("[附近]"), std::string::npos) << shown;
  EXPECT_EQ(lokavo->output().find("[现场播报]"), std::string::npos) << "the discarded line ran";
  // Up does not bring the discarded line back.
  EXPECT_NE(enter(*lokavo, kUp).find("[附近]"), std::string::npos);
  lokavo->type(kCtrlD);
  EXPECT_EQ(lokavo->wait(), 0) << lokavo->output();
}

TEST_F(InteractivePrompt, CtrlCStopsWaitingForASlowServiceAndTheSessionGoesOn) {
  ServiceLauncher::Options options;
  options.templateDatabase = ServiceLauncher::sharedTemplate();
  options.arguments = {"--fault", "/client/search delay=6000"};
  ServiceLauncher service(options);
  ASSERT_TRUE(service.running()) << service.errorOutput();
  auto lokavo = start({"--service-url", service.baseURL()});
  lokavo->mark();
  lokavo->type(std::string("search 火锅") + kEnter);
  // After a second the terminal says what it is waiting for, on one line rewritten in place.
  ASSERT_TRUE(lokavo->waitFor("waiting for the service")) << lokavo->sinceMark();
  EXPECT_EQ(lokavo->sinceMark().find("section:"), std::string::npos);
  lokavo->type(kCtrlC);
  ASSERT_TRUE(lokavo->waitFor("stopped waiting")) << lokavo->sinceMark();
  ASSERT_TRUE(lokavo->waitFor("lokavo> "));
  EXPECT_NE(lokavo->sinceMark().find("\r\x1b[K"), std::string::npos) << "the line is erased";
  EXPECT_NE(enter(*lokavo, "tab 1").find("[附近]"), std::string::npos);
  // The answer still arrives in the client while the prompt waits for keys.
  enter(*lokavo, "tab 0");
  const std::string later = enter(*lokavo, "wait 7000");
  EXPECT_NE(later.find("section: 搜索－火锅["), std::string::npos) << later;
  lokavo->type("quit");
  lokavo->type(kEnter);
  EXPECT_EQ(lokavo->wait(), 0);
}

}  // namespace
}  // namespace lk::test

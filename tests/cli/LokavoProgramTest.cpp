// Runs the built "lokavo" program as a user would.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>

#include "tests/support/ServiceLauncher.h"
#include "tests/support/TestSupport.h"

namespace lk {
namespace {

struct Result {
  int status = -1;
  std::string out;
};

Result runProgram(const std::string& arguments, const std::string& input = {}) {
  test::TempDir io;
  test::writeFile(io / "in", input);
  const std::string command = std::string(LOKAVO_CLI_PATH) + " " + arguments + " < " +
                              (io / "in").string() + " 2>" + (io / "err").string();
  Result r;
  FILE* pipe = ::popen(command.c_str(), "r");
  if (pipe == nullptr) return r;
  char buf[4096];
  std::size_t n = 0;
  while ((n = std::fread(buf, 1, sizeof buf, pipe)) > 0)
    r.out.append(buf, n);
  const int status = ::pclose(pipe);
  r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return r;
}

TEST(LokavoProgram, WithoutScriptOrTerminalPrintsTheStartupState) {
  test::TempDir data;
  auto r = runProgram("--data-dir " + data.path().string());
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out.rfind("city: 北京 (131)\ntabs: 搜索 | 附近 | 优惠 | 现场播报 | 个人中心\n"
                        "selected: 搜索\n",
                        0),
            0u)
      << r.out;
}

TEST(LokavoProgram, CityChangeIsKeptForTheNextStart) {
  test::TempDir data;
  auto r = runProgram("--data-dir " + data.path().string() + " --script -",
                      "city 75 成都\ntab 更多\nquit\n");
  EXPECT_EQ(r.status, 0);
  EXPECT_NE(r.out.find("tabbar: 搜索 | 附近 | 现场播报 | 个人中心 | [更多]"), std::string::npos)
      << r.out;
  auto again = runProgram("--data-dir " + data.path().string());
  EXPECT_NE(again.out.find("city: 成都 (75)\ntabs: 搜索 | 附近 | 现场播报 | 个人中心 | 更多\n"),
            std::string::npos)
      << again.out;
}

TEST(LokavoProgram, TheDemoScriptRunsThroughAgainstTheStandInService) {
  test::ServiceLauncher service;
  ASSERT_TRUE(service.running()) << service.errorOutput();
  test::TempDir data;
  auto r = runProgram("--service-url " + service.baseURL() + " --data-dir " + data.path().string() +
                      " --cache-dir " + (data / "cache").string() + " --script " +
                      std::string(LOKAVO_SOURCE_DIR) + "/frontends/cli/demo.lkscript");
  EXPECT_EQ(r.status, 0);
  EXPECT_NE(r.out.find("> quit"), std::string::npos) << r.out;
  EXPECT_EQ(r.out.find("unknown command"), std::string::npos) << r.out;
  // The search, the next page, the sort by score and the district filter each show.
  EXPECT_NE(r.out.find("section: 搜索－火锅["), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("row 0.15"), std::string::npos) << "the second page";
  EXPECT_NE(r.out.find("button: [总分] (selected)"), std::string::npos);
  EXPECT_NE(r.out.find("button: [东城区]"), std::string::npos);
}

TEST(LokavoProgram, BadOptionsExitWithUsage) {
  EXPECT_EQ(runProgram("--bogus").status, 2);
  EXPECT_EQ(runProgram("--position 500,1").status, 2);
  EXPECT_EQ(runProgram("--script /nonexistent/script").status, 2);
  auto help = runProgram("--help");
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("usage: lokavo"), std::string::npos);
}

}  // namespace
}  // namespace lk

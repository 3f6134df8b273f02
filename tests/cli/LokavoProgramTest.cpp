// Runs the built "lokavo" program as a user would.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <sstream>
#include <thread>
#include <vector>

#include "tests/support/LoopbackHttpServer.h"
#include "tests/support/ServiceLauncher.h"
#include "tests/support/TestSupport.h"

namespace lk {
namespace {

struct Result {
  int status = -1;
  std::string out;
  std::string err;
};

// Runs `command` through the shell; `input` is its standard input (a file, or a pipe when
// `piped`).
Result runShell(const std::string& command, const std::string& input, bool piped) {
  test::TempDir io;
  test::writeFile(io / "in", input);
  const std::string in = (io / "in").string();
  const std::string line = (piped ? "cat " + in + " | " + command : command + " < " + in) + " 2>" +
                           (io / "err").string();
  Result r;
  FILE* pipe = ::popen(line.c_str(), "r");
  if (pipe == nullptr) return r;
  char buf[4096];
  std::size_t n = 0;
  while ((n = std::fread(buf, 1, sizeof buf, pipe)) > 0)
    r.out.append(buf, n);
  const int status = ::pclose(pipe);
  r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  r.err = test::readFile(io / "err");
  return r;
}

// The request targets in the stand-in's log that contain one of `parts`, waiting a little for
// `atLeast` of them (a line is written once its answer is out).
std::vector<std::string> loggedTargets(const std::filesystem::path& log,
                                       const std::vector<std::string>& parts, std::size_t atLeast) {
  std::vector<std::string> targets;
  for (int attempt = 0; attempt < 100; ++attempt) {
    targets.clear();
    std::istringstream lines(test::readFile(log));
    std::string line;
    while (std::getline(lines, line)) {
      const auto tab = line.find('\t');
      const auto end = line.find('\t', tab + 1);
      if (tab == std::string::npos || end == std::string::npos) continue;
      std::string target = line.substr(tab + 1, end - tab - 1);
      for (const auto& part : parts) {
        if (target.find(part) != std::string::npos) {
          targets.push_back(target);
          break;
        }
      }
    }
    if (targets.size() >= atLeast) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return targets;
}

Result runProgram(const std::string& arguments, const std::string& input = {}, bool piped = false) {
  return runShell(std::string(LOKAVO_CLI_PATH) + " " + arguments, input, piped);
}

// The same with `environment` ("NAME=value ...") set for the program.
Result runProgramWith(const std::string& environment, const std::string& arguments) {
  return runShell(environment + " " + std::string(LOKAVO_CLI_PATH) + " " + arguments, {}, false);
}

std::size_t count(const std::string& text, const std::string& part) {
  std::size_t n = 0;
  for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
    ++n;
  return n;
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
                      " --cache-dir " + (data / "cache").string() +
                      " --position 39.915,116.404 --script " + std::string(LOKAVO_SOURCE_DIR) +
                      "/frontends/cli/demo.lkscript");
  EXPECT_EQ(r.status, 0);
  EXPECT_NE(r.out.find("> quit"), std::string::npos) << r.out;
  EXPECT_EQ(r.out.find("unknown command"), std::string::npos) << r.out;
  // The search, the next page, the sort by score and the district filter each show.
  EXPECT_NE(r.out.find("section: 搜索－火锅["), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("row 0.15"), std::string::npos) << "the second page";
  EXPECT_NE(r.out.find("button: [总分] (selected)"), std::string::npos);
  EXPECT_NE(r.out.find("button: [东城区]"), std::string::npos);
  // The nearby shops around the position, nearest first.
  EXPECT_NE(r.out.find("label: 当前位置:北京市东城区王府井附近"), std::string::npos);
  EXPECT_NE(r.out.find("button: [距离] (selected)"), std::string::npos);
  EXPECT_EQ(r.out.find("alert:"), std::string::npos) << r.out;
}

TEST(LokavoProgram, TheNearbyTabListsTheShopsAroundTheGivenPosition) {
  test::TempDir scratch;
  test::ServiceLauncher::Options service;
  service.arguments = {"--log", (scratch / "requests.log").string()};
  test::ServiceLauncher standIn(service);
  ASSERT_TRUE(standIn.running()) << standIn.errorOutput();
  auto r = runProgram("--service-url " + standIn.baseURL() + " --data-dir " +
                          (scratch / "data").string() + " --position 39.915,116.404 --script -",
                      "tab 附近\ntap 1000米\npick 0 0\ndone\ntap 距离\nquit\n");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("label: 当前位置:北京市东城区王府井附近\n"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("section: 附近"), std::string::npos);
  EXPECT_NE(r.out.find("米 | "), std::string::npos) << "rows show their distance";
  EXPECT_NE(r.out.find("button: [1000米]\nbutton: [全部分类]\n"), std::string::npos);
  EXPECT_NE(r.out.find("picker: 1000米\n"), std::string::npos) << "the picker opens on 1000米";
  EXPECT_NE(r.out.find("picker: 500米\n"), std::string::npos);
  EXPECT_NE(r.out.find("button: [500米]\n"), std::string::npos);
  EXPECT_NE(r.out.find("button: [距离] (selected)"), std::string::npos);
  EXPECT_EQ(r.out.find("alert:"), std::string::npos) << r.out;

  const auto around = [](const std::string& radius, int sort, const std::string& sortm) {
    return "/client/search/0/q?ci=131&x=116.403999&y=39.915001&sd=" + radius +
           "&sort=" + std::to_string(sort) + "&p=0&n=15&xda_from=iPhone&xda_page=NearbyInfo" +
           sortm + "&rn=%E4%B8%9C%E5%9F%8E%E5%8C%BA&tn=gz";
  };
  // The search tab's home locates and asks for its districts at start; only the nearby
  // screen's requests are compared here.
  EXPECT_EQ(loggedTargets(scratch / "requests.log", {"/search/0/q?ci=131&x=", "/catmore"}, 4),
            (std::vector<std::string>{
                around("1.000000", 1, ""),
                "/client/index/131/catmore?tn=gz",
                around("0.500000", 1, ""),
                around("0.500000", 4, "&sortm=0"),
            }));
}

TEST(LokavoProgram, TheSearchTabFromItsHomeThroughTheEntryScreenAndTwoCityChanges) {
  test::TempDir scratch;
  test::ServiceLauncher::Options service;
  service.arguments = {"--log", (scratch / "requests.log").string()};
  test::ServiceLauncher standIn(service);
  ASSERT_TRUE(standIn.running()) << standIn.errorOutput();
  auto r = runProgram("--service-url " + standIn.baseURL() + " --data-dir " +
                          (scratch / "data").string() + " --position 39.915,116.404 --script -",
                      // A hot district, back, the category browser and its district segment.
                      "tap 区\nback\ntap firstpage_channel_-1\ntap 所有区域\nback\n"
                      // A keyword through the entry screen; back on the entry, it is listed.
                      "search 火锅\nback\ntap 取消\n"
                      // 浙江省 (at the end of the list) then 杭州, a city without coupons;
                      // back by the located city's row.
                      "tap 北京\npull-up\ntap 浙江省\ntap 杭州\ntap 杭州\ntap 北京\n"
                      // 广州 among the hot cities, and back.
                      "tap 北京\ntap 广州\ntap 广州\ntap 北京\nquit\n");
  EXPECT_EQ(r.status, 0) << r.err << r.out;
  EXPECT_EQ(r.err.find("AddressSanitizer"), std::string::npos) << r.err;
  EXPECT_NE(r.out.find("section: 热门区域"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("segments: 所有分类 | [所有区域]"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("section: 搜索－火锅["), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("section: 当前所在城市\nrow 0.0\n  label: 北京\nsection: 热门城市"),
            std::string::npos);
  EXPECT_NE(
      r.out.find(
          "navbar: 搜索  right: [杭州]\n  image: navigationbar_title\ntabbar: [搜索] | 附近 | "
          "现场播报 | 个人中心 | 更多\n"),
      std::string::npos)
      << "杭州 has the tab set without coupons, and the picker is gone: " << r.out;
  EXPECT_NE(r.out.find("right: [广州]\n  image: navigationbar_title\ntabbar: [搜索] | 附近 | 优惠"),
            std::string::npos);
  EXPECT_EQ(r.out.rfind("right: [北京]"), r.out.rfind("right: ["));
  const auto logged = loggedTargets(scratch / "requests.log", {"/index/"}, 6);
  const auto sent = [&](const std::string& part) {
    return std::any_of(logged.begin(), logged.end(),
                       [&](const auto& t) { return t.find(part) != std::string::npos; });
  };
  EXPECT_TRUE(sent("/client/index/131/area?xda_from=iPhone&xda_page=IndexInfo&xda_new=1"));
  EXPECT_TRUE(sent("/client/index/0/province"));
  EXPECT_TRUE(sent("/client/index/2933/city"));
  EXPECT_TRUE(sent("/client/index/179/area"));
  EXPECT_TRUE(sent("/client/index/257/area"));
}

TEST(LokavoProgram, AKeywordWithASpaceFindsTheShopsWithBothWords) {
  test::TempDir scratch;
  test::ServiceLauncher::Options service;
  service.arguments = {"--log", (scratch / "requests.log").string()};
  test::ServiceLauncher standIn(service);
  ASSERT_TRUE(standIn.running()) << standIn.errorOutput();
  auto r = runProgram("--service-url " + standIn.baseURL() + " --data-dir " +
                          (scratch / "data").string() + " --position 39.915,116.404 --script -",
                      "search \"羊肉串 三里屯\"\nrows\nquit\n");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("section: 搜索－羊肉串 三里屯["), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("drawn: 草原羊肉串（三里屯店） | "), std::string::npos) << r.out;
  EXPECT_EQ(r.out.find("alert:"), std::string::npos) << r.out;
  // Both words, not either: every listed shop has them.
  for (auto at = r.out.find("drawn: "); at != std::string::npos;
       at = r.out.find("drawn: ", at + 1)) {
    const std::string name = r.out.substr(at + 7, r.out.find(" | ", at) - at - 7);
    EXPECT_NE(name.find("羊肉串"), std::string::npos) << name;
    EXPECT_NE(name.find("三里屯"), std::string::npos) << name;
  }

  // The space goes on the wire as "+", the words percent-escaped.
  const auto searches = loggedTargets(scratch / "requests.log", {"/search/0/q"}, 1);
  ASSERT_EQ(searches.size(), 1u);
  EXPECT_EQ(searches[0].rfind("/client/search/0/q?k=%E7%BE%8A%E8%82%89%E4%B8%B2+%E4%B8%89%E9%87%8C"
                              "%E5%B1%AF&r=&ci=131&",
                              0),
            0u)
      << searches[0];
}

TEST(LokavoProgram, NearbyOffersAreTheOffersOfShopsAroundTheGivenPosition) {
  test::TempDir scratch;
  test::ServiceLauncher::Options service;
  service.arguments = {"--log", (scratch / "requests.log").string()};
  test::ServiceLauncher standIn(service);
  ASSERT_TRUE(standIn.running()) << standIn.errorOutput();
  auto r = runProgram("--service-url " + standIn.baseURL() + " --data-dir " +
                          (scratch / "data").string() + " --position 39.915,116.404 --script -",
                      "tab 优惠\ntap 附近优惠\nrows\nquit\n");
  EXPECT_EQ(r.status, 0) << r.err;
  const auto nearby = r.out.find("> tap 附近优惠\n");
  ASSERT_NE(nearby, std::string::npos) << r.out;
  const std::string shown = r.out.substr(nearby);
  EXPECT_NE(shown.find("navbar: 附近优惠"), std::string::npos) << shown;
  EXPECT_EQ(shown.find("您附近目前没有优惠信息"), std::string::npos) << shown;
  EXPECT_EQ(shown.find("alert:"), std::string::npos) << shown;

  // The sample city's shops lie in circles around its centre, the given point; only those of
  // the district there (王府井, 东直门, 崇文门) are within 3 km, while the city's hottest offers
  // shown before come from anywhere.
  const std::string listed = shown.substr(shown.find("> rows\n"));
  int rows = 0;
  for (auto at = listed.find("drawn: "); at != std::string::npos;
       at = listed.find("drawn: ", at + 1)) {
    ++rows;
    const std::string name = listed.substr(at + 7, listed.find(" | ", at) - at - 7);
    EXPECT_TRUE(name.find("（王府井") != std::string::npos ||
                name.find("（东直门") != std::string::npos ||
                name.find("（崇文门") != std::string::npos)
        << name;
  }
  EXPECT_EQ(rows, 20) << "a full first page" << listed;

  EXPECT_EQ(loggedTargets(scratch / "requests.log", {"/search/0/q"}, 1),
            std::vector<std::string>{"/client/search/0/q?ci=131&x=116.403999&y=39.915001"
                                     "&sd=3.000000&ex=1&sort=1&p=0&n=20&tn=gz"});
}

TEST(LokavoProgram, AServiceURLThatIsNotHttpWithAHostIsRefusedInOneLine) {
  for (const char* bad : {"notaurl", "ftp://h/client", "http:///client"}) {
    auto r = runProgram(std::string("--service-url ") + bad);
    EXPECT_EQ(r.status, 2) << bad;
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    EXPECT_NE(r.err.find("--service-url"), std::string::npos) << r.err;
    EXPECT_TRUE(r.out.empty()) << "nothing started";
  }
  auto fromEnvironment = runProgramWith("LOKAVO_SERVICE_URL=notaurl", "");
  EXPECT_EQ(fromEnvironment.status, 2);
  EXPECT_NE(fromEnvironment.err.find("LOKAVO_SERVICE_URL \"notaurl\""), std::string::npos)
      << fromEnvironment.err;
  EXPECT_EQ(std::count(fromEnvironment.err.begin(), fromEnvironment.err.end(), '\n'), 1);
  // The option wins over the environment.
  test::TempDir data;
  auto overridden =
      runProgramWith("LOKAVO_SERVICE_URL=notaurl",
                     "--service-url http://127.0.0.1:9/client --data-dir " + data.path().string());
  EXPECT_EQ(overridden.status, 0) << overridden.err;
}

TEST(LokavoProgram, BadOptionsExitWithUsage) {
  EXPECT_EQ(runProgram("--bogus").status, 2);
  EXPECT_EQ(runProgram("--position 500,1").status, 2);
  EXPECT_EQ(runProgram("--script /nonexistent/script").status, 2);
  auto help = runProgram("--help");
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("usage: lokavo"), std::string::npos);
}

TEST(LokavoProgram, AScriptFailsWhenACommandDidNotApplyButRunsToTheEnd) {
  test::TempDir data;
  const std::string args = "--data-dir " + data.path().string() + " --script -";
  EXPECT_EQ(runProgram(args, "tab 1\ndump\nTAB 0\n").status, 0) << "a clean script";
  for (const char* bad :
       {"frobnicate", "tap 没有这个", "tab 'open", "pick 0 0", "city 131 上海", "scroll down"}) {
    const auto r = runProgram(args, std::string("tab 1\n") + bad + "\ntab 2\n");
    EXPECT_EQ(r.status, 1) << bad << "\n" << r.out;
    const auto last = r.out.find("> tab 2\n");
    EXPECT_NE(last, std::string::npos) << bad << ": the rest ran";
    EXPECT_NE(r.out.find("| [优惠] |", last == std::string::npos ? 0 : last), std::string::npos)
        << bad;
  }
  const auto kept = runProgram(args + " --keep-going", "frobnicate\ntab 1\n");
  EXPECT_EQ(kept.status, 0);
  EXPECT_NE(kept.out.find("unknown command"), std::string::npos);
  // A refused pair was not stored: the next start is still in 北京.
  EXPECT_EQ(runProgram("--data-dir " + data.path().string()).out.rfind("city: 北京 (131)\n", 0),
            0u);
}

TEST(LokavoProgram, StandardInputThatIsNotATerminalIsAScript) {
  test::TempDir data;
  const auto r = runProgram("--data-dir " + data.path().string(), "tab 1\nfrobnicate\n", true);
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(
      r.out.find("navbar: 附近  left: [button_navigation_search]  right: [navigationbar_refresh]\n"
                 "tabbar: 搜索 | [附近]"),
      std::string::npos)
      << r.out;
  const auto clean = runProgram("--data-dir " + data.path().string(), "tab 2\n", true);
  EXPECT_EQ(clean.status, 0);
  EXPECT_NE(clean.out.find("[优惠]"), std::string::npos);
}

TEST(LokavoProgram, AnUnusableDataDirectoryIsSaidOnce) {
  test::TempDir scratch;
  test::writeFile(scratch / "file", "not a directory");
  for (const auto& dir : {scratch / "file", scratch / "file" / "below"}) {
    const auto r = runProgram("--data-dir " + dir.string() + " --log -",
                              "city 75 成都\ncity 北京\ncity 上海\nsearch 火锅\n");
    EXPECT_EQ(r.status, 0) << r.out;
    EXPECT_EQ(count(r.err, "settings will not be saved: " + dir.string()), 1u) << r.err;
    EXPECT_EQ(r.err.find("previous content is kept"), std::string::npos) << r.err;
    EXPECT_LE(count(r.err, "user defaults"), 1u) << "one line in the debug log at most\n" << r.err;
    EXPECT_NE(r.out.find("city: 上海 (289)"), std::string::npos) << "the session works on";
  }
  // Without --log the terminal gets the warning alone.
  const auto quiet = runProgram("--data-dir " + (scratch / "file").string(), "city 75 成都\n");
  EXPECT_EQ(count(quiet.err, "\n"), 1u) << quiet.err;
}

TEST(LokavoProgram, DebugLinesGoToTheLogInTheDataDirectoryUnlessToldOtherwise) {
  test::TempDir data;
  const std::string service =
      " --service-url http://127.0.0.1:" + std::to_string(test::unusedLoopbackPort()) + "/client";
  const auto quiet = runProgram("--data-dir " + data.path().string() + service, "search 火锅\n");
  EXPECT_EQ(quiet.err, "");
  EXPECT_NE(test::readFile(data / "lokavo.log").find("/client/search/0/q?"), std::string::npos);

  const auto toStderr =
      runProgram("--data-dir " + data.path().string() + service + " --log -", "search 火锅\n");
  EXPECT_NE(toStderr.err.find("/client/search/0/q?"), std::string::npos);

  const auto toFile = runProgram(
      "--data-dir " + data.path().string() + service + " --log " + (data / "other.log").string(),
      "search 火锅\n");
  EXPECT_EQ(toFile.err, "");
  EXPECT_NE(test::readFile(data / "other.log").find("/client/search/0/q?"), std::string::npos);
}

}  // namespace
}  // namespace lk

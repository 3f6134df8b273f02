// The client on the real transport, driven by front-end commands, against the stand-in service
// program; the service's request log shows what went on the wire.
#include <gtest/gtest.h>

#include <set>
#include <sstream>
#include <thread>

#include "Classes/LocalState/CacheCenter.h"
#include "Classes/ServiceClient/FormValue.h"
#include "Classes/ServiceClient/HttpRequestCacheCenter.h"
#include "Classes/ServiceClient/ServiceEndpoints.h"
#include "Platform/UI/Application.h"
#include "frontends/commands/CliSession.h"
#include "tests/support/ScopedClientStorage.h"
#include "tests/support/ServiceLauncher.h"
#include "tests/support/TestSupport.h"

namespace lk::test {
namespace {

constexpr const char* kHotPot = "%E7%81%AB%E9%94%85";              // 火锅
constexpr const char* kDongcheng = "%E4%B8%9C%E5%9F%8E%E5%8C%BA";  // 东城区

ServiceLauncher::Options withRequestLog(const std::filesystem::path& file) {
  ServiceLauncher::Options options;
  options.arguments = {"--log", file.string()};
  return options;
}

class SearchEndToEnd : public ::testing::Test {
 protected:
  SearchEndToEnd() {
    ui::Application::resetSharedInstanceForTesting();
    HttpRequestCacheCenter::resetSharedInstanceForTesting();
    ServiceEndpoints::setServiceURL(service.baseURL());
    // Located in 北京, as the run command starts: the search tab's home locates at once, and a
    // refusal would put its alert over every screen.
    cli::CliOptions options;
    options.position = cli::CliOptions::Position{39.915, 116.404};
    session = std::make_unique<cli::CliSession>(out, options);
    session->start();
  }
  ~SearchEndToEnd() override {
    session->finish();
    session.reset();
    ServiceEndpoints::setServiceURL("");
    HttpRequestCacheCenter::resetSharedInstanceForTesting();
    CacheCenter::resetSharedInstanceForTesting();
    ui::Application::resetSharedInstanceForTesting();
  }

  // Runs one command; returns what it printed (the screen after it).
  std::string run(const std::string& line) {
    out.str({});
    EXPECT_TRUE(session->execute(line)) << line;
    return out.str();
  }
  // The request targets the service logged that contain `part`. The service writes a line once
  // its answer is out, so this waits (a little) for `atLeast` of them.
  std::vector<std::string> received(const std::string& part, std::size_t atLeast = 0) {
    std::vector<std::string> lines;
    for (int attempt = 0; attempt < 100; ++attempt) {
      lines.clear();
      std::istringstream log(readFile(logFile));
      std::string line;
      while (std::getline(log, line)) {
        const auto tab = line.find('\t');
        const auto end = line.find('\t', tab + 1);
        if (tab == std::string::npos || end == std::string::npos) continue;
        std::string target = line.substr(tab + 1, end - tab - 1);
        if (target.find(part) != std::string::npos) lines.push_back(std::move(target));
      }
      if (lines.size() >= atLeast) break;
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return lines;
  }
  // The client port of each logged request, in order.
  std::vector<std::string> connections() {
    std::vector<std::string> ports;
    std::istringstream log(readFile(logFile));
    std::string line;
    while (std::getline(log, line)) {
      const auto at = line.rfind("\tconn=");
      if (at != std::string::npos) ports.push_back(line.substr(at + 6));
    }
    return ports;
  }
  std::vector<std::string> searches(std::size_t atLeast = 0) {
    return received("/search/0/q", atLeast);
  }
  static std::string search(const std::string& query) { return "/client/search/0/q?" + query; }

  TempDir scratch;
  std::filesystem::path logFile = scratch / "requests.log";
  ScopedMainLoop loop{false};
  ScopedClientStorage storage;
  ServiceLauncher service{withRequestLog(logFile)};
  std::ostringstream out;
  std::unique_ptr<cli::CliSession> session;
};

TEST_F(SearchEndToEnd, SearchPageSortAndFilterGoOnTheWireAsTheServiceExpects) {
  ASSERT_TRUE(service.running()) << service.errorOutput();
  const std::string first = run("search 火锅");
  EXPECT_NE(first.find("section: 搜索－火锅["), std::string::npos) << first;
  EXPECT_NE(first.find("navbar: 搜索结果"), std::string::npos);
  EXPECT_NE(first.find("row 0.0\n  drawn: "), std::string::npos);
  EXPECT_NE(first.find("button: [默认] (selected)"), std::string::npos);

  const std::string base = std::string("k=") + kHotPot + "&r=&ci=131";
  const std::string tail = "&xda_from=iPhone&xda_page=SearchInfo";
  auto sent = searches(1);
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_EQ(sent[0], search(base + "&sort=1&p=0&n=15" + tail + "&tn=gz"));
  EXPECT_EQ(received("/index/131/citymore?tn=gz", 1).size(), 1u);
  EXPECT_EQ(received("/index/131/catmore?tn=gz", 1).size(), 1u);

  const std::string paged = run("pull-up");
  EXPECT_NE(paged.find("row 0.15"), std::string::npos) << paged;
  sent = searches(2);
  ASSERT_EQ(sent.size(), 2u);
  EXPECT_EQ(sent[1], search(base + "&sort=1&p=1&n=15" + tail + "&tn=gz"));

  const std::string byScore = run("tap 总分");
  EXPECT_NE(byScore.find("button: [总分] (selected)"), std::string::npos);
  EXPECT_NE(byScore.find("row 0.0\n"), std::string::npos) << "a new list starts at its top";
  sent = searches(3);
  ASSERT_EQ(sent.size(), 3u);
  EXPECT_EQ(sent[2], search(base + "&sort=2&p=0&n=15" + tail + "&tn=gz"));

  run("tap 优惠");
  sent = searches(4);
  ASSERT_EQ(sent.size(), 4u);
  EXPECT_EQ(sent[3], search(base + "&sort=2&p=0&n=15" + tail + "&ex=1&tn=gz"))
      << "the coupon tab keeps the sort";

  const std::string picker = run("tap 全部区域");
  EXPECT_NE(picker.find("picker: 全部区域 | 全部"), std::string::npos) << picker;
  EXPECT_NE(picker.find("toolbar: [取消] [完成]"), std::string::npos);
  const std::string district = run("pick 0 1");
  EXPECT_NE(district.find("picker: 东城区 | 全部"), std::string::npos) << district;
  const std::string circle = run("pick 1 1");
  const std::string prefix = "picker: 东城区 | ";
  const auto at = circle.find(prefix);
  ASSERT_NE(at, std::string::npos) << circle;
  const auto nameStart = at + prefix.size();
  const std::string circleName = circle.substr(nameStart, circle.find('\n', at) - nameStart);
  const std::string filtered = run("done");
  EXPECT_NE(filtered.find("button: [" + circleName + "]"), std::string::npos) << filtered;
  EXPECT_EQ(filtered.find("picker:"), std::string::npos);
  sent = searches(5);
  ASSERT_EQ(sent.size(), 5u);
  const std::string filterStart =
      search(base + "&sort=2&p=0&n=15" + tail + "&rc=13101&rn=" + kDongcheng + "&zi=");
  EXPECT_EQ(sent[4].rfind(filterStart, 0), 0u) << sent[4];
  EXPECT_NE(sent[4].find("&z=" + FormValue::escape(circleName) + "&ex=1&tn=gz"), std::string::npos)
      << sent[4];

  // Back on the entry screen the keyword is listed; "取消" returns to the tab's home.
  const std::string back = run("back");
  EXPECT_NE(back.find("row 0.0\n  label: 火锅\n"), std::string::npos) << back;
  const std::string home = run("tap 取消");
  EXPECT_NE(home.find("section: 热门区域"), std::string::npos) << home;
}

TEST_F(SearchEndToEnd, APlaceSearchShowsItInTheTitleAndTheQuery) {
  ASSERT_TRUE(service.running()) << service.errorOutput();
  const std::string screen = run("search 火锅 王府井");
  EXPECT_NE(screen.find("section: 搜索－火锅－王府井"), std::string::npos) << screen;
  ASSERT_EQ(searches(1).size(), 1u);
  const std::string expected =
      search(std::string("k=") + kHotPot + "&r=%E7%8E%8B%E5%BA%9C%E4%BA%95&ci=131&sort=1&p=0&n=15");
  EXPECT_EQ(searches()[0].rfind(expected, 0), 0u) << searches()[0];
}

// Connections stay open between taps: later pages and searches reuse the first ones.
TEST_F(SearchEndToEnd, ASessionWithPausesKeepsReusingItsConnections) {
  ASSERT_TRUE(service.running()) << service.errorOutput();
  run("search 火锅");                             // the first page, then both trees at once
  ASSERT_GE(received("/client/", 3).size(), 3u);  // with the start-up's own requests
  const auto opened = connections();
  ASSERT_GE(opened.size(), 3u);
  loop->runUntil([] { return false; }, std::chrono::milliseconds(300));  // the user reads
  run("pull-up");
  run("tap 总分");
  ASSERT_GE(received("/client/", opened.size() + 2).size(), opened.size() + 2);
  const auto all = connections();
  const std::set<std::string> first(opened.begin(), opened.end());
  EXPECT_LE(first.size(), 2u) << "the page and the two trees need two connections at most";
  for (std::size_t i = opened.size(); i < all.size(); ++i)
    EXPECT_TRUE(first.contains(all[i])) << "request " << i << " opened a new connection";
}

TEST_F(SearchEndToEnd, CommandsThatDoNotApplyChangeNothing) {
  ASSERT_TRUE(service.running()) << service.errorOutput();
  run("search 火锅");
  const std::string before = run("dump");
  const auto sentBefore = received("/client/", 3).size();
  for (const char* line : {"tap 不存在的字", "pick 0 1", "done", "cancel", "alert 确定", "type abc",
                           "return", "pick x", "search", "tap"}) {
    const std::string printed = run(line);
    EXPECT_EQ(std::count(printed.begin(), printed.end(), '\n'), 1) << line << ": " << printed;
  }
  EXPECT_EQ(run("dump"), before);
  EXPECT_EQ(received("/client/").size(), sentBefore);
  // With the picker open, a wheel row it does not have is refused too.
  run("tap 全部区域");
  const std::string refused = run("pick 0 99");
  EXPECT_NE(refused.find("rows"), std::string::npos) << refused;
  run("cancel");
  EXPECT_EQ(received("/client/").size(), sentBefore);
}

}  // namespace
}  // namespace lk::test

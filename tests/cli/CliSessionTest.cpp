#include "frontends/commands/CliSession.h"

#include <gtest/gtest.h>

#include <random>
#include <sstream>

#include "Classes/LocalState/CacheCenter.h"
#include "Platform/Location/LocationSource.h"
#include "Platform/Net/NetworkActivityIndicator.h"
#include "Platform/Storage/UserDefaults.h"
#include "Platform/UI/Application.h"
#include "frontends/cli/TerminalProgress.h"
#include "tests/support/ScopedClientStorage.h"
#include "tests/support/TestSupport.h"

namespace lk::cli {
namespace {

class CliSessionTest : public ::testing::Test {
 protected:
  void SetUp() override { ui::Application::resetSharedInstanceForTesting(); }
  void TearDown() override {
    session_.reset();
    CacheCenter::resetSharedInstanceForTesting();
    ui::Application::resetSharedInstanceForTesting();
  }
  // Located in 北京, as the run command starts: the search tab's home locates at start, and a
  // refusal would put its alert over every screen. A test clears `located_` to start refused.
  CliSession& session() {
    if (!session_) {
      CliOptions options;
      if (located_) options.position = CliOptions::Position{39.915, 116.404};
      session_ = std::make_unique<CliSession>(out_, options);
      session_->start();
    }
    return *session_;
  }
  // Runs one command and returns what it printed.
  std::string run(std::string_view line) {
    out_.str({});
    EXPECT_TRUE(session().execute(line)) << line;
    return out_.str();
  }
  std::string screen() {
    out_.str({});
    session().printScreen();
    return out_.str();
  }

  test::ScopedMainLoop loop_;
  test::ScopedClientStorage storage_;
  UserDefaults* store_ = &storage_.store();
  std::ostringstream out_;
  std::unique_ptr<CliSession> session_;
  bool located_ = true;
};

TEST_F(CliSessionTest, StartupStateNamesCityTabsAndSelection) {
  EXPECT_EQ(session().startupState(),
            "city: 北京 (131)\ntabs: 搜索 | 附近 | 优惠 | 现场播报 | 个人中心\nselected: 搜索\n");
}

TEST_F(CliSessionTest, RestoredCityOutsideTheCouponCitiesStartsWithTheMoreSet) {
  store_->setInteger(kCurrentCityId, 179);
  store_->setString(kCurrentCityName, "杭州");
  EXPECT_EQ(session().startupState(),
            "city: 杭州 (179)\ntabs: 搜索 | 附近 | 现场播报 | 个人中心 | 更多\nselected: 搜索\n");
}

TEST_F(CliSessionTest, TabByPositionOrTitlePrintsTheScreen) {
  // Without a service the search tab's home reports its failed request in an alert.
  EXPECT_NE(run("tab 3").find("navbar: 现场播报  right: [发布播报]\n"
                              "tabbar: 搜索 | 附近 | 优惠 | [现场播报] | 个人中心\n"),
            std::string::npos);
  EXPECT_NE(run("tab '搜索'")
                .find("navbar: 搜索  right: [北京]\n  image: navigationbar_title\n"
                      "tabbar: [搜索] | 附近 | 优惠 | 现场播报 | 个人中心\n"),
            std::string::npos);
  EXPECT_EQ(run("dump"), screen());
}

TEST_F(CliSessionTest, BadCommandsPrintOneLineAndChangeNothing) {
  const std::string before = screen();
  for (const char* line : {"tab 5",
                           "tab 6",
                           "tab -1",
                           "tab 2 3",
                           "tab",
                           "tab 更多",
                           "frobnicate",
                           "foreground",
                           "wait",
                           "wait -5",
                           "wait 1e3",
                           "dump now",
                           "city 99999999999",
                           "city x y",
                           "city 1 a b",
                           "city 131 上海",
                           "city 76 成都",
                           "tab \"unclosed",
                           "scroll",
                           "scroll sideways",
                           "scroll down 0",
                           "scroll up x",
                           "rows",
                           "help frobnicate",
                           "help a b"}) {
    const std::string printed = run(line);
    EXPECT_EQ(std::count(printed.begin(), printed.end(), '\n'), 1) << line << ": " << printed;
    EXPECT_EQ(screen(), before) << line;
  }
  EXPECT_EQ(CacheCenter::sharedInstance().currentCity()->id(), 131);
  EXPECT_NE(run("frobnicate").find("unknown command \"frobnicate\""), std::string::npos);
  EXPECT_NE(run("tab 9").find("0 to 4"), std::string::npos);
}

TEST_F(CliSessionTest, BackgroundAndForegroundFollowTheApplicationState) {
  EXPECT_NE(run("background").find("in the background"), std::string::npos);
  EXPECT_EQ(CliSession::application().state(), ui::Application::State::kBackground);
  EXPECT_NE(run("background").find("already in the background"), std::string::npos);
  EXPECT_NE(run("tab 1").find("in the background"), std::string::npos);
  EXPECT_NE(run("foreground").find("active"), std::string::npos);
  EXPECT_EQ(CliSession::application().state(), ui::Application::State::kActive);
  EXPECT_NE(run("tab 1").find("[附近]"), std::string::npos);
}

TEST_F(CliSessionTest, CityOutsideTheCouponCitiesShowsTheMoreTab) {
  run("tab 3");
  // The search tab's home, with the city on its switcher button.
  const std::string chengdu = run("city 75 成都");
  EXPECT_EQ(chengdu.rfind("city: 成都 (75)\n", 0), 0u) << chengdu;
  EXPECT_NE(chengdu.find("navbar: 搜索  right: [成都]\n  image: navigationbar_title\n"
                         "tabbar: [搜索] | 附近 | 现场播报 | 个人中心 | 更多\n"),
            std::string::npos)
      << chengdu;
  const std::string xian = run("city 西安");
  EXPECT_EQ(xian.rfind("city: 西安 (233)\n", 0), 0u) << xian;
  EXPECT_NE(xian.find("right: [西安]\n  image: navigationbar_title\n"
                      "tabbar: [搜索] | 附近 | 现场播报 | 个人中心 | 更多\n"),
            std::string::npos)
      << xian;
  EXPECT_EQ(run("city 289").rfind("city: 上海 (289)\n", 0), 0u);
  EXPECT_NE(run("city").find("上海 (289)"), std::string::npos);
  EXPECT_EQ(store_->stringForKey(kCurrentCityName), "上海");
}

TEST_F(CliSessionTest, WaitRunsTheLoopsClock) {
  bool fired = false;
  auto& loop = RunLoop::main();
  loop.schedule(lk::seconds(3), [&] { fired = true; });
  run("wait 1000");
  EXPECT_FALSE(fired) << "due in 2 s: not part of this command";
  run("wait 1500");
  EXPECT_TRUE(fired);
}

TEST_F(CliSessionTest, SettlingRunsWorkDueSoonButIsBounded) {
  int soon = 0;
  int late = 0;
  RunLoop::main().schedule(std::chrono::milliseconds(30), [&] { ++soon; });
  RunLoop::main().schedule(std::chrono::milliseconds(900), [&] { ++soon; });
  RunLoop::main().schedule(lk::seconds(5), [&] { ++late; });
  run("dump");
  EXPECT_EQ(soon, 2) << "calls due within a second belong to the command";
  EXPECT_EQ(late, 0);
  // A timer that keeps rescheduling itself cannot hold a command forever.
  std::function<void()> again = [&] {
    RunLoop::main().schedule(std::chrono::milliseconds(10), again);
  };
  again();
  session().setSettleBound(lk::seconds(1));
  const auto start = RunLoop::main().now();
  run("dump");
  EXPECT_LE(RunLoop::main().now() - start, lk::seconds(1.1));
}

TEST_F(CliSessionTest, SettlingWaitsForTheNetworkToGoQuiet) {
  session();
  bool answered = false;
  NetworkActivityIndicator::setVisible(true);
  RunLoop::main().schedule(std::chrono::milliseconds(700), [&] {
    answered = true;
    NetworkActivityIndicator::setVisible(false);
  });
  const auto start = RunLoop::main().now();
  run("dump");
  EXPECT_TRUE(answered);
  EXPECT_LT(RunLoop::main().now() - start, lk::seconds(0.8));
  // A transfer that never ends holds the command only for the bound.
  NetworkActivityIndicator::setVisible(true);
  session().setSettleBound(lk::seconds(2));
  const auto again = RunLoop::main().now();
  run("dump");
  EXPECT_GE(RunLoop::main().now() - again, lk::seconds(2));
  EXPECT_LT(RunLoop::main().now() - again, lk::seconds(2.1));
  NetworkActivityIndicator::setVisible(false);
}

TEST_F(CliSessionTest, ScriptRunEchoesCommandsSkipsCommentsAndStopsAtQuit) {
  std::istringstream script("# comment\n\ntab 3\nquit\ntab 2\n");
  out_.str({});
  session().run(script, true);
  // No service runs here: the list's failed request may or may not have reported itself yet.
  const std::string printed = out_.str();
  EXPECT_EQ(printed.rfind("\n> tab 3\nnavbar: 现场播报  right: [发布播报]\n"
                          "tabbar: 搜索 | 附近 | 优惠 | [现场播报] | 个人中心\n",
                          0),
            0u)
      << printed;
  EXPECT_EQ(printed.substr(printed.size() - 8), "\n> quit\n") << printed;
  EXPECT_EQ(printed.find("tab 2"), std::string::npos) << "nothing runs after quit";
  EXPECT_EQ(CliSession::application().dumpScreen().find("[优惠]"), std::string::npos);
}

TEST_F(CliSessionTest, WithoutAPositionTheNearbyTabShowsTheRefusalAndItsHelp) {
  located_ = false;
  // The search tab's home hears the refusal first.
  EXPECT_NE(screen().find("alert: 定位失败\n"), std::string::npos);
  run("alert 确定");
  const std::string refused = run("tab 附近");
  EXPECT_NE(refused.find("label: 当前位置: ...\n"), std::string::npos) << refused;
  EXPECT_NE(refused.find("alert: 定位失败\n  message: 请确认是否开启定位服务\n"
                         "  buttons: [确定] [帮助]\n"),
            std::string::npos)
      << refused;
  EXPECT_EQ(refused.find("正在载入"), std::string::npos) << "no spinner left behind";
  const std::string help = run("alert 帮助");
  EXPECT_NE(help.find("navbar: 帮助  left: [返回]\n"), std::string::npos) << help;
  // No service runs here: the home's failed district request may report itself meanwhile.
  if (help.find("alert: 网络错误") != std::string::npos) run("alert 好的");
  const std::string back = run("tap 返回");
  EXPECT_EQ(back.find("帮助"), std::string::npos) << back;
  EXPECT_NE(back.find("navbar: 附近"), std::string::npos) << back;
}

TEST_F(CliSessionTest, TheLocationCommandScriptsWhatPositioningDelivers) {
  EXPECT_EQ(run("location 39.915,116.404").rfind("location: position 39.915000,116.404000\n", 0),
            0u);
  EXPECT_EQ(run("location denied").rfind("location: failure 1\n", 0), 0u);
  EXPECT_EQ(run("location unknown").rfind("location: failure 0\n", 0), 0u);
  EXPECT_EQ(run("location silent").rfind("location: silent\n", 0), 0u);
  const std::string before = screen();
  for (const char* line : {"location", "location 91,0", "location 39.9", "location x,y",
                           "location denied now", "location 39.9,116.4,1"}) {
    const std::string printed = run(line);
    EXPECT_EQ(std::count(printed.begin(), printed.end(), '\n'), 1) << line << ": " << printed;
    EXPECT_EQ(screen(), before) << line;
  }
  EXPECT_EQ(LocationScript::describe(), "silent") << "a rejected command changes nothing";
}

TEST_F(CliSessionTest, APositionOptionIsWhatPositioningDeliversFromTheStart) {
  CliOptions options;
  options.position = CliOptions::Position{39.915, 116.404};
  session_ = std::make_unique<CliSession>(out_, options);
  session_->start();
  EXPECT_EQ(LocationScript::describe(), "position 39.915000,116.404000");
}

TEST_F(CliSessionTest, HelpListsEveryCommandAndExplainsTheNotation) {
  const std::string help = run("help");
  for (const char* name : {"tab N|TITLE", "background", "foreground", "wait MS", "dump", "quit",
                           "city", "scroll up|down [POINTS]", "rows", "help [COMMAND]",
                           "location LAT,LON|denied|unknown|silent"}) {
    EXPECT_NE(help.find(name), std::string::npos) << name;
  }
  for (const char* notation : {"row S.R", "drawn: ", "<P>", "[TITLE]", "(selected)",
                               "tabbar:", "wheel C", "section:", "\\x1B"}) {
    EXPECT_NE(help.find(notation), std::string::npos) << notation;
  }
  EXPECT_EQ(help.find("tabbar: [搜索]"), std::string::npos) << "no screen after help";
  const std::string city = run("help CITY");
  EXPECT_EQ(city.rfind("city [ID [NAME] | NAME]\n", 0), 0u) << city;
  EXPECT_NE(city.find("hot cities"), std::string::npos);
  EXPECT_NE(run("help scrol").find("did you mean \"scroll\""), std::string::npos);
}

TEST_F(CliSessionTest, CommandsIgnoreCaseAndSlipsGetTheNearestName) {
  EXPECT_NE(run("TAB 1").find("[附近]"), std::string::npos);
  EXPECT_NE(run("Dump").find("[附近]"), std::string::npos);
  EXPECT_NE(run("tba 0").find("unknown command \"tba\" (did you mean \"tab\"?"), std::string::npos);
  EXPECT_NE(run("serach 火锅").find("did you mean \"search\""), std::string::npos);
  const std::string far = run("frobnicate");
  EXPECT_EQ(far.find("did you mean"), std::string::npos) << far;
}

TEST_F(CliSessionTest, CommandsThatDidNotApplyAreCountedAndTheRestStillRuns) {
  std::istringstream script("tab 1\nfrobnicate\ntab 'open\npick 0 0\ntab 2\n");
  out_.str({});
  session().run(script, true);
  EXPECT_EQ(session().failedCommands(), 3);
  const auto last = out_.str().find("> tab 2\n");
  ASSERT_NE(last, std::string::npos) << out_.str();
  EXPECT_NE(out_.str().find("| [优惠] |", last), std::string::npos) << out_.str();
}

TEST_F(CliSessionTest, CityAloneListsTheHotCitiesAndPairsMustMatch) {
  const std::string listed = run("city");
  EXPECT_EQ(listed.rfind("city: 北京 (131)\nhot cities: 北京 (131) | 重庆 (132) | ", 0), 0u)
      << listed;
  EXPECT_NE(listed.find("成都 (75)"), std::string::npos);
  EXPECT_EQ(listed.find("tabbar:"), std::string::npos);
  EXPECT_EQ(run("city 131 上海"), "city 131 is \"北京\", not \"上海\"\n");
  EXPECT_EQ(run("city 76 成都"), "\"成都\" is city 75, not 76\n");
  EXPECT_EQ(store_->integerForKey(kCurrentCityId), 131);
  EXPECT_EQ(store_->stringForKey(kCurrentCityName), "北京");
  EXPECT_EQ(run("city 289 上海").rfind("city: 上海 (289)\n", 0), 0u);
}

// Stands for the terminal: stops the wait once the network has been busy for a while.
class StopAfter : public WaitObserver {
 public:
  explicit StopAfter(Duration patience) : patience_(patience) {}
  bool takeInterrupt() override {
    if (longest < patience_) return false;
    ++stops;
    longest = Duration::zero();
    return true;
  }
  void networkBusy(Duration busy) override { longest = std::max(longest, busy); }
  void waitEnded() override { ++ended; }
  Duration longest{};
  int stops = 0;
  int ended = 0;

 private:
  Duration patience_;
};

TEST_F(CliSessionTest, StoppingAWaitReturnsAtOnceAndLaterCommandsDoNotWaitForThatRequest) {
  located_ = false;
  StopAfter stop(lk::seconds(1.5));
  session().setWaitObserver(&stop);
  NetworkActivityIndicator::setVisible(true);
  const auto start = RunLoop::main().now();
  EXPECT_EQ(run("tab 1"), "stopped waiting (the client goes on; \"dump\" shows the screen)\n");
  EXPECT_EQ(stop.stops, 1);
  EXPECT_GE(RunLoop::main().now() - start, lk::seconds(1.5));
  EXPECT_LT(RunLoop::main().now() - start, lk::seconds(1.6));
  EXPECT_EQ(stop.ended, 1);
  EXPECT_EQ(session().failedCommands(), 0) << "the person chose to stop";
  // The request goes on, but does not hold the next command.
  const auto next = RunLoop::main().now();
  EXPECT_NE(run("tab 2").find("[优惠]"), std::string::npos);
  EXPECT_LT(RunLoop::main().now() - next, lk::seconds(0.1));
  // Once the network went quiet, a new request is waited for again.
  NetworkActivityIndicator::setVisible(false);
  run("dump");
  NetworkActivityIndicator::setVisible(true);
  RunLoop::main().schedule(lk::seconds(0.5), [] { NetworkActivityIndicator::setVisible(false); });
  const auto again = RunLoop::main().now();
  run("dump");
  EXPECT_GE(RunLoop::main().now() - again, lk::seconds(0.5));
  EXPECT_EQ(stop.stops, 1);
  session().setWaitObserver(nullptr);
}

TEST_F(CliSessionTest, WaitCanBeStopped) {
  StopAfter stop(lk::seconds(0));
  session().setWaitObserver(&stop);
  NetworkActivityIndicator::setVisible(true);
  const auto start = RunLoop::main().now();
  EXPECT_NE(run("wait 600000").find("stopped waiting"), std::string::npos);
  EXPECT_LT(RunLoop::main().now() - start, lk::seconds(0.1));
  NetworkActivityIndicator::setVisible(false);
  session().setWaitObserver(nullptr);
}

TEST(TerminalProgress, OneLineAfterASecondRewrittenInPlaceAndErased) {
  std::ostringstream terminal;
  TerminalProgress progress(terminal);
  progress.networkBusy(lk::seconds(0.9));
  progress.waitEnded();
  EXPECT_EQ(terminal.str(), "") << "a quick answer shows nothing";
  progress.networkBusy(lk::seconds(1.0));
  progress.networkBusy(lk::seconds(1.01));  // the same text is not written again
  progress.networkBusy(lk::seconds(2.3));
  progress.waitEnded();
  EXPECT_EQ(terminal.str(),
            "\r\x1b[K| waiting for the service (1 s; Ctrl-C stops waiting)"
            "\r\x1b[K/ waiting for the service (2 s; Ctrl-C stops waiting)"
            "\r\x1b[K");

  std::ostringstream file;
  TerminalProgress notATerminal(file, false);
  notATerminal.networkBusy(lk::seconds(5));
  notATerminal.waitEnded();
  EXPECT_EQ(file.str(), "") << "no terminal controls in a file";
}

TEST_F(CliSessionTest, ArbitraryInputNeverCrashes) {
  std::mt19937 random(7);
  const std::string alphabet = "tab 0123456789-+ \"'\\#\t\xe6\x90\x9c\xff\x00waitcityquit";
  for (int i = 0; i < 2000; ++i) {
    std::string line;
    const int length = static_cast<int>(random() % 24);
    for (int j = 0; j < length; ++j)
      line += alphabet[random() % alphabet.size()];
    if (line.rfind("quit", 0) == 0 || line.rfind("exit", 0) == 0) continue;
    out_.str({});
    session().execute(line);
  }
  EXPECT_FALSE(screen().empty());
}

}  // namespace
}  // namespace lk::cli

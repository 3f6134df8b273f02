// The front end's commands on lists, pickers and cities, against a scripted loopback service and
// the stand-in service program.
#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <sstream>

#include "Classes/LocalState/CacheCenter.h"
#include "Classes/Search/SearchResultsViewController.h"
#include "Classes/ServiceClient/HttpRequestCacheCenter.h"
#include "Classes/ServiceClient/ServiceEndpoints.h"
#include "Classes/Shell/lokavoAppDelegate.h"
#include "Platform/RunLoop/DrivableRunLoop.h"
#include "Platform/Storage/UserDefaults.h"
#include "Platform/UI/Application.h"
#include "Platform/UI/NavigationController.h"
#include "Platform/UI/TabBarController.h"
#include "frontends/commands/CliSession.h"
#include "tests/search/ScriptedSearchService.h"
#include "tests/support/LoopbackHttpServer.h"
#include "tests/support/ScopedClientStorage.h"
#include "tests/support/ServiceLauncher.h"
#include "tests/support/TestSupport.h"

namespace lk::test {
namespace {

using Answer = ScriptedSearchService::Answer;

std::size_t count(const std::string& text, const std::string& part) {
  std::size_t n = 0;
  for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
    ++n;
  return n;
}

// A session on the real transport against `serviceURL`, with its own stored state.
class Session {
 public:
  explicit Session(const std::string& serviceURL) {
    ui::Application::resetSharedInstanceForTesting();
    HttpRequestCacheCenter::resetSharedInstanceForTesting();
    ServiceEndpoints::setServiceURL(serviceURL);
    // Located in 北京, as the run command starts: a refusal would put the search tab's alert
    // over every screen.
    cli::CliOptions located;
    located.position = cli::CliOptions::Position{39.915, 116.404};
    session_ = std::make_unique<cli::CliSession>(out_, located);
    session_->setSettleBound(seconds(5));
    session_->start();
  }
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;
  ~Session() {
    session_->finish();
    session_.reset();
    ServiceEndpoints::setServiceURL("");
    HttpRequestCacheCenter::resetSharedInstanceForTesting();
    CacheCenter::resetSharedInstanceForTesting();
    ui::Application::resetSharedInstanceForTesting();
  }
  std::string run(const std::string& line) {
    out_.str({});
    EXPECT_TRUE(session_->execute(line)) << line;
    return out_.str();
  }
  cli::CliSession& operator*() { return *session_; }
  cli::CliSession* operator->() { return session_.get(); }
  ui::NavigationController& searchStack() {
    return *session_->appDelegate().stack(lokavoAppDelegate::Tab::kSearch);
  }
  UserDefaults& store() { return storage_.store(); }

 private:
  ScopedMainLoop loop_{false};
  ScopedClientStorage storage_;
  std::ostringstream out_;
  std::unique_ptr<cli::CliSession> session_;
};

class CliOnAScriptedService : public ::testing::Test {
 protected:
  CliOnAScriptedService() {
    service.onSearch([](const ScriptedSearchService::Request& req) {
      const int page = std::stoi(req.queryValue("p").value_or("0"));
      return Answer{200, ScriptedSearchService::searchAnswer(40, page * 15, 15, {1})};
    });
    // The search tab's home asks for its hot districts at start; a failure would put an alert
    // over every screen.
    service.on(R"(/client/index/\d+/area)", [](const ScriptedSearchService::Request&) {
      return Answer{200, R"({"list": []})"};
    });
  }
  ScriptedSearchService service;
};

TEST_F(CliOnAScriptedService, RowsAndScrollShowAListLongerThanTheScreen) {
  Session client(service.baseURL());
  const std::string first = client.run("search 火锅");
  EXPECT_EQ(count(first, "\nrow 0."), 3u) << first;

  const std::string all = client.run("rows");
  EXPECT_EQ(all.rfind("rows: 15 in the list, 3 on screen\nsection: 搜索－火锅[40家商户]\n", 0), 0u)
      << all;
  EXPECT_EQ(count(all, "\nrow 0."), 15u);
  EXPECT_EQ(count(all, "(on screen)"), 3u);
  EXPECT_NE(all.find("row 0.0 (on screen)\n  drawn: 店0 |"), std::string::npos) << all;
  EXPECT_NE(all.find("row 0.14\n  drawn: 店14 |"), std::string::npos) << all;
  EXPECT_EQ(all.find("tabbar:"), std::string::npos) << "rows prints only the list";

  const std::string down = client.run("scroll down");
  EXPECT_EQ(down.rfind("scrolled ", 0), 0u) << down;
  EXPECT_EQ(down.find("row 0.0\n"), std::string::npos) << down;
  EXPECT_NE(down.find("row 0.3\n"), std::string::npos) << down;
  EXPECT_NE(client.run("rows").find("row 0.3 (on screen)"), std::string::npos);

  // To the end, never past it: no next page is asked for.
  EXPECT_NE(client.run("scroll down 100000").find("row 0.14\n"), std::string::npos);
  EXPECT_EQ(client.run("scroll down"), "the list is at its end (\"pull-up\" asks for more)\n");
  EXPECT_TRUE(service.targetsWith("&p=1&").empty());
  EXPECT_NE(client.run("rows").find("row 0.14 (on screen)"), std::string::npos);

  // And back to the top without a refresh.
  EXPECT_NE(client.run("scroll up 100000").find("row 0.0\n"), std::string::npos);
  EXPECT_EQ(client.run("scroll up"), "the list is at its top\n");
  EXPECT_EQ(service.targetsWith("/search/").size(), 1u);
  EXPECT_EQ(client->failedCommands(), 2);
}

TEST_F(CliOnAScriptedService, ServiceTextCannotTakeOverTheTerminal) {
  service.onSearch([](const ScriptedSearchService::Request&) {
    return Answer{200, R"({"total": 1, "searchlist": [{"shop_id": "1",
        "shop_name": "\u001b[2J\u001b]0;pwned\u0007店\nrow 9.9\r\u0085\u2028x",
        "address": "路\u001b[31m1号", "total_score": 4, "cmt_num": 3, "average_pay": 5,
        "taglist": "火锅", "cheap_off": []}]})"};
  });
  Session client(service.baseURL());
  const std::string shown = client.run("search 火锅") + client.run("rows");
  EXPECT_EQ(shown.find('\x1b'), std::string::npos) << shown;
  EXPECT_EQ(shown.find('\x07'), std::string::npos);
  EXPECT_EQ(shown.find('\r'), std::string::npos);
  EXPECT_EQ(shown.find("\xc2\x85"), std::string::npos);
  EXPECT_EQ(shown.find("\nrow 9.9"), std::string::npos) << "no forged row";
  EXPECT_NE(shown.find("drawn: \\x1B[2J\\x1B]0;pwned\\x07店\\nrow 9.9\\r\\u0085\\u2028x"),
            std::string::npos)
      << shown;
  EXPECT_NE(shown.find("路\\x1B[31m1号"), std::string::npos);
}

TEST_F(CliOnAScriptedService, PickerRowsArePrintedAroundTheSelection) {
  service.onAreaTree([](const ScriptedSearchService::Request&) {
    std::string json = R"({"list": [)";
    for (int i = 1; i <= 20; ++i) {
      json += (i > 1 ? "," : "") + std::string(R"({"id": )") + std::to_string(i) +
              R"(, "name": "区)" + std::to_string(i) + R"("})";
    }
    return Answer{200, json + "]}"};
  });
  // The filter offers the districts the results come from.
  service.onSearch([](const ScriptedSearchService::Request&) {
    std::vector<int> districts(20);
    std::iota(districts.begin(), districts.end(), 1);
    return Answer{200, ScriptedSearchService::searchAnswer(40, 0, 15, districts)};
  });
  Session client(service.baseURL());
  client.run("search 火锅");
  const std::string picker = client.run("tap 全部区域");
  EXPECT_NE(picker.find("picker: 全部区域 | 全部\n  wheel 0: 21 rows\n    0 全部区域 (selected)\n"
                        "    1 区1\n"),
            std::string::npos)
      << picker;
  EXPECT_NE(picker.find("    8 区8\n    (12 more below)\n  wheel 1: 1 row\n"), std::string::npos)
      << picker;
  const std::string turned = client.run("pick 0 15");
  EXPECT_NE(turned.find("picker: 区15 | 全部"), std::string::npos) << turned;
  EXPECT_NE(turned.find("    (11 more above)\n    11 区11\n"), std::string::npos) << turned;
  EXPECT_NE(turned.find("    15 区15 (selected)\n"), std::string::npos);
  EXPECT_NE(turned.find("    (1 more below)\n"), std::string::npos) << turned;
}

TEST_F(CliOnAScriptedService, SearchStartsFromTheSearchTabsHome) {
  Session client(service.baseURL());
  client.run("search 火锅");
  std::weak_ptr<ui::ViewController> firstResults = client.searchStack().viewControllers().back();
  for (const char* keyword : {"川菜", "烤鸭", "面"})
    client.run(std::string("search ") + keyword);
  // The home, the entry screen the search went through, and one results screen.
  EXPECT_EQ(client.searchStack().viewControllers().size(), 3u);
  EXPECT_TRUE(firstResults.expired());

  // From another tab: the search tab is chosen and its stack starts over.
  client.run("tab 1");
  std::weak_ptr<ui::ViewController> shown = client.searchStack().viewControllers().back();
  const auto result = (*client).dispatcher().dispatch({"search", "火锅"});
  EXPECT_EQ(result.outcome, cli::CommandResult::Outcome::kDone);
  EXPECT_EQ((*client).appDelegate().tabBarController()->selectedIndex(), 0);
  EXPECT_EQ(client.searchStack().viewControllers().size(), 3u);
  EXPECT_FALSE(shown.expired()) << "a screen taken off the stack lives until a later turn";
  DrivableRunLoop::main().runUntilIdle();
  EXPECT_TRUE(shown.expired());
  auto* top = dynamic_cast<SearchResultsViewController*>(
      client.searchStack().viewControllers().back().get());
  ASSERT_NE(top, nullptr);
  EXPECT_EQ(top->what, "火锅");
}

TEST(CliCity, CheckedAgainstTheServicesCityIndex) {
  ServiceLauncher::Options options;
  options.templateDatabase = ServiceLauncher::sharedTemplate();
  ServiceLauncher service(options);
  ASSERT_TRUE(service.running()) << service.errorOutput();
  Session client(service.baseURL());
  // Not hot cities: looked up in the index, province by province.
  EXPECT_EQ(client.run("city 东莞").rfind("city: 东莞 (119)\n", 0), 0u);
  EXPECT_EQ(client.run("city 180").rfind("city: 宁波 (180)\n", 0), 0u);
  EXPECT_EQ(client.run("city 119 东莞").rfind("city: 东莞 (119)\n", 0), 0u);
  EXPECT_EQ(client.run("city 2911").rfind("city: 香港特别行政区 (2911)\n", 0), 0u)
      << "a special region is a city";
  // Unknown cities and pairs that do not belong together are refused and change nothing.
  EXPECT_EQ(client.run("city 119 宁波"), "city 119 is \"东莞\", not \"宁波\"\n");
  EXPECT_EQ(client.run("city 99999"),
            "no city 99999 among the hot cities or in the service's city index\n");
  EXPECT_EQ(client.run("city 火星"),
            "no city \"火星\" among the hot cities or in the service's city index\n");
  EXPECT_EQ(client.store().integerForKey(kCurrentCityId), 2911);
  EXPECT_EQ(client->failedCommands(), 3);
}

TEST(CliCity, AServiceThatCannotAnswerLeavesTheCityAsItWas) {
  Session client("http://127.0.0.1:" + std::to_string(unusedLoopbackPort()) + "/client");
  const std::string refused = client.run("city 东莞");
  EXPECT_EQ(refused.rfind("cannot check the city: the city index could not be fetched", 0), 0u)
      << refused;
  EXPECT_EQ(client.store().integerForKey(kCurrentCityId), 131);
}

}  // namespace
}  // namespace lk::test

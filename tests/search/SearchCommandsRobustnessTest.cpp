// Random finger and keyboard commands on the results screen never crash the client, and each
// command that does not apply is refused with one line.
#include <gtest/gtest.h>

#include <cstdlib>
#include <iostream>
#include <random>
#include <sstream>

#include "Classes/LocalState/CacheCenter.h"
#include "Classes/ServiceClient/HttpRequestCacheCenter.h"
#include "Classes/ServiceClient/ServiceEndpoints.h"
#include "Platform/UI/Application.h"
#include "frontends/commands/CliSession.h"
#include "tests/search/ScriptedSearchService.h"
#include "tests/support/ScopedClientStorage.h"
#include "tests/support/TestSupport.h"

namespace lk::test {
namespace {

using Answer = ScriptedSearchService::Answer;
using Request = ScriptedSearchService::Request;

TEST(SearchCommandsRobustness, RandomCommandsOnTheResultsScreen) {
  ui::Application::resetSharedInstanceForTesting();
  HttpRequestCacheCenter::resetSharedInstanceForTesting();
  ScopedMainLoop loop;  // virtual time: the fake transport answers on its clock
  ScopedClientStorage storage;
  ScriptedSearchService service;
  service.onSearch([](const Request& req) {
    const int page = std::stoi(req.queryValue("p").value_or("0"));
    const int count = page < 2 ? 15 : 4;
    return Answer{page == 1 && req.url.find("sort=3") != std::string::npos ? 500 : 200,
                  ScriptedSearchService::searchAnswer(34, page * 15, count, {13101}, {20001})};
  });
  service.onAreaTree([](const Request&) {
    return Answer{200, R"({"list": [{"id": 13101, "name": "东城区",
                                     "list": [{"id": 1, "name": "王府井"}]}]})"};
  });
  service.onCategoryTree([](const Request&) { return Answer{200, "{broken"}; });
  ServiceEndpoints::setServiceURL(service.baseURL());
  {
    std::ostringstream out;
    cli::CliSession session(out);
    session.setSettleBound(seconds(2));
    session.start();
    const std::vector<std::string> commands = {"search 火锅",
                                               "search 火锅 王府井",
                                               "pull-up",
                                               "pull-down",
                                               "tap 总分",
                                               "tap 点评数",
                                               "tap 优惠",
                                               "tap 默认",
                                               "tap 全部区域",
                                               "tap 全部分类",
                                               "tap 店1",
                                               "tap 赶快添加商户",
                                               "tap button_scroll_top",
                                               "pick 0 0",
                                               "pick 0 1",
                                               "pick 1 1",
                                               "pick 1 5",
                                               "pick 2 0",
                                               "done",
                                               "cancel",
                                               "done",
                                               "cancel",
                                               "back",
                                               "tab 0",
                                               "alert 确定",
                                               "type x",
                                               "return",
                                               "dump",
                                               "wait 50"};
    std::mt19937 random(20261206);
    std::uniform_int_distribution<std::size_t> pick(0, commands.size() - 1);
    for (int i = 0; i < 150; ++i) {
      const std::string& line = commands[pick(random)];
      out.str({});
      ASSERT_TRUE(session.execute(line)) << line;
      const std::string printed = out.str();
      ASSERT_FALSE(printed.empty()) << line;
      if (std::getenv("SHOW") != nullptr) std::cerr << "> " << line << "\n" << printed;
    }
    session.finish();
  }
  ServiceEndpoints::setServiceURL("");
  HttpRequestCacheCenter::resetSharedInstanceForTesting();
  CacheCenter::resetSharedInstanceForTesting();
  ui::Application::resetSharedInstanceForTesting();
}

}  // namespace
}  // namespace lk::test

#include "tests/account/AccountSession.h"

#include <chrono>
#include <thread>

#include "Classes/Account/LoginViewController.h"
#include "Classes/LocalState/CacheCenter.h"
#include "Classes/Pictures/LKImageCache.h"
#include "Classes/ServiceClient/HttpRequestCacheCenter.h"
#include "Classes/ServiceClient/ServiceEndpoints.h"
#include "Classes/Toolkit/AlertCenter.h"
#include "Platform/UI/AlertView.h"
#include "Platform/UI/Application.h"

namespace lk::test {

namespace {

ServiceLauncher::Options standIn(const std::filesystem::path& log,
                                 const std::filesystem::path& rules) {
  writeFile(rules, "");
  ServiceLauncher::Options options;
  options.arguments = {"--log", log.string(),   "--verify-code",
                       "1234",  "--fault-file", rules.string()};
  options.templateDatabase = ServiceLauncher::sharedTemplate();
  return options;
}

void resetShared() {
  HttpRequestCacheCenter::resetSharedInstanceForTesting();
  LKImageCache::resetSharedInstanceForTesting();
  AlertCenter::resetSharedInstanceForTesting();
  ui::Application::resetSharedInstanceForTesting();
}

}  // namespace

AccountSession::AccountSession() : service(standIn(logFile, rulesFile)) {
  resetShared();
  ServiceEndpoints::setServiceURL(service.baseURL());
  // Located in 北京, as the run command starts: a refusal would put the search tab's alert
  // over every screen.
  cli::CliOptions located;
  located.position = cli::CliOptions::Position{39.915, 116.404};
  session = std::make_unique<cli::CliSession>(out, located);
  session->start();
}

AccountSession::~AccountSession() {
  session->finish();
  session.reset();
  LoginViewController::resetSharedInstanceForTesting();
  ServiceEndpoints::setServiceURL("");
  CacheCenter::resetSharedInstanceForTesting();
  resetShared();
}

std::string AccountSession::run(const std::string& line) {
  out.str({});
  EXPECT_TRUE(session->execute(line)) << line;
  return out.str();
}

std::string AccountSession::loginThroughScreen(const std::string& name,
                                               const std::string& password) {
  run("tab 个人中心");
  run("tap 用户名");
  run("type \"" + name + "\"");
  run("return");
  run("type \"" + password + "\"");
  return run("return");
}

void AccountSession::restartClient() {
  session->finish();
  session.reset();
  storage.restart();
  resetShared();
  // Located in 北京, as the run command starts: a refusal would put the search tab's alert
  // over every screen.
  cli::CliOptions located;
  located.position = cli::CliOptions::Position{39.915, 116.404};
  session = std::make_unique<cli::CliSession>(out, located);
  session->start();
}

void AccountSession::setFaults(const std::string& rules) {
  // The service reads the file again when its time stamp or size changes.
  writeFile(rulesFile, rules + "\n");
}

std::vector<LoggedRequest> AccountSession::received(const std::string& part, std::size_t atLeast) {
  std::vector<LoggedRequest> found;
  for (int attempt = 0; attempt < 100; ++attempt) {
    found.clear();
    std::istringstream log(readFile(logFile));
    std::string line;
    while (std::getline(log, line)) {
      std::vector<std::string> fields;
      std::size_t start = 0;
      for (;;) {
        const auto tab = line.find('\t', start);
        fields.push_back(line.substr(start, tab - start));
        if (tab == std::string::npos) break;
        start = tab + 1;
      }
      if (fields.size() < 3) continue;
      if (fields[1].find(part) != std::string::npos)
        found.push_back({fields[0], fields[1], fields[2]});
    }
    if (found.size() >= atLeast) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return found;
}

std::vector<std::string> AccountSession::targets() {
  std::vector<std::string> all;
  for (const auto& r : received(""))
    all.push_back(r.target);
  return all;
}

LoginViewController& AccountSession::login() {
  return LoginViewController::sharedInstance();
}

std::string AccountSession::alertTitle() {
  auto& alerts = AlertCenter::sharedInstance();
  return alerts.isShow() ? alerts.sharedAlertView()->title() : std::string();
}

std::string AccountSession::alertMessage() {
  auto& alerts = AlertCenter::sharedInstance();
  return alerts.isShow() ? alerts.sharedAlertView()->message() : std::string();
}

}  // namespace lk::test

#pragma once

// A command-line session against the stand-in service program with its request log, located in
// 北京 as the run command starts. End-to-end tests of the screens derive from it.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "Classes/LocalState/CacheCenter.h"
#include "Classes/ServiceClient/HttpRequestCacheCenter.h"
#include "Classes/ServiceClient/ServiceEndpoints.h"
#include "Classes/Toolkit/AlertCenter.h"
#include "Platform/UI/Application.h"
#include "frontends/commands/CliSession.h"
#include "tests/support/ScopedClientStorage.h"
#include "tests/support/ServiceLauncher.h"
#include "tests/support/TestSupport.h"

namespace lk::test {

class StandInCliSession : public ::testing::Test {
 protected:
  StandInCliSession() {
    ui::Application::resetSharedInstanceForTesting();
    HttpRequestCacheCenter::resetSharedInstanceForTesting();
    AlertCenter::resetSharedInstanceForTesting();
    ServiceEndpoints::setServiceURL(service.baseURL());
    // Located in 北京, as the run command starts: a refusal would put the search tab's alert
    // over every screen.
    cli::CliOptions located;
    located.position = cli::CliOptions::Position{39.915, 116.404};
    session = std::make_unique<cli::CliSession>(out, located);
    session->start();
  }
  ~StandInCliSession() override {
    session->finish();
    session.reset();
    ServiceEndpoints::setServiceURL("");
    AlertCenter::resetSharedInstanceForTesting();
    HttpRequestCacheCenter::resetSharedInstanceForTesting();
    CacheCenter::resetSharedInstanceForTesting();
    ui::Application::resetSharedInstanceForTesting();
  }
  static ServiceLauncher::Options options(const std::filesystem::path& log) {
    ServiceLauncher::Options o;
    o.arguments = {"--log", log.string()};
    return o;
  }
  std::string run(const std::string& line) {
    out.str({});
    EXPECT_TRUE(session->execute(line)) << line;
    return out.str();
  }
  // Lines of the service's request log containing `part`, waiting a little for `atLeast`.
  std::vector<std::string> logged(const std::string& part, std::size_t atLeast) {
    std::vector<std::string> lines;
    for (int attempt = 0; attempt < 100; ++attempt) {
      lines.clear();
      std::istringstream log(readFile(logFile));
      std::string line;
      while (std::getline(log, line)) {
        if (line.find(part) != std::string::npos) lines.push_back(line);
      }
      if (lines.size() >= atLeast) break;
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return lines;
  }

  TempDir scratch;
  std::filesystem::path logFile = scratch / "requests.log";
  ScopedMainLoop loop{false};
  ScopedClientStorage storage;
  ServiceLauncher service{options(logFile)};
  std::ostringstream out;
  std::unique_ptr<cli::CliSession> session;
};

}  // namespace lk::test

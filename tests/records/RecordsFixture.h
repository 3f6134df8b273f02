#pragma once

#include <gtest/gtest.h>

#include <boost/json/object.hpp>

#include <chrono>
#include <functional>
#include <string>

#include "Classes/Json/JsonValue.h"
#include "Classes/Pictures/LKImageCache.h"
#include "Classes/ServiceClient/ServiceEndpoints.h"
#include "Platform/Storage/AppDirectories.h"
#include "tests/support/PictureHttpServer.h"
#include "tests/support/ScopedTimeZone.h"
#include "tests/support/TestSupport.h"

namespace lk::test {

// Records fetch pictures and additional information themselves: every test gets a main loop, a
// fresh picture store in a temporary caches directory and a loopback server standing in for the
// service and the picture hosts.
class RecordsFixture : public ::testing::Test {
 protected:
  RecordsFixture() {
    AppDirectories::setCacheDirectory(dir_.path());
    LKImageCache::resetSharedInstanceForTesting();
    ServiceEndpoints::setServiceURL(server_.url("/client"));
  }
  ~RecordsFixture() override {
    LKImageCache::resetSharedInstanceForTesting();
    AppDirectories::setCacheDirectory({});
    ServiceEndpoints::setServiceURL("");
  }

  static boost::json::object object(std::string_view text) {
    auto v = json::parse(text);
    EXPECT_TRUE(v && v->is_object()) << text;
    return v && v->is_object() ? v->get_object() : boost::json::object();
  }
  bool runUntil(const std::function<bool()>& done) {
    return loop_->runUntil(done, std::chrono::seconds(10));
  }
  // Lets every answer that is on its way arrive.
  void settle() { loop_->runFor(std::chrono::milliseconds(30)); }
  // A picture base URL on this machine where nothing answers.
  [[nodiscard]] std::string deadBase() const {
    return "http://127.0.0.1:" + std::to_string(deadPort_) + "/";
  }

  ScopedTimeZone zone_{"Asia/Shanghai"};
  // Transfers run on the real clock: the transport's own timers must fire while waiting.
  ScopedMainLoop loop_{false};
  TempDir dir_;
  PictureHttpServer server_;
  int deadPort_ = unusedLoopbackPort();
};

}  // namespace lk::test

#pragma once

#include <condition_variable>
#include <map>
#include <mutex>
#include <string>

#include "tests/support/LoopbackHttpServer.h"

namespace lk::test {

// A loopback server of fixed bodies by path, for picture and record downloads. Answers to a
// path can be held back until the test opens it, and requests are counted per path.
class PictureHttpServer {
 public:
  PictureHttpServer();
  PictureHttpServer(const PictureHttpServer&) = delete;
  PictureHttpServer& operator=(const PictureHttpServer&) = delete;
  ~PictureHttpServer();

  void serve(const std::string& path, std::string body, int status = 200,
             std::string contentType = "image/png");
  // Answers to `path` wait until open() (or the server ends).
  void hold(const std::string& path);
  void open(const std::string& path);

  [[nodiscard]] std::string url(const std::string& path) const { return server_.url(path); }
  [[nodiscard]] int requestCount(const std::string& path) const;
  // The query string of the latest request to `path`.
  [[nodiscard]] std::string lastQuery(const std::string& path) const;

 private:
  struct Route {
    std::string body;
    int status = 200;
    std::string contentType;
  };
  mutable std::mutex mutex_;
  std::condition_variable opened_;
  std::map<std::string, Route> routes_;
  std::map<std::string, bool> held_;
  std::map<std::string, int> counts_;
  std::map<std::string, std::string> queries_;
  bool stopping_ = false;
  LoopbackHttpServer server_;  // last: it stops before the state above goes
};

}  // namespace lk::test

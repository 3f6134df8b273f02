#pragma once

#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

namespace httplib {
class Server;
}

namespace lk::test {

// A small HTTP server on a loopback port, in a thread of the test process, serving fixed bodies
// by path. Paths can be held back until the test opens them, and requests are counted.
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

  [[nodiscard]] std::string url(const std::string& path) const;
  [[nodiscard]] int requestCount(const std::string& path) const;
  [[nodiscard]] int port() const { return port_; }

 private:
  struct Route {
    std::string body;
    int status = 200;
    std::string contentType;
  };
  std::unique_ptr<httplib::Server> server_;
  std::thread thread_;
  int port_ = 0;
  mutable std::mutex mutex_;
  std::condition_variable opened_;
  std::map<std::string, Route> routes_;
  std::map<std::string, bool> held_;
  std::map<std::string, int> counts_;
  bool stopping_ = false;
};

// A loopback port where nothing listens (connections are refused).
int closedLoopbackPort();

}  // namespace lk::test

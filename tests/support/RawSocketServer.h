#pragma once

#include <chrono>
#include <cstddef>
#include <string>
#include <thread>

namespace lk::test {

// A one-connection server on 127.0.0.1 for answers no well-behaved server gives: it accepts one
// connection, reads the request head, writes `reply` as it is and closes the connection.
// With `slowRead`, it first reads `slowRead.total` bytes after the head, `slowRead.step` bytes
// every `slowRead.pause`, through a small receive buffer (a slow uplink).
class RawSocketServer {
 public:
  struct SlowRead {
    std::size_t total = 0;
    std::size_t step = 0;
    std::chrono::milliseconds pause{0};
  };
  explicit RawSocketServer(std::string reply);
  RawSocketServer(std::string reply, SlowRead slowRead);
  RawSocketServer(const RawSocketServer&) = delete;
  RawSocketServer& operator=(const RawSocketServer&) = delete;
  ~RawSocketServer();

  [[nodiscard]] int port() const { return port_; }
  [[nodiscard]] std::string url(const std::string& path = "/") const;

 private:
  int listenFd_ = -1;
  int port_ = 0;
  std::thread thread_;
};

}  // namespace lk::test

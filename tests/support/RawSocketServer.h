#pragma once

#include <string>
#include <thread>

namespace lk::test {

// A one-connection server on 127.0.0.1 for answers no well-behaved server gives: it accepts one
// connection, reads the request head, writes `reply` as it is and closes the connection.
class RawSocketServer {
 public:
  explicit RawSocketServer(std::string reply);
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

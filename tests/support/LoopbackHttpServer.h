#pragma once

#include <httplib.h>

#include <string>
#include <thread>

namespace lk::test {

// A real HTTP server on 127.0.0.1 and a free port, serving from its own thread for the lifetime
// of the object. Register handlers on server() before start().
class LoopbackHttpServer {
 public:
  LoopbackHttpServer();
  LoopbackHttpServer(const LoopbackHttpServer&) = delete;
  LoopbackHttpServer& operator=(const LoopbackHttpServer&) = delete;
  ~LoopbackHttpServer();

  httplib::Server& server() { return server_; }
  // Binds and starts serving; returns once the server accepts connections.
  void start();
  // Stops serving and joins the thread (the destructor does it too).
  void stop();

  [[nodiscard]] int port() const { return port_; }
  // "http://127.0.0.1:<port>" followed by `path`.
  [[nodiscard]] std::string url(const std::string& path = "") const;

 private:
  httplib::Server server_;
  std::thread thread_;
  int port_ = 0;
};

// A loopback port on which nothing listens (bound, then closed again).
int unusedLoopbackPort();

}  // namespace lk::test

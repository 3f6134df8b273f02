#pragma once

#include <httplib.h>

#include "service/ConnectionGate.h"

namespace lk::service {

// The HTTP library's server, with its connections held by a ConnectionGate instead of one worker
// thread each: the library still parses requests, routes them and writes answers, but what a
// connection may cost is bounded by the gate.
class GatedHttpServer : public httplib::Server {
 public:
  explicit GatedHttpServer(const ConnectionGate::Limits& limits);
  GatedHttpServer(const GatedHttpServer&) = delete;
  GatedHttpServer& operator=(const GatedHttpServer&) = delete;
  ~GatedHttpServer() override;

  // The library listens with a backlog of 5, which drops connections that arrive together (they
  // wait for a SYN retry, a second or more); a bound socket's backlog is widened here.
  void widenBacklog();
  // Closes the open connections (after `stop()`, once listening has ended).
  void closeConnections() { gate_.stop(); }

 private:
  bool process_and_close_socket(socket_t sock) override;

  ConnectionGate gate_;
};

}  // namespace lk::service

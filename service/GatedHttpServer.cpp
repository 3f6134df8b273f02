#include "service/GatedHttpServer.h"

#include <sys/socket.h>

#include <memory>

namespace lk::service {

namespace {

// Runs each job at once on the accepting thread: the only job is handing a new connection to
// the gate, which returns immediately.
class HandOver final : public httplib::TaskQueue {
 public:
  void enqueue(std::function<void()> fn) override { fn(); }
  void shutdown() override {}
};

}  // namespace

GatedHttpServer::GatedHttpServer(const ConnectionGate::Limits& limits)
    : gate_(limits, [this](httplib::Stream& stream, bool closeConnection, bool& closed) {
        return process_request(stream, closeConnection, closed, [&stream](httplib::Request& req) {
          stream.get_remote_ip_and_port(req.remote_addr, req.remote_port);
        });
      }) {
  // The library writes these into its "Keep-Alive" answer header; the gate enforces them.
  set_keep_alive_max_count(limits.maxRequestsPerConnection);
  set_keep_alive_timeout(
      std::chrono::duration_cast<std::chrono::seconds>(limits.idleTimeout).count());
  // The library takes ownership of the queue it is given.
  new_task_queue = [] { return std::make_unique<HandOver>().release(); };
}

GatedHttpServer::~GatedHttpServer() {
  gate_.stop();
}

void GatedHttpServer::widenBacklog() {
  // Listening again on a listening socket only changes its backlog.
  if (svr_sock_ != INVALID_SOCKET) ::listen(svr_sock_, SOMAXCONN);
}

bool GatedHttpServer::process_and_close_socket(socket_t sock) {
  gate_.admit(sock);
  return true;
}

}  // namespace lk::service

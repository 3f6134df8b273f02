#include "tests/support/LoopbackHttpServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <stdexcept>

#include "Platform/Net/UrlTransfer.h"

namespace lk::test {

LoopbackHttpServer::LoopbackHttpServer() {
  server_.set_keep_alive_max_count(100);
  server_.set_keep_alive_timeout(1);  // frees the worker threads soon after a client goes
  // Answers go out at once: without it a reused connection waits for the client's delayed ACK.
  server_.set_socket_options([](socket_t sock) {
    int yes = 1;
    ::setsockopt(sock, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    ::setsockopt(sock, IPPROTO_TCP, TCP_NODELAY, &yes, sizeof yes);
  });
}

LoopbackHttpServer::~LoopbackHttpServer() {
  stop();
}

void LoopbackHttpServer::start() {
  port_ = server_.bind_to_any_port("127.0.0.1");
  if (port_ <= 0) throw std::runtime_error("cannot bind a loopback port");
  thread_ = std::thread([this] { server_.listen_after_bind(); });
  while (!server_.is_running())
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

void LoopbackHttpServer::stop() {
  if (thread_.joinable()) {
    // The client keeps its connections for reuse; a worker serving one would hold up the stop
    // until its keep-alive wait ends.
    UrlTransfer::closeIdleConnections();
    server_.stop();
    thread_.join();
  }
}

std::string LoopbackHttpServer::url(const std::string& path) const {
  return "http://127.0.0.1:" + std::to_string(port_) + path;
}

int unusedLoopbackPort() {
  const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  if (fd < 0) throw std::runtime_error("socket failed");
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  addr.sin_port = 0;
  socklen_t len = sizeof addr;
  if (::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 ||
      ::getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len) != 0) {
    ::close(fd);
    throw std::runtime_error("bind failed");
  }
  ::close(fd);
  return ntohs(addr.sin_port);
}

}  // namespace lk::test

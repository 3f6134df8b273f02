#include "tests/support/RawSocketServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <stdexcept>

namespace lk::test {

RawSocketServer::RawSocketServer(std::string reply) : RawSocketServer(std::move(reply), {}) {}

RawSocketServer::RawSocketServer(std::string reply, SlowRead slowRead) {
  listenFd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (listenFd_ < 0) throw std::runtime_error("socket failed");
  if (slowRead.total > 0) {
    int small = 4096;
    ::setsockopt(listenFd_, SOL_SOCKET, SO_RCVBUF, &small, sizeof small);
  }
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t len = sizeof addr;
  if (::bind(listenFd_, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 ||
      ::listen(listenFd_, 1) != 0 ||
      ::getsockname(listenFd_, reinterpret_cast<sockaddr*>(&addr), &len) != 0) {
    ::close(listenFd_);
    throw std::runtime_error("bind failed");
  }
  port_ = ntohs(addr.sin_port);
  thread_ = std::thread([fd = listenFd_, reply = std::move(reply), slowRead] {
    pollfd p{fd, POLLIN, 0};
    if (::poll(&p, 1, 10000) <= 0) return;  // bounded: nobody came
    const int conn = ::accept(fd, nullptr, nullptr);
    if (conn < 0) return;
    std::string head;
    char buf[1024];
    while (head.find("\r\n\r\n") == std::string::npos) {
      pollfd c{conn, POLLIN, 0};
      if (::poll(&c, 1, 10000) <= 0) break;
      const auto n = ::read(conn, buf, sizeof buf);
      if (n <= 0) break;
      head.append(buf, static_cast<std::size_t>(n));
    }
    const auto headEnd = head.find("\r\n\r\n");
    std::size_t bodyRead = headEnd == std::string::npos ? 0 : head.size() - headEnd - 4;
    while (bodyRead < slowRead.total) {
      std::this_thread::sleep_for(slowRead.pause);
      const auto n = ::read(conn, buf, std::min(sizeof buf, slowRead.step));
      if (n <= 0) break;
      bodyRead += static_cast<std::size_t>(n);
    }
    [[maybe_unused]] auto w = ::write(conn, reply.data(), reply.size());
    ::close(conn);
  });
}

RawSocketServer::~RawSocketServer() {
  ::shutdown(listenFd_, SHUT_RDWR);
  if (thread_.joinable()) thread_.join();
  ::close(listenFd_);
}

std::string RawSocketServer::url(const std::string& path) const {
  return "http://127.0.0.1:" + std::to_string(port_) + path;
}

}  // namespace lk::test

#include "tests/support/PictureHttpServer.h"

#include <arpa/inet.h>
#include <httplib.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <stdexcept>

namespace lk::test {

PictureHttpServer::PictureHttpServer() : server_(std::make_unique<httplib::Server>()) {
  server_->Get(".*", [this](const httplib::Request& request, httplib::Response& response) {
    std::unique_lock lock(mutex_);
    ++counts_[request.path];
    opened_.wait(lock, [&] { return stopping_ || !held_[request.path]; });
    const auto it = routes_.find(request.path);
    if (it == routes_.end()) {
      response.status = 404;
      response.set_content("not found", "text/plain");
      return;
    }
    response.status = it->second.status;
    response.set_content(it->second.body, it->second.contentType);
  });
  port_ = server_->bind_to_any_port("127.0.0.1");
  if (port_ <= 0) throw std::runtime_error("cannot bind a loopback port");
  thread_ = std::thread([this] { server_->listen_after_bind(); });
}

PictureHttpServer::~PictureHttpServer() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  opened_.notify_all();
  server_->stop();
  if (thread_.joinable()) thread_.join();
}

void PictureHttpServer::serve(const std::string& path, std::string body, int status,
                              std::string contentType) {
  std::lock_guard lock(mutex_);
  routes_[path] = Route{std::move(body), status, std::move(contentType)};
}

void PictureHttpServer::hold(const std::string& path) {
  std::lock_guard lock(mutex_);
  held_[path] = true;
}

void PictureHttpServer::open(const std::string& path) {
  {
    std::lock_guard lock(mutex_);
    held_[path] = false;
  }
  opened_.notify_all();
}

std::string PictureHttpServer::url(const std::string& path) const {
  return "http://127.0.0.1:" + std::to_string(port_) + path;
}

int PictureHttpServer::requestCount(const std::string& path) const {
  std::lock_guard lock(mutex_);
  const auto it = counts_.find(path);
  return it == counts_.end() ? 0 : it->second;
}

int closedLoopbackPort() {
  const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = 0;
  socklen_t length = sizeof address;
  int port = 0;
  if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
      ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) == 0) {
    port = ntohs(address.sin_port);
  }
  ::close(fd);  // bound but never listening: nothing accepts there now
  return port;
}

}  // namespace lk::test

#include "tests/support/PictureHttpServer.h"

#include <httplib.h>

namespace lk::test {

PictureHttpServer::PictureHttpServer() {
  server_.server().Get(".*", [this](const httplib::Request& request, httplib::Response& response) {
    std::unique_lock lock(mutex_);
    ++counts_[request.path];
    std::string query;
    for (const auto& [key, value] : request.params) {
      query += (query.empty() ? "" : "&") + key + "=" + value;
    }
    queries_[request.path] = query;
    opened_.wait(lock, [&] { return stopping_ || !held_[request.path]; });
    // A held answer may go to a client that gave up; do not keep its connection waiting.
    response.set_header("Connection", "close");
    const auto it = routes_.find(request.path);
    if (it == routes_.end()) {
      response.status = 404;
      response.set_content("not found", "text/plain");
      return;
    }
    response.status = it->second.status;
    response.set_content(it->second.body, it->second.contentType);
  });
  server_.start();
}

PictureHttpServer::~PictureHttpServer() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  opened_.notify_all();
  server_.stop();
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

int PictureHttpServer::requestCount(const std::string& path) const {
  std::lock_guard lock(mutex_);
  const auto it = counts_.find(path);
  return it == counts_.end() ? 0 : it->second;
}

std::string PictureHttpServer::lastQuery(const std::string& path) const {
  std::lock_guard lock(mutex_);
  const auto it = queries_.find(path);
  return it == queries_.end() ? std::string() : it->second;
}

}  // namespace lk::test

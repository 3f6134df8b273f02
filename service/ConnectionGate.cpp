#include "service/ConnectionGate.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/epoll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <stdexcept>

#include "service/Reply.h"
#include "service/RequestFraming.h"

namespace lk::service {

struct ConnectionGate::Connection {
  int fd = -1;
  std::string received;      // bytes read and not yet consumed by a request
  std::size_t consumed = 0;  // of `received`, by the request being served
  std::string remoteIp;
  int remotePort = -1;
  std::size_t served = 0;
  Clock::time_point parkedAt;
  Clock::time_point deadline;  // of the wait for the next request, or for the rest of it
};

namespace {

using Clock = ConnectionGate::Clock;

// Waits until the socket is ready for `events` or the deadline passes.
bool waitFor(int fd, short events, Clock::time_point deadline) {
  while (true) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    if (left <= 0) return false;
    pollfd entry{fd, events, 0};
    const int ready = ::poll(&entry, 1, static_cast<int>(std::min<long long>(left, 1000)));
    if (ready > 0) return true;
    if (ready < 0 && errno != EINTR) return false;
  }
}

std::string addressText(const sockaddr_storage& address, int& port) {
  char text[INET6_ADDRSTRLEN] = {};
  if (address.ss_family == AF_INET) {
    const auto& v4 = reinterpret_cast<const sockaddr_in&>(address);
    ::inet_ntop(AF_INET, &v4.sin_addr, text, sizeof text);
    port = ntohs(v4.sin_port);
  } else if (address.ss_family == AF_INET6) {
    const auto& v6 = reinterpret_cast<const sockaddr_in6&>(address);
    ::inet_ntop(AF_INET6, &v6.sin6_addr, text, sizeof text);
    port = ntohs(v6.sin6_port);
  }
  return text;
}

// The HTTP library's view of a connection: first the bytes the gate collected, then the socket,
// read until the request's deadline; writes wait at most the write time-out.
class GateStream final : public httplib::Stream {
 public:
  GateStream(ConnectionGate::Connection& connection, Clock::time_point readDeadline,
             std::chrono::milliseconds writeTimeout)
      : c_(connection), readDeadline_(readDeadline), writeTimeout_(writeTimeout) {}

  bool is_readable() const override {
    return c_.consumed < c_.received.size() || waitFor(c_.fd, POLLIN, readDeadline_);
  }
  bool is_writable() const override {
    return waitFor(c_.fd, POLLOUT, Clock::now() + writeTimeout_);
  }

  ssize_t read(char* ptr, size_t size) override {
    while (c_.consumed == c_.received.size()) {
      // A body read here passes through a small buffer, never piles up in it.
      c_.received.clear();
      c_.consumed = 0;
      if (!waitFor(c_.fd, POLLIN, readDeadline_)) return -1;
      char chunk[4096];
      const ssize_t n = ::recv(c_.fd, chunk, sizeof chunk, MSG_DONTWAIT);
      if (n == 0) return 0;
      if (n < 0) {
        if (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR) continue;
        return -1;
      }
      c_.received.append(chunk, static_cast<std::size_t>(n));
    }
    const std::size_t n = std::min(size, c_.received.size() - c_.consumed);
    std::memcpy(ptr, c_.received.data() + c_.consumed, n);
    c_.consumed += n;
    return static_cast<ssize_t>(n);
  }

  ssize_t write(const char* ptr, size_t size) override {
    const auto deadline = Clock::now() + writeTimeout_;
    std::size_t sent = 0;
    while (sent < size) {
      const ssize_t n = ::send(c_.fd, ptr + sent, size - sent, MSG_NOSIGNAL | MSG_DONTWAIT);
      if (n > 0) {
        sent += static_cast<std::size_t>(n);
      } else if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)) {
        if (!waitFor(c_.fd, POLLOUT, deadline)) return -1;
      } else {
        return -1;
      }
    }
    return static_cast<ssize_t>(size);
  }

  void get_remote_ip_and_port(std::string& ip, int& port) const override {
    ip = c_.remoteIp;
    port = c_.remotePort;
  }
  void get_local_ip_and_port(std::string& ip, int& port) const override {
    sockaddr_storage address{};
    socklen_t length = sizeof address;
    port = -1;
    if (::getsockname(c_.fd, reinterpret_cast<sockaddr*>(&address), &length) == 0) {
      ip = addressText(address, port);
    }
  }
  socket_t socket() const override { return c_.fd; }

 private:
  ConnectionGate::Connection& c_;
  Clock::time_point readDeadline_;
  std::chrono::milliseconds writeTimeout_;
};

const char* reason(int status) {
  switch (status) {
    case 400:
      return "Bad Request";
    case 408:
      return "Request Timeout";
    case 431:
      return "Request Header Fields Too Large";
    default:
      return "Service Unavailable";
  }
}

}  // namespace

std::size_t ConnectionGate::Limits::defaultWorkers() {
  const std::size_t cores = std::max(1u, std::thread::hardware_concurrency());
  return std::clamp<std::size_t>(4 * cores, 16, 64);
}

ConnectionGate::ConnectionGate(Limits limits, ServeOne serveOne)
    : limits_(limits), serveOne_(std::move(serveOne)) {
  epoll_ = ::epoll_create1(EPOLL_CLOEXEC);
  wake_ = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
  if (epoll_ < 0 || wake_ < 0) throw std::runtime_error("cannot watch connections");
  epoll_event event{};
  event.events = EPOLLIN;
  event.data.fd = wake_;
  ::epoll_ctl(epoll_, EPOLL_CTL_ADD, wake_, &event);
  watcher_ = std::thread([this] { watch(); });
  for (std::size_t i = 0; i < std::max<std::size_t>(1, limits_.workers); ++i) {
    workers_.emplace_back([this] { work(); });
  }
}

ConnectionGate::~ConnectionGate() {
  stop();
  ::close(epoll_);
  ::close(wake_);
}

void ConnectionGate::stop() {
  if (stopping_.exchange(true)) return;
  const std::uint64_t one = 1;
  (void)!::write(wake_, &one, sizeof one);
  {
    // A worker between its check and its wait must not miss the news.
    std::lock_guard guard(jobsMutex_);
  }
  jobsReady_.notify_all();
  if (watcher_.joinable()) watcher_.join();
  for (auto& worker : workers_) {
    if (worker.joinable()) worker.join();
  }
  std::lock_guard guard(mutex_);
  for (auto& [fd, connection] : parked_)
    ::close(fd);
  parked_.clear();
  for (int socket : arrivals_)
    ::close(socket);
  arrivals_.clear();
  std::lock_guard jobsGuard(jobsMutex_);
  for (auto& connection : jobs_)
    ::close(connection->fd);
  jobs_.clear();
}

void ConnectionGate::admit(int socket) {
  // Connections are taken in by the watching thread, which alone closes parked ones.
  {
    std::lock_guard guard(mutex_);
    if (stopping_) {
      ::close(socket);
      return;
    }
    arrivals_.push_back(socket);
  }
  const std::uint64_t one = 1;
  (void)!::write(wake_, &one, sizeof one);
}

void ConnectionGate::takeIn(int socket) {
  if (stopping_) {
    ::close(socket);
    return;
  }
  if (open_ >= limits_.maxConnections) evictOneIdle();
  if (open_ >= limits_.maxConnections) {
    ::close(socket);
    return;
  }
  ::fcntl(socket, F_SETFL, ::fcntl(socket, F_GETFL) | O_NONBLOCK);
  const int on = 1;
  // Head and body go out in separate writes; without this each answer waits for a delayed ACK.
  ::setsockopt(socket, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
  auto connection = std::make_shared<Connection>();
  connection->fd = socket;
  sockaddr_storage address{};
  socklen_t length = sizeof address;
  if (::getpeername(socket, reinterpret_cast<sockaddr*>(&address), &length) == 0) {
    connection->remoteIp = addressText(address, connection->remotePort);
  }
  ++open_;
  park(connection);
}

void ConnectionGate::park(const std::shared_ptr<Connection>& connection) {
  const auto now = Clock::now();
  connection->parkedAt = now;
  connection->deadline =
      now + (connection->received.empty() ? limits_.idleTimeout : limits_.requestTimeout);
  std::lock_guard guard(mutex_);
  if (stopping_) {
    ::close(connection->fd);
    --open_;
    return;
  }
  epoll_event event{};
  event.events = EPOLLIN | EPOLLRDHUP;
  event.data.fd = connection->fd;
  if (::epoll_ctl(epoll_, EPOLL_CTL_ADD, connection->fd, &event) != 0) {
    ::close(connection->fd);
    --open_;
    return;
  }
  parked_[connection->fd] = connection;
}

void ConnectionGate::evictOneIdle() {
  // The connection that has waited longest for a request makes room for a new one; failing
  // that, the one that has taken longest to send its request.
  std::shared_ptr<Connection> oldest;
  {
    std::lock_guard guard(mutex_);
    auto before = [](const Connection& a, const Connection& b) {
      if (a.received.empty() != b.received.empty()) return a.received.empty();
      return a.parkedAt < b.parkedAt;
    };
    for (const auto& [fd, connection] : parked_) {
      if (!oldest || before(*connection, *oldest)) oldest = connection;
    }
  }
  if (oldest) close(oldest);
}

void ConnectionGate::close(const std::shared_ptr<Connection>& connection) {
  std::lock_guard guard(mutex_);
  const auto it = parked_.find(connection->fd);
  if (it == parked_.end() || it->second != connection) return;
  ::epoll_ctl(epoll_, EPOLL_CTL_DEL, connection->fd, nullptr);
  parked_.erase(it);
  ::close(connection->fd);
  --open_;
}

void ConnectionGate::watch() {
  std::vector<epoll_event> events(64);
  auto lastSweep = Clock::now();
  while (!stopping_) {
    const int count = ::epoll_wait(epoll_, events.data(), static_cast<int>(events.size()), 100);
    for (int i = 0; i < count; ++i) {
      if (events[static_cast<std::size_t>(i)].data.fd == wake_) {
        std::uint64_t value = 0;
        (void)!::read(wake_, &value, sizeof value);
        std::vector<int> arrivals;
        {
          std::lock_guard guard(mutex_);
          arrivals.swap(arrivals_);
        }
        for (int socket : arrivals)
          takeIn(socket);
        continue;
      }
      std::shared_ptr<Connection> connection;
      {
        std::lock_guard guard(mutex_);
        const auto it = parked_.find(events[static_cast<std::size_t>(i)].data.fd);
        if (it != parked_.end()) connection = it->second;
      }
      if (connection) receive(connection);
    }
    const auto now = Clock::now();
    if (now - lastSweep >= std::chrono::milliseconds(100)) {
      sweep(now);
      lastSweep = now;
    }
  }
}

void ConnectionGate::receive(const std::shared_ptr<Connection>& connection) {
  if (connection->received.empty()) {
    // A request begins: from now on it must arrive in time.
    connection->deadline = Clock::now() + limits_.requestTimeout;
  }
  RequestFraming framing;
  while (true) {
    char chunk[16384];
    const ssize_t n = ::recv(connection->fd, chunk, sizeof chunk, MSG_DONTWAIT);
    if (n == 0 || (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR)) {
      close(connection);  // the client went away (or broke off a request)
      return;
    }
    if (n < 0) {
      if (errno == EINTR) continue;
      break;
    }
    connection->received.append(chunk, static_cast<std::size_t>(n));
    framing = RequestFraming::of(connection->received, limits_.headLimit, limits_.bufferedBodyLimit,
                                 limits_.bodyLimit);
    if (framing.state != RequestFraming::State::Incomplete) break;
  }
  switch (framing.state) {
    case RequestFraming::State::Incomplete:
      return;
    case RequestFraming::State::Malformed:
      refuse(connection, 400, framing.problem);
      return;
    case RequestFraming::State::TooLarge:
      refuse(connection, 431, "request head too large");
      return;
    case RequestFraming::State::Complete:
    case RequestFraming::State::Streamed:
      dispatch(connection);
      return;
  }
}

void ConnectionGate::dispatch(const std::shared_ptr<Connection>& connection) {
  {
    std::lock_guard guard(mutex_);
    ::epoll_ctl(epoll_, EPOLL_CTL_DEL, connection->fd, nullptr);
    parked_.erase(connection->fd);
  }
  {
    std::lock_guard guard(jobsMutex_);
    jobs_.push_back(connection);
  }
  jobsReady_.notify_one();
}

void ConnectionGate::sweep(Clock::time_point now) {
  std::vector<std::shared_ptr<Connection>> late;
  {
    std::lock_guard guard(mutex_);
    for (const auto& [fd, connection] : parked_) {
      if (connection->deadline <= now) late.push_back(connection);
    }
  }
  for (const auto& connection : late) {
    if (connection->received.empty()) {
      close(connection);
    } else {
      refuse(connection, 408, "request not received in time");
    }
  }
}

void ConnectionGate::refuse(const std::shared_ptr<Connection>& connection, int status,
                            const std::string& text) {
  const Reply reply = Reply::error(status, status, text);
  const std::string answer = "HTTP/1.1 " + std::to_string(status) + " " + reason(status) +
                             "\r\nContent-Type: " + reply.contentType +
                             "\r\nContent-Length: " + std::to_string(reply.body.size()) +
                             "\r\nConnection: close\r\n\r\n" + reply.body;
  // Best effort: a client that does not read gets nothing.
  (void)!::send(connection->fd, answer.data(), answer.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
  close(connection);
}

void ConnectionGate::work() {
  while (true) {
    std::shared_ptr<Connection> connection;
    {
      std::unique_lock lock(jobsMutex_);
      jobsReady_.wait(lock, [this] { return stopping_ || !jobs_.empty(); });
      if (jobs_.empty()) return;
      connection = std::move(jobs_.front());
      jobs_.pop_front();
    }
    serve(connection);
  }
}

void ConnectionGate::serve(const std::shared_ptr<Connection>& connection) {
  auto closeNow = [&] {
    ::close(connection->fd);
    --open_;
  };
  while (true) {
    const RequestFraming framing = RequestFraming::of(connection->received, limits_.headLimit,
                                                      limits_.bufferedBodyLimit, limits_.bodyLimit);
    if (framing.state != RequestFraming::State::Complete &&
        framing.state != RequestFraming::State::Streamed) {
      break;  // nothing (or not all) of the next request yet, or a fault the watcher answers
    }
    ++connection->served;
    const bool last = connection->served >= limits_.maxRequestsPerConnection || stopping_;
    bool closed = false;
    GateStream stream(*connection, connection->deadline, limits_.writeTimeout);
    const bool ok = serveOne_(stream, last || framing.closeAfter, closed);
    connection->received.erase(0, connection->consumed);
    connection->consumed = 0;
    if (!ok || closed || last || framing.closeAfter) {
      closeNow();
      return;
    }
    // A pipelined request may be waiting already.
    connection->deadline = Clock::now() + limits_.requestTimeout;
  }
  park(connection);
}

}  // namespace lk::service

#pragma once

#include <httplib.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <unordered_map>
#include <vector>

namespace lk::service {

// Holds the service's connections between requests. One thread watches every open connection
// and collects what it sends; only a request whose head (and small body) has fully arrived is
// handed to a worker. Idle and slow connections therefore cost no worker, and each is bounded:
// the next request must start within `idleTimeout`, arrive within `requestTimeout`, and a
// connection serves at most `maxRequestsPerConnection` requests.
class ConnectionGate {
 public:
  using Clock = std::chrono::steady_clock;

  struct Limits {
    std::chrono::milliseconds idleTimeout{5000};
    std::chrono::milliseconds requestTimeout{10000};
    std::chrono::milliseconds writeTimeout{10000};
    std::size_t maxRequestsPerConnection = 100;
    std::size_t maxConnections = 1000;
    std::size_t headLimit = 16 * 1024;
    std::size_t bufferedBodyLimit = 16 * 1024;  // larger bodies are read by the worker
    std::size_t bodyLimit = 8 * 1024 * 1024;
    std::size_t workers = defaultWorkers();

    // Requests mostly wait on the database or on injected delays, so a few workers a core.
    static std::size_t defaultWorkers();
  };

  // Serves one request read from the stream; false when the connection cannot go on.
  // `connectionClosed` is set when the request asked to close.
  using ServeOne =
      std::function<bool(httplib::Stream& stream, bool closeConnection, bool& connectionClosed)>;

  ConnectionGate(Limits limits, ServeOne serveOne);
  ConnectionGate(const ConnectionGate&) = delete;
  ConnectionGate& operator=(const ConnectionGate&) = delete;
  ~ConnectionGate();

  // Takes an accepted socket (from any thread); it is closed by the gate. At the connection limit
  // the connection that has waited longest for a request makes room.
  void admit(int socket);
  // Closes every connection once its current request is answered, and ends the threads.
  void stop();

  struct Connection;

 private:
  void watch();
  void takeIn(int socket);
  void receive(const std::shared_ptr<Connection>& connection);
  void dispatch(const std::shared_ptr<Connection>& connection);
  void work();
  void serve(const std::shared_ptr<Connection>& connection);
  void park(const std::shared_ptr<Connection>& connection);
  void sweep(Clock::time_point now);
  void evictOneIdle();
  // Answers with a small JSON error and closes (from the watching thread).
  void refuse(const std::shared_ptr<Connection>& connection, int status, const std::string& text);
  void close(const std::shared_ptr<Connection>& connection);

  Limits limits_;
  ServeOne serveOne_;
  int epoll_ = -1;
  int wake_ = -1;
  std::atomic<bool> stopping_{false};
  std::atomic<std::size_t> open_{0};

  std::mutex mutex_;  // guards parked_, arrivals_ and the epoll set
  std::unordered_map<int, std::shared_ptr<Connection>> parked_;
  std::vector<int> arrivals_;

  std::mutex jobsMutex_;
  std::condition_variable jobsReady_;
  std::deque<std::shared_ptr<Connection>> jobs_;

  std::thread watcher_;
  std::vector<std::thread> workers_;
};

}  // namespace lk::service

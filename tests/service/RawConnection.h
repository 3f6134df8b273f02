#pragma once

#include <chrono>
#include <string>
#include <string_view>

namespace lk::test {

// A bare TCP connection to a loopback port, for requests no HTTP client would send: drips,
// idle sockets, pipelined or malformed heads.
class RawConnection {
 public:
  explicit RawConnection(int port);
  RawConnection(const RawConnection&) = delete;
  RawConnection& operator=(const RawConnection&) = delete;
  RawConnection(RawConnection&& other) noexcept;
  RawConnection& operator=(RawConnection&&) = delete;
  ~RawConnection();

  [[nodiscard]] bool connected() const { return fd_ >= 0; }
  bool send(std::string_view bytes);
  // Everything received until the peer closes or `wait` passes.
  std::string receive(std::chrono::milliseconds wait);
  // Everything received until `count` answers' heads have arrived (each with its declared
  // body), the peer closes, or `wait` passes.
  std::string receiveAnswers(int count, std::chrono::milliseconds wait);
  // True when the peer has closed the connection within `wait`.
  bool closedWithin(std::chrono::milliseconds wait);

 private:
  int fd_ = -1;
};

}  // namespace lk::test

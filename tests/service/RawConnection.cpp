#include "tests/service/RawConnection.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>

namespace lk::test {

namespace {

using Clock = std::chrono::steady_clock;

// Counts complete answers (head plus "Content-Length" body) at the start of `text`.
int completeAnswers(const std::string& text) {
  int count = 0;
  std::size_t at = 0;
  while (true) {
    const auto headEnd = text.find("\r\n\r\n", at);
    if (headEnd == std::string::npos) return count;
    std::size_t length = 0;
    const auto field = text.find("Content-Length: ", at);
    if (field != std::string::npos && field < headEnd) {
      length = std::stoul(text.substr(field + 16, text.find("\r\n", field) - field - 16));
    }
    if (text.size() < headEnd + 4 + length) return count;
    ++count;
    at = headEnd + 4 + length;
  }
}

}  // namespace

RawConnection::RawConnection(int port) {
  fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd_ < 0) return;
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<std::uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (::connect(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
    ::close(fd_);
    fd_ = -1;
  }
}

RawConnection::RawConnection(RawConnection&& other) noexcept : fd_(other.fd_) {
  other.fd_ = -1;
}

RawConnection::~RawConnection() {
  if (fd_ >= 0) ::close(fd_);
}

bool RawConnection::send(std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL);
    if (n <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

std::string RawConnection::receive(std::chrono::milliseconds wait) {
  return receiveAnswers(1 << 30, wait);
}

std::string RawConnection::receiveAnswers(int count, std::chrono::milliseconds wait) {
  std::string out;
  const auto deadline = Clock::now() + wait;
  while (completeAnswers(out) < count) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    if (left <= 0) break;
    pollfd entry{fd_, POLLIN, 0};
    if (::poll(&entry, 1, static_cast<int>(left)) <= 0) break;
    char chunk[16384];
    const ssize_t n = ::recv(fd_, chunk, sizeof chunk, 0);
    if (n <= 0) break;
    out.append(chunk, static_cast<std::size_t>(n));
  }
  return out;
}

bool RawConnection::closedWithin(std::chrono::milliseconds wait) {
  const auto deadline = Clock::now() + wait;
  while (true) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    if (left <= 0) return false;
    pollfd entry{fd_, POLLIN, 0};
    if (::poll(&entry, 1, static_cast<int>(left)) <= 0) return false;
    char chunk[4096];
    const ssize_t n = ::recv(fd_, chunk, sizeof chunk, 0);
    if (n == 0 || (n < 0 && errno != EINTR && errno != EAGAIN)) return true;
  }
}

}  // namespace lk::test

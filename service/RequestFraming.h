#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace lk::service {

// Where the first request in a connection's received bytes ends, read from its head alone,
// before the HTTP library sees any of it. Heads end at the first blank line ending in CRLF;
// "Content-Length" must be decimal digits, the same in every copy, and never beside
// "Transfer-Encoding".
struct RequestFraming {
  enum class State {
    Incomplete,  // more bytes are needed
    Complete,    // `length` bytes hold the whole request
    Streamed,    // the head is complete; the body is read from the connection as it comes
    Malformed,   // answer 400 with `problem` and close
    TooLarge,    // the head passed `headLimit`: answer 431 and close
  };

  State state = State::Incomplete;
  std::size_t length = 0;   // Complete: head and body; Streamed: the head
  bool closeAfter = false;  // the body will be left unread: close once answered
  std::string problem;

  // `bufferedBodyLimit`: larger declared bodies are Streamed; `bodyLimit`: larger ones are
  // refused unread (closeAfter).
  [[nodiscard]] static RequestFraming of(std::string_view received, std::size_t headLimit,
                                         std::size_t bufferedBodyLimit, std::size_t bodyLimit);
};

}  // namespace lk::service

#include "service/RequestFraming.h"

#include <optional>

namespace lk::service {

namespace {

char lower(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool sameName(std::string_view name, std::string_view expected) {
  if (name.size() != expected.size()) return false;
  for (std::size_t i = 0; i < name.size(); ++i) {
    if (lower(name[i]) != expected[i]) return false;
  }
  return true;
}

bool isBlank(char c) {
  return c == ' ' || c == '\t';
}

// A header value as sent: one optional blank after the colon, blanks at the end.
std::string_view headerValue(std::string_view line, std::size_t colon) {
  std::string_view value = line.substr(colon + 1);
  if (!value.empty() && isBlank(value.front())) value.remove_prefix(1);
  while (!value.empty() && (isBlank(value.back()) || value.back() == '\r'))
    value.remove_suffix(1);
  return value;
}

// Strictly decimal digits, no sign, no blanks, within 18 digits.
std::optional<std::size_t> contentLength(std::string_view value) {
  if (value.empty() || value.size() > 18) return std::nullopt;
  std::size_t n = 0;
  for (char c : value) {
    if (c < '0' || c > '9') return std::nullopt;
    n = n * 10 + static_cast<std::size_t>(c - '0');
  }
  return n;
}

RequestFraming malformed(std::string problem) {
  RequestFraming framing;
  framing.state = RequestFraming::State::Malformed;
  framing.problem = std::move(problem);
  return framing;
}

}  // namespace

RequestFraming RequestFraming::of(std::string_view received, std::size_t headLimit,
                                  std::size_t bufferedBodyLimit, std::size_t bodyLimit) {
  RequestFraming framing;
  // The request line, then header lines up to a line that is just CRLF.
  std::size_t headEnd = std::string_view::npos;
  std::size_t start = received.find('\n');
  while (start != std::string_view::npos && start < headLimit) {
    ++start;
    const std::size_t end = received.find('\n', start);
    if (end == std::string_view::npos) break;
    if (end == start + 1 && received[start] == '\r') {
      headEnd = end + 1;
      break;
    }
    start = end;
  }
  if (headEnd == std::string_view::npos || headEnd > headLimit) {
    if (received.size() > headLimit) framing.state = State::TooLarge;
    return framing;
  }

  std::optional<std::size_t> length;
  bool chunked = false;
  bool expectContinue = false;
  std::size_t lineStart = received.find('\n') + 1;
  while (lineStart < headEnd - 2) {
    const std::size_t lineEnd = received.find('\n', lineStart);
    const std::string_view line = received.substr(lineStart, lineEnd - lineStart);
    lineStart = lineEnd + 1;
    // The HTTP library skips lines that do not end in CRLF, and so does this count.
    const std::size_t colon = line.find(':');
    if (colon == std::string_view::npos || line.back() != '\r') continue;
    const std::string_view name = line.substr(0, colon);
    const std::string_view value = headerValue(line, colon);
    if (sameName(name, "content-length")) {
      const auto n = contentLength(value);
      if (!n) return malformed("malformed Content-Length");
      if (length && *length != *n) return malformed("conflicting Content-Length");
      length = n;
    } else if (sameName(name, "transfer-encoding")) {
      chunked = true;
    } else if (sameName(name, "expect")) {
      expectContinue = true;
    }
  }
  if (chunked && length) return malformed("Content-Length beside Transfer-Encoding");

  const std::size_t body = length.value_or(0);
  if (chunked || expectContinue || body > bufferedBodyLimit) {
    framing.state = State::Streamed;
    framing.length = headEnd;
    framing.closeAfter = body > bodyLimit;
    return framing;
  }
  if (received.size() < headEnd + body) return framing;
  framing.state = State::Complete;
  framing.length = headEnd + body;
  return framing;
}

}  // namespace lk::service

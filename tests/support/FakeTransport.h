#pragma once

#include <cstddef>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "Platform/Net/UrlTransfer.h"
#include "Platform/RunLoop/RunLoop.h"

namespace lk::test {

// A transport that answers from a table instead of the network, installed for its scope (the
// previous factory is restored afterwards). Answers arrive on the main loop, after their delay
// on its clock, so screen tests run in virtual time. Every request is recorded in order.
class FakeTransport final : public UrlTransferFactory {
 public:
  enum class Body {
    kRaw,             // the bytes as given
    kGzip,            // gzip-framed
    kLengthPrefixed,  // a 4-byte big-endian length, then a zlib stream
  };

  struct Answer {
    int status = 200;
    std::vector<std::pair<std::string, std::string>> headerFields;
    std::string body;
    Body encoding = Body::kRaw;
    Duration delay = Duration::zero();
    // A failure with this code (in kUrlErrorDomain) instead of a response.
    std::optional<int> failure;
  };

  struct Request {
    std::string httpMethod;
    std::string url;
    std::vector<std::pair<std::string, std::string>> headerFields;
    std::optional<std::string> body;

    // The URL's path, without scheme, host and query ("/client/search/0/q").
    [[nodiscard]] std::string path() const;
    // A query parameter, percent-escapes and "+" decoded; nothing when it is absent.
    [[nodiscard]] std::optional<std::string> queryValue(std::string_view name) const;
  };
  using Responder = std::function<Answer(const Request&)>;

  FakeTransport();
  FakeTransport(const FakeTransport&) = delete;
  FakeTransport& operator=(const FakeTransport&) = delete;
  ~FakeTransport() override;

  // Answers requests for exactly `url`. Answers given for one URL are used in turn; the last
  // one keeps answering. A URL without an answer fails as if nothing listened there
  // (UrlError::kCannotConnectToHost).
  void answer(const std::string& url, Answer answer);
  // A 200 answer holding `body`, encoded as asked.
  void answer(const std::string& url, std::string body, Body encoding = Body::kRaw,
              Duration delay = Duration::zero());
  // A failure with a platform error code, after `delay`.
  void fail(const std::string& url, int code, Duration delay = Duration::zero());
  // Answers the requests whose URL, without its query, matches the regular expression `pattern`
  // and that have no answer in the table; the latest responder of a pattern counts.
  void respond(const std::string& pattern, Responder responder);
  // Forgets every answer and responder (the record of requests stays).
  void clearAnswers();

  [[nodiscard]] const std::vector<Request>& requests() const { return requests_; }
  [[nodiscard]] std::vector<std::string> requestedURLs() const;
  [[nodiscard]] std::size_t requestCount(const std::string& url) const;
  // Transfers started and neither answered nor cancelled yet.
  [[nodiscard]] std::size_t inFlight() const;

  std::unique_ptr<UrlTransfer> start(const UrlRequest& request,
                                     UrlTransferDelegate* delegate) override;

  // The bytes an answer puts on the wire for `body` in `encoding`.
  [[nodiscard]] static std::string encode(const std::string& body, Body encoding);

 private:
  struct Pending;
  class Transfer;

  Answer nextAnswer(const Request& request);
  static void deliver(const std::shared_ptr<Pending>& p, const std::string& url,
                      const Answer& answer);

  UrlTransferFactory* previous_ = nullptr;
  std::map<std::string, std::vector<Answer>> answers_;
  std::vector<std::pair<std::string, Responder>> responders_;
  std::vector<Request> requests_;
  std::vector<std::weak_ptr<Pending>> pending_;
};

}  // namespace lk::test

#include "tests/support/FakeTransport.h"

#include <algorithm>
#include <cctype>
#include <regex>

#include "Platform/Net/PlatformError.h"
#include "Platform/Net/UrlResponse.h"
#include "tests/support/Compression.h"

namespace lk::test {

// What the scheduled answer and the transfer share: the transfer goes away (or is cancelled)
// independently of the answer waiting on the loop.
struct FakeTransport::Pending {
  UrlTransfer* transfer = nullptr;  // null once cancelled or destroyed: deliver nothing more
  UrlTransferDelegate* delegate = nullptr;
  RunLoop* loop = nullptr;
  RunLoop::TimerId timer = 0;
  bool ended = false;
};

class FakeTransport::Transfer final : public UrlTransfer {
 public:
  Transfer(UrlRequest request, std::shared_ptr<Pending> pending)
      : request_(std::move(request)), pending_(std::move(pending)) {
    pending_->transfer = this;
  }
  ~Transfer() override { cancel(); }

  void cancel() override {
    if (pending_->transfer == nullptr) return;
    pending_->transfer = nullptr;
    pending_->loop->cancel(pending_->timer);
  }
  [[nodiscard]] const UrlRequest& originalRequest() const override { return request_; }
  [[nodiscard]] const UrlRequest& currentRequest() const override { return request_; }

 private:
  UrlRequest request_;
  std::shared_ptr<Pending> pending_;
};

// Hands one answer to the delegate, checking after each callback whether the delegate
// cancelled or destroyed the transfer meanwhile.
void FakeTransport::deliver(const std::shared_ptr<Pending>& p, const std::string& url,
                            const Answer& answer) {
  if (p->transfer == nullptr) return;
  UrlTransferDelegate* delegate = p->delegate;
  if (answer.failure) {
    p->ended = true;
    if (delegate != nullptr) {
      delegate->transferDidFail(
          *p->transfer, PlatformError{kUrlErrorDomain, *answer.failure, "fake transport failure"});
    }
    return;
  }
  const std::string bytes = FakeTransport::encode(answer.body, answer.encoding);
  UrlResponse response;
  response.url = url;
  response.statusCode = answer.status;
  for (const auto& [name, value] : answer.headerFields)
    response.headerFields[name] = value;
  if (!response.valueForHeaderField("Content-Length"))
    response.headerFields["Content-Length"] = std::to_string(bytes.size());
  if (delegate != nullptr) delegate->transferDidReceiveResponse(*p->transfer, response);
  if (p->transfer == nullptr) return;
  if (delegate != nullptr && !bytes.empty()) delegate->transferDidReceiveData(*p->transfer, bytes);
  if (p->transfer == nullptr) return;
  p->ended = true;
  if (delegate != nullptr) delegate->transferDidFinish(*p->transfer);
}

FakeTransport::FakeTransport() : previous_(UrlTransfer::setFactory(this)) {}

FakeTransport::~FakeTransport() {
  UrlTransfer::setFactory(previous_);
}

void FakeTransport::answer(const std::string& url, Answer answer) {
  answers_[url].push_back(std::move(answer));
}

void FakeTransport::answer(const std::string& url, std::string body, Body encoding,
                           Duration delay) {
  Answer a;
  a.body = std::move(body);
  a.encoding = encoding;
  a.delay = delay;
  answer(url, std::move(a));
}

void FakeTransport::fail(const std::string& url, int code, Duration delay) {
  Answer a;
  a.failure = code;
  a.delay = delay;
  answer(url, std::move(a));
}

void FakeTransport::respond(const std::string& pattern, Responder responder) {
  std::erase_if(responders_, [&](const auto& r) { return r.first == pattern; });
  responders_.emplace_back(pattern, std::move(responder));
}

void FakeTransport::clearAnswers() {
  answers_.clear();
  responders_.clear();
}

std::string FakeTransport::Request::path() const {
  std::string_view rest(url);
  if (const auto scheme = rest.find("://"); scheme != std::string_view::npos) {
    rest.remove_prefix(scheme + 3);
    const auto slash = rest.find('/');
    rest.remove_prefix(slash == std::string_view::npos ? rest.size() : slash);
  }
  return std::string(rest.substr(0, rest.find('?')));
}

namespace {

std::string decodeQueryText(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '+') {
      out += ' ';
    } else if (text[i] == '%' && i + 2 < text.size() &&
               std::isxdigit(static_cast<unsigned char>(text[i + 1])) &&
               std::isxdigit(static_cast<unsigned char>(text[i + 2]))) {
      out += static_cast<char>(std::stoi(std::string(text.substr(i + 1, 2)), nullptr, 16));
      i += 2;
    } else {
      out += text[i];
    }
  }
  return out;
}

}  // namespace

std::optional<std::string> FakeTransport::Request::queryValue(std::string_view name) const {
  const auto question = url.find('?');
  if (question == std::string::npos) return std::nullopt;
  std::string_view query = std::string_view(url).substr(question + 1);
  while (!query.empty()) {
    const auto amp = query.find('&');
    const std::string_view pair = query.substr(0, amp);
    const auto eq = pair.find('=');
    if (decodeQueryText(pair.substr(0, eq)) == name) {
      return eq == std::string_view::npos ? std::string() : decodeQueryText(pair.substr(eq + 1));
    }
    query.remove_prefix(amp == std::string_view::npos ? query.size() : amp + 1);
  }
  return std::nullopt;
}

std::vector<std::string> FakeTransport::requestedURLs() const {
  std::vector<std::string> urls;
  for (const auto& r : requests_)
    urls.push_back(r.url);
  return urls;
}

std::size_t FakeTransport::requestCount(const std::string& url) const {
  return static_cast<std::size_t>(std::count_if(requests_.begin(), requests_.end(),
                                                [&](const auto& r) { return r.url == url; }));
}

std::size_t FakeTransport::inFlight() const {
  return static_cast<std::size_t>(
      std::count_if(pending_.begin(), pending_.end(), [](const auto& w) {
        auto p = w.lock();
        return p && p->transfer != nullptr && !p->ended;
      }));
}

FakeTransport::Answer FakeTransport::nextAnswer(const Request& request) {
  auto it = answers_.find(request.url);
  if (it == answers_.end() || it->second.empty()) {
    const std::string path = request.path();
    for (auto r = responders_.rbegin(); r != responders_.rend(); ++r) {
      if (std::regex_match(path, std::regex(r->first))) return r->second(request);
    }
    Answer nobody;
    nobody.failure = UrlError::kCannotConnectToHost;
    return nobody;
  }
  Answer next = it->second.front();
  if (it->second.size() > 1) it->second.erase(it->second.begin());
  return next;
}

std::unique_ptr<UrlTransfer> FakeTransport::start(const UrlRequest& request,
                                                  UrlTransferDelegate* delegate) {
  requests_.push_back(Request{request.httpMethod, request.url, request.headerFields, request.body});
  // Copied: a responder may look at the record, which grows meanwhile.
  const Request recorded = requests_.back();
  std::erase_if(pending_, [](const auto& w) { return w.expired(); });

  auto pending = std::make_shared<Pending>();
  pending->delegate = delegate;
  pending->loop = &RunLoop::main();
  auto transfer = std::make_unique<Transfer>(request, pending);
  Answer answer = nextAnswer(recorded);
  const Duration delay = answer.delay;
  pending->timer = pending->loop->schedule(
      delay,
      [pending, url = request.url, answer = std::move(answer)] { deliver(pending, url, answer); });
  pending_.push_back(pending);
  return transfer;
}

std::string FakeTransport::encode(const std::string& body, Body encoding) {
  switch (encoding) {
    case Body::kRaw:
      return body;
    case Body::kGzip:
      return gzipBytes(body);
    case Body::kLengthPrefixed:
      return lengthPrefixedZlib(body);
  }
  return body;
}

}  // namespace lk::test

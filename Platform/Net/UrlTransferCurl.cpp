// Transfers on libcurl's multi interface, driven by the main run loop: curl says which sockets to
// watch and when to be called back; the loop's socket watches and timers call
// curl_multi_socket_action. No thread of our own, no polling.
//
// curl's callbacks only record what happened (response heads, body pieces, completion) on the
// transfer's job; the records are handed to the delegate after curl has returned. So a delegate
// may cancel or destroy its transfer, or start another one, inside any callback: the driver
// re-checks the job after every delegate call and never calls into curl from within curl.
//
// The driver (the multi handle with its connection and name caches) lives as long as the
// process, so that a request after an idle pause reuses the open connection instead of paying a
// new handshake. Idle connections are closed by curl's own age limit when they are next looked
// at; while no transfer runs the driver holds no socket watch and no timer on the loop.
#include <curl/curl.h>
#include <linux/sockios.h>
#include <sys/ioctl.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "Platform/Net/HeaderFieldName.h"
#include "Platform/Net/UrlTransfer.h"
#include "Platform/RunLoop/RunLoop.h"

namespace lk {
namespace {

constexpr int kMaxRedirects = 16;
// Answers and pictures share connections per host; more transfers to one host wait for a free
// one. Two, as HTTP/1.1 long recommended: on a phone network another connection costs a handshake
// that the few small answers and pictures of a screen rarely win back.
constexpr long kMaxHostConnections = 2;
// Open connections kept for reuse across all hosts.
constexpr long kMaxCachedConnections = 8;

class UrlTransferCurl;

struct Event {
  enum class Kind { kResponse, kData, kDone };
  Kind kind = Kind::kData;
  UrlResponse response;
  std::string data;
  CURLcode result = CURLE_OK;
  std::optional<PlatformError> error;  // a failure decided by the driver itself
};

struct Job {
  Job() = default;
  Job(const Job&) = delete;
  Job& operator=(const Job&) = delete;
  ~Job() {
    if (easy != nullptr) curl_easy_cleanup(easy);
    if (headers != nullptr) curl_slist_free_all(headers);
  }

  CURL* easy = nullptr;
  UrlTransferCurl* owner = nullptr;  // null once cancelled or destroyed: deliver nothing more
  UrlTransferDelegate* delegate = nullptr;
  UrlRequest request;  // the request being sent now
  curl_slist* headers = nullptr;
  std::string body;  // curl reads it in place

  UrlResponse head;  // the response head being read
  bool headComplete = false;
  bool redirecting = false;
  UrlResponse redirectHead;
  int redirects = 0;

  std::deque<Event> events;
  bool inMulti = false;
  bool hasSocket = false;     // curl gave it a connection (one may wait for a free one first)
  TimePoint startedAt;        // the overall deadline counts from here, across redirects
  std::size_t bodyBytes = 0;  // body bytes of the current response
  bool tooLong = false;       // the body passed the request's maximum: curl is told to stop
  RunLoop::TimerId inactivityTimer = 0;
  TimePoint lastProgress;
  curl_off_t lastDown = 0;
  curl_off_t lastUp = 0;
  std::size_t lastUnsent = 0;
};

PlatformError makeError(int code, std::string description) {
  return PlatformError{kUrlErrorDomain, code, std::move(description)};
}

PlatformError errorForCurl(CURLcode result, CURL* easy) {
  const std::string text = curl_easy_strerror(result);
  switch (result) {
    case CURLE_UNSUPPORTED_PROTOCOL:
      return makeError(UrlError::kUnsupportedURL, text);
    case CURLE_URL_MALFORMAT:
      return makeError(UrlError::kBadURL, text);
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_RESOLVE_PROXY:
      return makeError(UrlError::kCannotFindHost, text);
    case CURLE_COULDNT_CONNECT: {
      long osErrno = 0;
      curl_easy_getinfo(easy, CURLINFO_OS_ERRNO, &osErrno);
      if (osErrno == ENETUNREACH || osErrno == ENETDOWN)
        return makeError(UrlError::kNotConnectedToInternet, text);
      return makeError(UrlError::kCannotConnectToHost, text);
    }
    case CURLE_OPERATION_TIMEDOUT:
      return makeError(UrlError::kTimedOut, text);
    case CURLE_SEND_ERROR:
    case CURLE_RECV_ERROR:
    case CURLE_GOT_NOTHING:
    case CURLE_PARTIAL_FILE:
    case CURLE_HTTP2:
    case CURLE_HTTP2_STREAM:
      return makeError(UrlError::kNetworkConnectionLost, text);
    case CURLE_TOO_MANY_REDIRECTS:
      return makeError(UrlError::kHTTPTooManyRedirects, text);
    case CURLE_WEIRD_SERVER_REPLY:
    case CURLE_BAD_CONTENT_ENCODING:
      return makeError(UrlError::kBadServerResponse, text);
    case CURLE_FILESIZE_EXCEEDED:
      return makeError(UrlError::kDataLengthExceedsMaximum, text);
    case CURLE_SSL_CONNECT_ERROR:
    case CURLE_PEER_FAILED_VERIFICATION:
    case CURLE_SSL_CERTPROBLEM:
    case CURLE_SSL_CIPHER:
    case CURLE_SSL_CACERT_BADFILE:
      return makeError(UrlError::kSecureConnectionFailed, text);
    default:
      return makeError(UrlError::kUnknown, text);
  }
}

bool isRedirectStatus(int status) {
  return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

std::string_view trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
    s.remove_prefix(1);
  while (!s.empty() &&
         (s.back() == ' ' || s.back() == '\t' || s.back() == '\r' || s.back() == '\n'))
    s.remove_suffix(1);
  return s;
}

// "Name: value" with line breaks and NULs turned into spaces, so that no field can smuggle in
// another one.
std::string headerLine(const std::string& name, const std::string& value) {
  std::string line = name + ": " + value;
  for (char& c : line) {
    if (c == '\r' || c == '\n' || c == '\0') c = ' ';
  }
  return line;
}

// The host of a URL, or nothing when curl cannot parse it.
std::optional<std::string> hostOf(const std::string& url) {
  CURLU* u = curl_url();
  if (u == nullptr) return std::nullopt;
  std::optional<std::string> host;
  if (curl_url_set(u, CURLUPART_URL, url.c_str(), 0) == CURLUE_OK) {
    char* h = nullptr;
    if (curl_url_get(u, CURLUPART_HOST, &h, 0) == CURLUE_OK && h != nullptr) host = h;
    curl_free(h);
  }
  curl_url_cleanup(u);
  return host;
}

// "scheme://host:port" of a URL (default port filled in, lower case), or nothing.
std::optional<std::string> originOf(const std::string& url) {
  CURLU* u = curl_url();
  if (u == nullptr) return std::nullopt;
  std::optional<std::string> origin;
  if (curl_url_set(u, CURLUPART_URL, url.c_str(), 0) == CURLUE_OK) {
    char* scheme = nullptr;
    char* host = nullptr;
    char* port = nullptr;
    if (curl_url_get(u, CURLUPART_SCHEME, &scheme, 0) == CURLUE_OK &&
        curl_url_get(u, CURLUPART_HOST, &host, 0) == CURLUE_OK &&
        curl_url_get(u, CURLUPART_PORT, &port, CURLU_DEFAULT_PORT) == CURLUE_OK) {
      std::string text = std::string(scheme) + "://" + host + ":" + port;
      std::transform(text.begin(), text.end(), text.begin(),
                     [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; });
      origin = std::move(text);
    }
    curl_free(scheme);
    curl_free(host);
    curl_free(port);
  }
  curl_url_cleanup(u);
  return origin;
}

// Names under the reserved ".invalid" domain never resolve; answering at once keeps the query
// off the network.
bool isReservedInvalidName(std::string host) {
  std::transform(host.begin(), host.end(), host.begin(),
                 [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; });
  while (!host.empty() && host.back() == '.')
    host.pop_back();
  return host == "invalid" || (host.size() > 8 && host.ends_with(".invalid"));
}

class CurlDriver;
CurlDriver* currentDriver();

// The public handle. Its job lives in the driver until the transfer ends.
class UrlTransferCurl final : public UrlTransfer {
 public:
  explicit UrlTransferCurl(const UrlRequest& request) : original_(request), current_(request) {}
  ~UrlTransferCurl() override { cancel(); }

  void cancel() override;
  const UrlRequest& originalRequest() const override { return original_; }
  const UrlRequest& currentRequest() const override { return current_; }

  Job* job_ = nullptr;
  UrlRequest original_;
  UrlRequest current_;
};

class CurlDriver {
 public:
  explicit CurlDriver(RunLoop& loop) : loop_(&loop), multi_(curl_multi_init()) {
    curl_multi_setopt(multi_, CURLMOPT_MAX_HOST_CONNECTIONS, kMaxHostConnections);
    curl_multi_setopt(multi_, CURLMOPT_MAXCONNECTS, kMaxCachedConnections);
    curl_multi_setopt(multi_, CURLMOPT_SOCKETFUNCTION, &CurlDriver::socketCallback);
    curl_multi_setopt(multi_, CURLMOPT_SOCKETDATA, this);
    curl_multi_setopt(multi_, CURLMOPT_TIMERFUNCTION, &CurlDriver::timerCallback);
    curl_multi_setopt(multi_, CURLMOPT_TIMERDATA, this);
  }

  CurlDriver(const CurlDriver&) = delete;
  CurlDriver& operator=(const CurlDriver&) = delete;

  ~CurlDriver() {
    closing_ = true;
    for (auto& [easy, job] : jobs_) {
      if (job->inMulti) curl_multi_remove_handle(multi_, easy);
      if (job->inactivityTimer != 0) loop_->cancel(job->inactivityTimer);
      if (job->owner != nullptr) job->owner->job_ = nullptr;
    }
    jobs_.clear();
    for (const auto& [fd, watch] : watches_)
      loop_->unwatch(watch.id);
    watches_.clear();
    if (curlTimer_ != 0) loop_->cancel(curlTimer_);
    curl_multi_cleanup(multi_);
  }

  [[nodiscard]] bool idle() const { return jobs_.empty() && depth_ == 0; }

  // Serves transfers on `loop` from now on. Only an idle driver moves: it holds nothing on its
  // old loop (a test's loop may be gone by now).
  void moveTo(RunLoop& loop) {
    if (loop_ == &loop || !idle()) return;
    watches_.clear();
    curlTimer_ = 0;
    loop_ = &loop;
  }

  // Once the last transfer has ended, curl's own timer is not needed until the next one starts
  // (adding a transfer sets it again): an idle client leaves its loop with nothing to wake for.
  void releaseLoopIfIdle() {
    if (!idle() || curlTimer_ == 0) return;
    loop_->cancel(curlTimer_);
    curlTimer_ = 0;
  }

  void start(UrlTransferCurl& owner, const UrlRequest& request, UrlTransferDelegate* delegate) {
    auto job = std::make_shared<Job>();
    job->easy = curl_easy_init();
    job->owner = &owner;
    job->delegate = delegate;
    job->request = request;
    job->lastProgress = loop_->now();
    job->startedAt = job->lastProgress;
    owner.job_ = job.get();
    if (job->easy == nullptr) {
      failLater(job, makeError(UrlError::kUnknown, "cannot create a transfer"));
      return;
    }
    jobs_.emplace(job->easy, job);

    const auto host = hostOf(request.url);
    if (!host || host->empty()) {
      failLater(job, makeError(UrlError::kBadURL, "malformed URL"));
      return;
    }
    if (isReservedInvalidName(*host)) {
      failLater(job, makeError(UrlError::kCannotFindHost, "host not found: " + *host));
      return;
    }
    configure(*job);
    addToMulti(*job);
    armInactivityTimer(job);
  }

  // The owner gave the transfer up: forget the job without telling anyone.
  void cancel(Job* raw) {
    raw->owner = nullptr;
    auto it = jobs_.find(raw->easy);
    if (it == jobs_.end()) return;
    std::shared_ptr<Job> job = it->second;  // may be in the middle of a delivery
    remove(*job);
  }

 private:
  struct SocketWatch {
    RunLoop::WatchId id = 0;
    CURL* easy = nullptr;
  };

  // Keeps the driver from retiring while one of its own calls is on the stack.
  struct Depth {
    explicit Depth(CurlDriver& d) : driver(d) { ++driver.depth_; }
    ~Depth() { --driver.depth_; }
    Depth(const Depth&) = delete;
    Depth& operator=(const Depth&) = delete;
    CurlDriver& driver;
  };

  void configure(Job& job) {
    CURL* e = job.easy;
    curl_easy_reset(e);
    curl_easy_setopt(e, CURLOPT_URL, job.request.url.c_str());
    curl_easy_setopt(e, CURLOPT_PRIVATE, &job);
    curl_easy_setopt(e, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(e, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(e, CURLOPT_FOLLOWLOCATION, 0L);  // redirects are followed here, told first
    curl_easy_setopt(e, CURLOPT_HEADERFUNCTION, &CurlDriver::headerCallback);
    curl_easy_setopt(e, CURLOPT_HEADERDATA, &job);
    curl_easy_setopt(e, CURLOPT_WRITEFUNCTION, &CurlDriver::writeCallback);
    curl_easy_setopt(e, CURLOPT_WRITEDATA, &job);
    curl_easy_setopt(e, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(e, CURLOPT_XFERINFOFUNCTION, &CurlDriver::progressCallback);
    curl_easy_setopt(e, CURLOPT_XFERINFODATA, &job);
    // A declared length over the maximum is refused before any of the body is read.
    curl_easy_setopt(e, CURLOPT_MAXFILESIZE_LARGE,
                     static_cast<curl_off_t>(job.request.maximumBodyLength));

    if (job.headers != nullptr) curl_slist_free_all(job.headers);
    job.headers = nullptr;
    for (const auto& [name, value] : job.request.headerFields)
      job.headers = curl_slist_append(job.headers, headerLine(name, value).c_str());
    // Bodies go out at once; waiting for "100 Continue" only adds a round trip.
    job.headers = curl_slist_append(job.headers, "Expect:");
    curl_easy_setopt(e, CURLOPT_HTTPHEADER, job.headers);

    const std::string& method = job.request.httpMethod;
    job.body = job.request.body.value_or(std::string());
    if (method == "GET") {
      curl_easy_setopt(e, CURLOPT_HTTPGET, 1L);
    } else if (method == "HEAD") {
      curl_easy_setopt(e, CURLOPT_NOBODY, 1L);
    } else {
      curl_easy_setopt(e, CURLOPT_POST, 1L);
      curl_easy_setopt(e, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(job.body.size()));
      curl_easy_setopt(e, CURLOPT_POSTFIELDS, job.body.data());
      if (method != "POST") curl_easy_setopt(e, CURLOPT_CUSTOMREQUEST, method.c_str());
    }

    job.head = UrlResponse{};
    job.headComplete = false;
    job.redirecting = false;
    job.lastDown = 0;
    job.lastUp = 0;
    job.bodyBytes = 0;
    job.tooLong = false;
    job.hasSocket = false;
  }

  void addToMulti(Job& job) {
    job.lastProgress = loop_->now();
    if (curl_multi_add_handle(multi_, job.easy) == CURLM_OK) {
      job.inMulti = true;
    } else {
      job.events.push_back(Event{Event::Kind::kDone, {}, {}, CURLE_FAILED_INIT, std::nullopt});
    }
  }

  void remove(Job& job) {
    if (job.inMulti) {
      curl_multi_remove_handle(multi_, job.easy);
      job.inMulti = false;
    }
    if (job.inactivityTimer != 0) {
      loop_->cancel(job.inactivityTimer);
      job.inactivityTimer = 0;
    }
    if (job.owner != nullptr) job.owner->job_ = nullptr;
    jobs_.erase(job.easy);
  }

  void failLater(const std::shared_ptr<Job>& job, PlatformError error) {
    if (job->easy == nullptr) {
      // Never registered: keep it alive through the posted call.
      loop_->post([job, error = std::move(error)] {
        if (job->owner == nullptr) return;
        UrlTransferCurl* owner = job->owner;
        owner->job_ = nullptr;
        if (job->delegate != nullptr) job->delegate->transferDidFail(*owner, error);
      });
      return;
    }
    job->events.push_back(Event{Event::Kind::kDone, {}, {}, CURLE_OK, std::move(error)});
    std::weak_ptr<Job> weak = job;
    loop_->post([weak] {
      auto alive = weak.lock();
      CurlDriver* driver = currentDriver();
      if (!alive || driver == nullptr) return;
      driver->deliverNow(alive);
    });
  }

  void deliverNow(const std::shared_ptr<Job>& job) {
    {
      Depth depth(*this);
      deliver(job);
    }
    releaseLoopIfIdle();
  }

  void armInactivityTimer(const std::shared_ptr<Job>& job, Duration delay) {
    std::weak_ptr<Job> weak = job;
    job->inactivityTimer = loop_->schedule(delay, [this, weak] {
      if (auto alive = weak.lock()) onInactivityTimer(alive);
    });
  }

  void armInactivityTimer(const std::shared_ptr<Job>& job) {
    armInactivityTimer(job, std::min(job->request.timeoutInterval / 4, job->request.deadline));
  }

  // Bytes the job has handed to the kernel that have not left the machine yet.
  std::size_t unsentBytes(const Job& job) const {
    std::size_t total = 0;
    for (const auto& [fd, watch] : watches_) {
      int queued = 0;
      if (watch.easy == job.easy && ::ioctl(fd, SIOCOUTQ, &queued) == 0 && queued > 0)
        total += static_cast<std::size_t>(queued);
    }
    return total;
  }

  // A transfer without a connection of its own while others have one is waiting for a free
  // connection to its host: that wait is not the server's silence.
  bool waitsForAConnection(const Job& job) const {
    if (job.hasSocket) return false;
    return std::any_of(jobs_.begin(), jobs_.end(),
                       [&](const auto& entry) { return entry.second->hasSocket; });
  }

  // Checks a few times per interval, so that an upload still draining from the socket's send
  // buffer (curl has nothing left to write, the peer still reads) counts as progress.
  void onInactivityTimer(const std::shared_ptr<Job>& job) {
    job->inactivityTimer = 0;
    const TimePoint now = loop_->now();
    const std::size_t unsent = unsentBytes(*job);
    if (unsent < job->lastUnsent || waitsForAConnection(*job)) job->lastProgress = now;
    job->lastUnsent = unsent;
    const Duration interval = job->request.timeoutInterval;
    const Duration quiet = now - job->lastProgress;
    const Duration left = job->request.deadline - (now - job->startedAt);
    if (quiet < interval && left > Duration::zero()) {
      armInactivityTimer(job, std::min({interval - quiet, interval / 4, left}));
      return;
    }
    if (job->inMulti) {
      curl_multi_remove_handle(multi_, job->easy);
      job->inMulti = false;
    }
    job->events.push_back(Event{Event::Kind::kDone,
                                {},
                                {},
                                CURLE_OK,
                                makeError(UrlError::kTimedOut, "The request timed out.")});
    deliverNow(job);
  }

  // --- curl callbacks: record only ---

  static Job& jobOf(void* data) { return *static_cast<Job*>(data); }

  static size_t headerCallback(char* buffer, size_t size, size_t count, void* data) {
    Job& job = jobOf(data);
    const size_t n = size * count;
    const std::string_view line(buffer, n);
    if (CurlDriver* driver = currentDriver()) job.lastProgress = driver->loop_->now();

    if (line.starts_with("HTTP/")) {
      job.head = UrlResponse{};
      job.head.url = job.request.url;
      job.headComplete = false;
      const auto space = line.find(' ');
      if (space != std::string_view::npos) {
        int status = 0;
        for (size_t i = space + 1; i < line.size() && line[i] >= '0' && line[i] <= '9'; ++i)
          status = status * 10 + (line[i] - '0');
        job.head.statusCode = status;
      }
      return n;
    }
    if (job.headComplete) return n;  // trailers of a chunked body
    if (trim(line).empty()) {
      if (job.head.statusCode >= 100 && job.head.statusCode < 200) return n;  // interim answer
      job.headComplete = true;
      if (isRedirectStatus(job.head.statusCode) && job.head.valueForHeaderField("Location")) {
        job.redirecting = true;
        job.redirectHead = job.head;
      } else {
        job.events.push_back(Event{Event::Kind::kResponse, job.head, {}, CURLE_OK, std::nullopt});
      }
      return n;
    }
    const auto colon = line.find(':');
    if (colon == std::string_view::npos) return n;
    const std::string name(trim(line.substr(0, colon)));
    const std::string value(trim(line.substr(colon + 1)));
    for (auto& [field, existing] : job.head.headerFields) {
      if (headerFieldNameEquals(field, name)) {
        existing += ", " + value;
        return n;
      }
    }
    job.head.headerFields.emplace(name, value);
    return n;
  }

  static size_t writeCallback(char* buffer, size_t size, size_t count, void* data) {
    Job& job = jobOf(data);
    const size_t n = size * count;
    if (CurlDriver* driver = currentDriver()) job.lastProgress = driver->loop_->now();
    if (job.redirecting || n == 0) return n;
    job.bodyBytes += n;
    if (job.bodyBytes > job.request.maximumBodyLength) {
      job.tooLong = true;
      return CURL_WRITEFUNC_ERROR;  // curl stops reading at once
    }
    if (!job.events.empty() && job.events.back().kind == Event::Kind::kData) {
      job.events.back().data.append(buffer, n);
    } else {
      job.events.push_back(
          Event{Event::Kind::kData, {}, std::string(buffer, n), CURLE_OK, std::nullopt});
    }
    return n;
  }

  static int progressCallback(void* data, curl_off_t, curl_off_t dlnow, curl_off_t,
                              curl_off_t ulnow) {
    Job& job = jobOf(data);
    if (dlnow != job.lastDown || ulnow != job.lastUp) {
      job.lastDown = dlnow;
      job.lastUp = ulnow;
      if (CurlDriver* driver = currentDriver()) job.lastProgress = driver->loop_->now();
    }
    return 0;
  }

  static int socketCallback(CURL* easy, curl_socket_t fd, int what, void* data, void*) {
    auto* self = static_cast<CurlDriver*>(data);
    if (self->closing_) return 0;
    auto it = self->watches_.find(fd);
    if (what == CURL_POLL_REMOVE) {
      if (it != self->watches_.end()) {
        self->loop_->unwatch(it->second.id);
        self->watches_.erase(it);
      }
      return 0;
    }
    if (auto job = self->jobs_.find(easy); job != self->jobs_.end()) job->second->hasSocket = true;
    unsigned events = 0;
    if (what & CURL_POLL_IN) events |= RunLoop::kReadable;
    if (what & CURL_POLL_OUT) events |= RunLoop::kWritable;
    if (it != self->watches_.end()) {
      self->loop_->modifyWatch(it->second.id, events);
      it->second.easy = easy;
    } else {
      const auto id =
          self->loop_->watch(fd, events, [self, fd](unsigned ready) { self->onSocket(fd, ready); });
      self->watches_.emplace(fd, SocketWatch{id, easy});
    }
    return 0;
  }

  static int timerCallback(CURLM*, long timeoutMs, void* data) {
    auto* self = static_cast<CurlDriver*>(data);
    if (self->closing_) return 0;
    if (self->curlTimer_ != 0) {
      self->loop_->cancel(self->curlTimer_);
      self->curlTimer_ = 0;
    }
    if (timeoutMs >= 0) {
      self->curlTimer_ = self->loop_->schedule(std::chrono::milliseconds(timeoutMs), [self] {
        self->curlTimer_ = 0;
        self->drive(CURL_SOCKET_TIMEOUT, 0);
      });
    }
    return 0;
  }

  // --- the loop's side ---

  void onSocket(curl_socket_t fd, unsigned ready) {
    // Activity on a transfer's socket is progress (connecting, sending the request). The easy
    // handle is only used as a key: it may belong to a transfer that has ended.
    auto it = watches_.find(fd);
    if (it != watches_.end()) {
      auto job = jobs_.find(it->second.easy);
      if (job != jobs_.end()) job->second->lastProgress = loop_->now();
    }
    int mask = 0;
    if (ready & RunLoop::kReadable) mask |= CURL_CSELECT_IN;
    if (ready & RunLoop::kWritable) mask |= CURL_CSELECT_OUT;
    if (ready & RunLoop::kIoError) mask |= CURL_CSELECT_ERR;
    drive(fd, mask);
  }

  void drive(curl_socket_t fd, int mask) {
    {
      Depth depth(*this);
      int running = 0;
      curl_multi_socket_action(multi_, fd, mask, &running);
      collectCompletions();
      std::vector<std::shared_ptr<Job>> ready;
      for (const auto& [easy, job] : jobs_) {
        if (!job->events.empty()) ready.push_back(job);
      }
      for (const auto& job : ready)
        deliver(job);
    }
    releaseLoopIfIdle();
  }

  void collectCompletions() {
    int left = 0;
    while (CURLMsg* msg = curl_multi_info_read(multi_, &left)) {
      if (msg->msg != CURLMSG_DONE) continue;
      auto it = jobs_.find(msg->easy_handle);
      if (it == jobs_.end()) continue;
      it->second->events.push_back(
          Event{Event::Kind::kDone, {}, {}, msg->data.result, std::nullopt});
    }
  }

  // Hands the job's records to its delegate, stopping as soon as the owner lets go.
  void deliver(const std::shared_ptr<Job>& job) {
    while (job->owner != nullptr && !job->events.empty()) {
      Event event = std::move(job->events.front());
      job->events.pop_front();
      UrlTransferCurl& owner = *job->owner;
      UrlTransferDelegate* delegate = job->delegate;
      switch (event.kind) {
        case Event::Kind::kResponse:
          if (delegate != nullptr) delegate->transferDidReceiveResponse(owner, event.response);
          break;
        case Event::Kind::kData:
          if (delegate != nullptr) delegate->transferDidReceiveData(owner, event.data);
          break;
        case Event::Kind::kDone:
          complete(job, event);
          return;
      }
    }
  }

  void complete(const std::shared_ptr<Job>& job, const Event& event) {
    if (!event.error && event.result == CURLE_OK && job->redirecting) {
      followRedirect(job);
      return;
    }
    std::optional<PlatformError> error = event.error;
    if (!error && job->tooLong)
      error = makeError(UrlError::kDataLengthExceedsMaximum, "the answer is too long");
    if (!error && event.result != CURLE_OK) error = errorForCurl(event.result, job->easy);
    UrlTransferCurl& owner = *job->owner;
    UrlTransferDelegate* delegate = job->delegate;
    job->owner = nullptr;
    remove(*job);
    owner.job_ = nullptr;
    if (delegate == nullptr) return;
    if (error) {
      delegate->transferDidFail(owner, *error);
    } else {
      delegate->transferDidFinish(owner);
    }
  }

  void followRedirect(const std::shared_ptr<Job>& job) {
    char* location = nullptr;
    curl_easy_getinfo(job->easy, CURLINFO_REDIRECT_URL, &location);
    if (location == nullptr || job->redirects >= kMaxRedirects) {
      const bool tooMany = location != nullptr;
      job->redirecting = false;
      complete(job, Event{Event::Kind::kDone,
                          {},
                          {},
                          CURLE_OK,
                          tooMany ? makeError(UrlError::kHTTPTooManyRedirects, "too many redirects")
                                  : makeError(UrlError::kRedirectToNonExistentLocation,
                                              "redirect without a usable location")});
      return;
    }
    UrlRequest next = job->request;
    next.url = location;
    const int status = job->redirectHead.statusCode;
    if ((status == 303 && next.httpMethod != "HEAD") ||
        ((status == 301 || status == 302) && next.httpMethod == "POST")) {
      next.httpMethod = "GET";
      next.body.reset();
      std::erase_if(next.headerFields, [](const auto& field) {
        return headerFieldNameEquals(field.first, "Content-Type") ||
               headerFieldNameEquals(field.first, "Content-Length");
      });
    }
    // Credentials are for the host they were given to, never for whoever a redirect names.
    const auto from = originOf(job->request.url);
    if (!from || from != originOf(next.url)) {
      std::erase_if(next.headerFields, [](const auto& field) {
        return headerFieldNameEquals(field.first, "Authorization");
      });
    }
    const UrlResponse redirectResponse = job->redirectHead;
    if (job->delegate != nullptr)
      job->delegate->transferWillRedirect(*job->owner, next, redirectResponse);
    if (job->owner == nullptr) return;  // cancelled from the callback
    job->owner->current_ = next;
    job->request = std::move(next);
    ++job->redirects;
    if (job->inMulti) {
      curl_multi_remove_handle(multi_, job->easy);
      job->inMulti = false;
    }
    configure(*job);
    addToMulti(*job);
    if (!job->events.empty()) deliver(job);
  }

  RunLoop* loop_;  // the main loop of the latest transfer; changed only while idle
  CURLM* multi_;
  std::map<CURL*, std::shared_ptr<Job>> jobs_;
  std::map<curl_socket_t, SocketWatch> watches_;
  RunLoop::TimerId curlTimer_ = 0;
  int depth_ = 0;
  bool closing_ = false;

  friend class UrlTransferCurl;
};

std::unique_ptr<CurlDriver>& driverSlot() {
  static std::unique_ptr<CurlDriver> slot;
  return slot;
}

CurlDriver* currentDriver() {
  return driverSlot().get();
}

CurlDriver& driverForMainLoop() {
  static std::once_flag globalInit;
  std::call_once(globalInit, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
  auto& slot = driverSlot();
  if (!slot) slot = std::make_unique<CurlDriver>(RunLoop::main());
  slot->moveTo(RunLoop::main());
  return *slot;
}

void UrlTransferCurl::cancel() {
  if (job_ == nullptr) return;
  Job* job = job_;
  job_ = nullptr;
  job->owner = nullptr;
  if (CurlDriver* driver = currentDriver()) {
    driver->cancel(job);
    driver->releaseLoopIfIdle();
  }
}

}  // namespace

std::unique_ptr<UrlTransfer> startBackendTransfer(const UrlRequest& request,
                                                  UrlTransferDelegate* delegate) {
  auto transfer = std::make_unique<UrlTransferCurl>(request);
  driverForMainLoop().start(*transfer, request, delegate);
  return transfer;
}

void closeBackendIdleConnections() {
  // Only an idle driver holds nothing but its caches; the next transfer makes a new one.
  auto& slot = driverSlot();
  if (slot && slot->idle()) slot.reset();
}

}  // namespace lk

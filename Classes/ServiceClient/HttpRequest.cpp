#include "Classes/ServiceClient/HttpRequest.h"

#include <array>
#include <utility>

#include "Classes/ServiceClient/ByteBuffer.h"
#include "Classes/ServiceClient/HttpRequestCacheCenter.h"
#include "Platform/Log/Log.h"
#include "Platform/Net/NetworkActivityIndicator.h"
#include "Platform/Net/UrlEscape.h"

namespace lk {
namespace {

int gNetworkActivityCount = 0;

constexpr const char* kAbsent = "(null)";
constexpr const char* kHidden = "***";

// Writes the values of the secret keys of a query or form text as "***", so that debug lines
// never carry a password, a session or what a user typed into the login and activation forms.
std::string redactSecrets(std::string_view text) {
  static constexpr std::array<std::string_view, 5> kSecretKeys = {
      "ssid", "login_loginpass", "login_username", "login_verifycode", "nickName"};
  std::string out;
  out.reserve(text.size());
  std::size_t i = 0;
  while (i < text.size()) {
    const bool pairStart = i == 0 || text[i - 1] == '?' || text[i - 1] == '&';
    bool redacted = false;
    if (pairStart) {
      for (const auto key : kSecretKeys) {
        if (text.substr(i).starts_with(key) && i + key.size() < text.size() &&
            text[i + key.size()] == '=') {
          out.append(key).append("=").append(kHidden);
          i += key.size() + 1;
          while (i < text.size() && text[i] != '&' && text[i] != '#')
            ++i;
          redacted = true;
          break;
        }
      }
    }
    if (!redacted) out.push_back(text[i++]);
  }
  return out;
}

std::string joinPairs(const HttpParameters& parameters) {
  std::string out;
  for (const auto& [name, value] : parameters) {
    if (!out.empty()) out.push_back('&');
    out.append(FormValue::escape(name)).append("=").append(value.encoded());
  }
  return out;
}

}  // namespace

HttpRequest::HttpRequest() = default;

HttpRequest::HttpRequest(HttpRequestDelegate* delegate, std::any extraData)
    : delegate_(delegate), extraData_(std::move(extraData)), usingTimeout_(false) {}

HttpRequest::~HttpRequest() {
  delegate_ = nullptr;
  endTransfer();
}

std::optional<int> HttpRequest::tag() const {
  if (const int* value = std::any_cast<int>(&extraData_)) return *value;
  return std::nullopt;
}

// --- starting ---

void HttpRequest::requestGET(const std::string& url) {
  requestGET(url, false);
}

void HttpRequest::requestGET(const std::string& url, bool useCache) {
  usingCache_ = useCache;
  requestGET(url, HttpParameters{});
}

void HttpRequest::requestGET(const std::string& url, const HttpParameters& parameters) {
  requestGET(url, parameters, HeaderFields{});
}

void HttpRequest::requestGET(const std::string& url, const HttpParameters& parameters,
                             const HeaderFields& headerFields) {
  const std::string text = makeURL(url, parameters);
  UrlRequest request = makeRequest(text);
  for (const auto& [name, value] : headerFields)
    request.setValueForHeaderField(value, name);
  URLRequest_ = std::move(request);

  const auto cached = HttpRequestCacheCenter::sharedInstance().dataForURL(URLRequest_->url);
  if (cached && !cached->empty()) {
    recievedData_.append(*cached);
    storedAnswerKey_ = URLRequest_->url;
    URLRequest_.reset();
    statusCode_ = 200;
    if (delegate_ != nullptr) delegate_->requestSucceeded(*this);
    return;  // the delegate may have destroyed this request
  }
  logf("GET: %s", redactSecrets(text).c_str());
  startTransfer();
}

void HttpRequest::requestGETWithGZip(const std::string& url) {
  requestGETWithGZip(url, true);
}

void HttpRequest::requestGETWithGZip(const std::string& url, bool useCache) {
  const bool hasQuery = url.find('?') != std::string::npos;
  requestGET(url + (hasQuery ? "&tn=gz" : "?tn=gz"), useCache);
}

void HttpRequest::requestGET(const std::string& url, const HttpParameters& parameters,
                             const std::optional<std::string>& username,
                             const std::optional<std::string>& password) {
  const std::string text = makeURL(url, parameters);
  URLRequest_ = makeRequest(text, username, password);
  logf("GET: %s", redactSecrets(text).c_str());
  startTransfer();
}

void HttpRequest::requestPOST(const std::string& url, const HttpParameters& parameters) {
  requestPOSTBody(url, makeParamtersString(parameters));
}

void HttpRequest::requestPOST(const std::string& url, const HttpParameters& parameters,
                              const std::optional<std::string>& username,
                              const std::optional<std::string>& password) {
  requestPOSTBody(url, makeParamtersString(parameters), username, password);
}

void HttpRequest::requestPOSTBody(const std::string& url, const std::optional<std::string>& body) {
  requestPOSTBody(url, body, std::nullopt, std::nullopt);
}

void HttpRequest::requestPOSTBody(const std::string& url, const std::optional<std::string>& body,
                                  const std::optional<std::string>& username,
                                  const std::optional<std::string>& password) {
  UrlRequest request = makeRequest(url, username, password);
  logf("POST: %s BODY: %s AUTH: %s|%s", redactSecrets(url).c_str(),
       body ? redactSecrets(*body).c_str() : kAbsent, username ? username->c_str() : kAbsent,
       password ? kHidden : kAbsent);
  request.httpMethod = "POST";
  request.setValueForHeaderField("application/x-www-form-urlencoded", "Content-Type");
  if (body) {
    request.body = *body;
    request.setValueForHeaderField(std::to_string(body->size()), "Content-Length");
  }
  URLRequest_ = std::move(request);
  startTransfer();
  if (usingTimeout_) armWatchdog();
}

void HttpRequest::requestPOST(const std::string& url, const HttpParameters& parameters,
                              const HeaderFields& headerFields) {
  UrlRequest request = makeRequest(url);
  const auto params = makeParamtersString(parameters);
  const std::optional<std::string> body =
      params ? std::optional<std::string>(percentEscapeURL(*params)) : std::nullopt;
  logf("POST: %s BODY: %s AUTH: %s|%s", redactSecrets(url).c_str(),
       body ? redactSecrets(*body).c_str() : kAbsent, kAbsent, kAbsent);
  request.httpMethod = "POST";
  request.setValueForHeaderField("application/x-www-form-urlencoded", "Content-Type");
  for (const auto& [name, value] : headerFields)
    request.setValueForHeaderField(value, name);
  if (body) {
    request.body = *body;
    request.setValueForHeaderField(std::to_string(body->size()), "Content-Length");
  }
  URLRequest_ = std::move(request);
  startTransfer();
}

void HttpRequest::forgetStoredAnswer() const {
  if (!storedAnswerKey_.empty())
    HttpRequestCacheCenter::sharedInstance().removeDataForURL(storedAnswerKey_);
}

void HttpRequest::startTransfer() {
  assertOnMainThread();
  endTransfer();  // a request is used once; a second start replaces the first quietly
  storedAnswerKey_.clear();
  URLRequest_->timeoutInterval = transferTimeout_;
  setNetworkActivityIndicator(+1);
  counted_ = true;
  urlConnection_ = UrlTransfer::start(*URLRequest_, this);
}

void HttpRequest::cancel() {
  endTransfer();
}

void HttpRequest::endTransfer() {
  // Only a running request gives its unit back: cancelling a finished one must not hide the
  // indicator while other transfers still run.
  if (counted_) {
    counted_ = false;
    setNetworkActivityIndicator(-1);
  }
  timeoutTimer_.cancel();
  urlConnection_.reset();
}

// --- watchdog ---

void HttpRequest::armWatchdog() {
  timeoutTimer_.start(kWatchdogInterval, [this] { timerFireMethod(); });
}

void HttpRequest::timerFireMethod() {
  if (!recievedData_.empty() && urlConnection_) {
    armWatchdog();  // data has started to arrive: never fail it from here
    return;
  }
  failedWithError(PlatformError{kTimeOutErrorDomain, kTimeOutErrorCode, "The request timed out."});
}

void HttpRequest::failedWithError(const PlatformError& error) {
  endTransfer();
  if (delegate_ != nullptr) delegate_->requestFailed(*this, error);
}

// --- the transfer's events ---

void HttpRequest::transferDidReceiveResponse(UrlTransfer&, const UrlResponse& response) {
  statusCode_ = response.statusCode;
  headerFields_ = response.headerFields;
  expectedLength_ = response.expectedContentLength();
}

void HttpRequest::transferDidReceiveData(UrlTransfer&, std::string_view chunk) {
  recievedData_.append(chunk);
  if (delegate_ == nullptr) return;
  const float percent =
      expectedLength_ && *expectedLength_ > 0
          ? static_cast<float>(recievedData_.size()) / static_cast<float>(*expectedLength_)
          : 0.0f;
  delegate_->requestRecivedDataPercent(*this, percent);
}

void HttpRequest::transferWillRedirect(UrlTransfer&, const UrlRequest& newRequest,
                                       const UrlResponse& redirectResponse) {
  if (delegate_ != nullptr) delegate_->requestWillSendRequest(*this, newRequest, redirectResponse);
}

void HttpRequest::transferDidFinish(UrlTransfer& transfer) {
  const std::string key = transfer.originalRequest().url;
  endTransfer();
  // Only a real answer is kept: an error page must not come back later as a success. Stored
  // before the callback, which may destroy this request.
  if (usingCache_ && statusCode_ == 200) {
    HttpRequestCacheCenter::sharedInstance().cacheData(recievedData_, key);
    storedAnswerKey_ = key;
  }
  if (delegate_ != nullptr) delegate_->requestSucceeded(*this);
}

void HttpRequest::transferDidFail(UrlTransfer&, const PlatformError& error) {
  endTransfer();
  if (delegate_ != nullptr) delegate_->requestFailed(*this, error);
}

// --- class operations ---

std::optional<std::string> HttpRequest::makeParamtersString(const HttpParameters& parameters) {
  if (parameters.empty()) return std::nullopt;
  return joinPairs(parameters);
}

std::string HttpRequest::makeURL(const std::string& url, const HttpParameters& parameters) {
  const auto query = makeParamtersString(parameters);
  return query ? url + "?" + *query : url;
}

std::string HttpRequest::makeURLWithOrderedParams(const std::string& url,
                                                  const std::vector<HttpRequestParameter>& params) {
  HttpParameters present;
  for (const auto& p : params) {
    if (p.value()) present.emplace_back(p.name(), *p.value());
  }
  return makeURL(url, present);
}

std::optional<std::string> HttpRequest::makeBody(const HttpParameters& parameters) {
  if (parameters.empty()) return std::nullopt;
  return joinPairs(parameters);
}

std::string HttpRequest::stringOfAuthorizationHeaderWithUsername(const std::string& username,
                                                                 const std::string& password) {
  return "Basic " + stringEncodedWithBase64(username + ":" + password);
}

std::string HttpRequest::stringEncodedWithBase64(std::string_view text) {
  return base64EncodingWithLineLength(text, 0);
}

UrlRequest HttpRequest::makeRequest(const std::string& url) {
  return makeRequest(url, std::nullopt, std::nullopt);
}

UrlRequest HttpRequest::makeRequest(const std::string& url,
                                    const std::optional<std::string>& username,
                                    const std::optional<std::string>& password) {
  UrlRequest request;
  request.url = percentEscapeURL(url);
  request.cachePolicy = UrlCachePolicy::kReloadRevalidatingCacheData;
  request.timeoutInterval = kTransferTimeoutInterval;
  request.handlesCookies = false;
  if (username || password) {
    request.setValueForHeaderField(
        stringOfAuthorizationHeaderWithUsername(username.value_or(""), password.value_or("")),
        "Authorization");
  }
  return request;
}

void HttpRequest::setNetworkActivityIndicator(int delta) {
  gNetworkActivityCount += delta;
  if (gNetworkActivityCount < 1) {
    NetworkActivityIndicator::setVisible(false);
    if (gNetworkActivityCount < 0) gNetworkActivityCount = 0;
  } else {
    NetworkActivityIndicator::setVisible(true);
  }
}

int HttpRequest::networkActivityCount() {
  return gNetworkActivityCount;
}

}  // namespace lk

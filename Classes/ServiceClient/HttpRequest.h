#pragma once

#include <any>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "Classes/ServiceClient/FormValue.h"
#include "Classes/ServiceClient/HttpRequestDelegate.h"
#include "Classes/ServiceClient/HttpRequestParameter.h"
#include "Platform/Net/UrlTransfer.h"
#include "Platform/RunLoop/RunLoop.h"

namespace lk {

// One exchange with the directory service: a GET (answered from the response cache when it holds
// the URL) or a form-encoded POST, reported to the delegate exactly once on the main run loop,
// unless cancelled first. Used once: create, start, and release it, usually inside its own
// callback. Destroying a running request cancels it without a callback.
//
//   request_ = std::make_unique<HttpRequest>(this, 3);
//   request_->requestGETWithGZip(ServiceEndpoints::serviceURL() + "/index/0/province");
//   ...
//   void requestSucceeded(HttpRequest& r) override {
//     auto answer = readJsonAnswer(r, AnswerEncoding::kCompressed);  // ServiceAnswer.h
//     request_.reset();  // allowed here
//   }
class HttpRequest final : private UrlTransferDelegate {
 public:
  using HeaderFields = std::map<std::string, std::string>;

  static constexpr const char* kTimeOutErrorDomain = "errorTimeOut";
  static constexpr int kTimeOutErrorCode = -1001;
  static constexpr Duration kWatchdogInterval = seconds(45);
  static constexpr Duration kTransferTimeoutInterval = seconds(20);

  // No delegate; POSTs arm the 45-second watchdog.
  HttpRequest();
  // `delegate` is not owned: it must outlive the request or cancel it. `extraData` is the tag
  // that tells a delegate's requests apart (usually an int). The watchdog stays off.
  HttpRequest(HttpRequestDelegate* delegate, std::any extraData);
  HttpRequest(const HttpRequest&) = delete;
  HttpRequest& operator=(const HttpRequest&) = delete;
  ~HttpRequest() override;

  // GETs. A cache hit calls requestSucceeded before the call returns.
  void requestGET(const std::string& url);
  void requestGET(const std::string& url, bool useCache);
  void requestGET(const std::string& url, const HttpParameters& parameters);
  void requestGET(const std::string& url, const HttpParameters& parameters,
                  const HeaderFields& headerFields);
  // Asks for a compressed answer ("tn=gz"); caching on by default.
  void requestGETWithGZip(const std::string& url);
  void requestGETWithGZip(const std::string& url, bool useCache);
  // With a Basic authorisation header; never answered from the cache.
  void requestGET(const std::string& url, const HttpParameters& parameters,
                  const std::optional<std::string>& username,
                  const std::optional<std::string>& password);

  // Form-encoded POSTs.
  void requestPOST(const std::string& url, const HttpParameters& parameters);
  void requestPOST(const std::string& url, const HttpParameters& parameters,
                   const std::optional<std::string>& username,
                   const std::optional<std::string>& password);
  // A body already encoded (requestPOST:body:). Named apart because a braced parameter list
  // would otherwise also fit a std::string and pick the wrong overload.
  void requestPOSTBody(const std::string& url, const std::optional<std::string>& body);
  void requestPOSTBody(const std::string& url, const std::optional<std::string>& body,
                       const std::optional<std::string>& username,
                       const std::optional<std::string>& password);
  // The body percent-escaped like a URL, extra header fields, never a watchdog.
  void requestPOST(const std::string& url, const HttpParameters& parameters,
                   const HeaderFields& headerFields);

  // Stops the transfer; no callback follows.
  void cancel();
  // Drops the answer from the response cache, where it was stored or served from: an answer
  // its reader found unusable must not be served again in place of a new one.
  void forgetStoredAnswer() const;

  [[nodiscard]] int statusCode() const { return statusCode_; }
  [[nodiscard]] const std::string& recievedData() const { return recievedData_; }
  [[nodiscard]] const HeaderFields& headerFields() const { return headerFields_; }
  [[nodiscard]] const std::any& extraData() const { return extraData_; }
  // The tag, when it is an int.
  [[nodiscard]] std::optional<int> tag() const;
  [[nodiscard]] HttpRequestDelegate* delegate() const { return delegate_; }
  void setDelegate(HttpRequestDelegate* delegate) { delegate_ = delegate; }
  [[nodiscard]] const std::optional<UrlRequest>& URLRequest() const { return URLRequest_; }
  [[nodiscard]] const UrlTransfer* urlConnection() const { return urlConnection_.get(); }
  [[nodiscard]] const ScopedTimer& timeoutTimer() const { return timeoutTimer_; }
  [[nodiscard]] bool usingTimeout() const { return usingTimeout_; }
  void setUsingTimeout(bool usingTimeout) { usingTimeout_ = usingTimeout; }
  [[nodiscard]] bool usingCache() const { return usingCache_; }
  // The transfer's time-out (20 s); tests and slow links may change it before starting.
  void setTransferTimeoutInterval(Duration interval) { transferTimeout_ = interval; }

  // Query and form encoding. Every name and value is escaped with FormValue::escape (values
  // made with FormValue::preEscaped go out as given); pairs keep their order.
  // "a=1&b=2", or nothing for no parameters.
  static std::optional<std::string> makeParamtersString(const HttpParameters& parameters);
  // "url?a=1&b=2", or the url unchanged for no parameters.
  static std::string makeURL(const std::string& url, const HttpParameters& parameters);
  // The same in the list's order, leaving out pairs without a value.
  static std::string makeURLWithOrderedParams(const std::string& url,
                                              const std::vector<HttpRequestParameter>& params);
  static std::optional<std::string> makeBody(const HttpParameters& parameters);

  // "Basic " and the Base64 of "name:password".
  static std::string stringOfAuthorizationHeaderWithUsername(const std::string& username,
                                                             const std::string& password);
  // Base64 of the UTF-8 bytes, no line breaks.
  static std::string stringEncodedWithBase64(std::string_view text);

  // The platform request for a URL text: escaped, no cookies, 20-second time-out, with an
  // authorisation header when a name or a password is given.
  static UrlRequest makeRequest(const std::string& url);
  static UrlRequest makeRequest(const std::string& url, const std::optional<std::string>& username,
                                const std::optional<std::string>& password);

  // The process-wide count of running transfers behind the network-activity indicator: adds
  // `delta`; the indicator shows while the count is 1 or more, and the count never stays below 0.
  static void setNetworkActivityIndicator(int delta);
  [[nodiscard]] static int networkActivityCount();

 private:
  void startTransfer();
  // Counter, watchdog and transfer released; no callback.
  void endTransfer();
  void armWatchdog();
  void timerFireMethod();
  void failedWithError(const PlatformError& error);

  void transferDidReceiveResponse(UrlTransfer& transfer, const UrlResponse& response) override;
  void transferDidReceiveData(UrlTransfer& transfer, std::string_view chunk) override;
  void transferWillRedirect(UrlTransfer& transfer, const UrlRequest& newRequest,
                            const UrlResponse& redirectResponse) override;
  void transferDidFinish(UrlTransfer& transfer) override;
  void transferDidFail(UrlTransfer& transfer, const PlatformError& error) override;

  HttpRequestDelegate* delegate_ = nullptr;
  int statusCode_ = 0;
  std::any extraData_;
  std::unique_ptr<UrlTransfer> urlConnection_;
  std::string recievedData_;
  HeaderFields headerFields_;
  ScopedTimer timeoutTimer_;
  bool usingTimeout_ = true;
  std::optional<UrlRequest> URLRequest_;
  bool usingCache_ = false;
  std::string storedAnswerKey_;  // the response cache's entry of this answer, if any

  bool counted_ = false;  // this request holds one unit of the activity counter
  std::optional<long long> expectedLength_;
  Duration transferTimeout_ = kTransferTimeoutInterval;
};

}  // namespace lk

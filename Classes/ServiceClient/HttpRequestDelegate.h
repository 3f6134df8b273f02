#pragma once

#include "Platform/Net/PlatformError.h"
#include "Platform/Net/UrlRequest.h"
#include "Platform/Net/UrlResponse.h"

namespace lk {

class HttpRequest;

// Receives a request's outcome on the main run loop. Every callback is optional. A started
// request calls exactly one of requestSucceeded or requestFailed, unless it is cancelled or
// destroyed first. The delegate may destroy the request inside any callback.
class HttpRequestDelegate {
 public:
  HttpRequestDelegate() = default;
  HttpRequestDelegate(const HttpRequestDelegate&) = delete;
  HttpRequestDelegate& operator=(const HttpRequestDelegate&) = delete;
  virtual ~HttpRequestDelegate() = default;

  // The transfer completed, whatever the HTTP status (check statusCode() for 200), or a GET was
  // answered from the response cache.
  virtual void requestSucceeded(HttpRequest& /*request*/) {}
  // The transfer failed, or the watchdog fired. The error's code is what AlertCenter words.
  virtual void requestFailed(HttpRequest& /*request*/, const PlatformError& /*error*/) {}
  // After each received chunk: bytes so far divided by the answer's "Content-Length" (0 when the
  // answer announced no length).
  virtual void requestRecivedDataPercent(HttpRequest& /*request*/, float /*percent*/) {}
  // Before a redirect is followed; the redirect is followed unchanged whatever happens here.
  virtual void requestWillSendRequest(HttpRequest& /*request*/, const UrlRequest& /*newRequest*/,
                                      const UrlResponse& /*redirectResponse*/) {}
};

}  // namespace lk

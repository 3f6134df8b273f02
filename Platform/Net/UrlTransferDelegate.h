#pragma once

#include <string_view>

#include "Platform/Net/PlatformError.h"
#include "Platform/Net/UrlRequest.h"
#include "Platform/Net/UrlResponse.h"

namespace lk {

class UrlTransfer;

// Receives a transfer's events on the main run loop. Every callback is optional. A transfer ends
// with exactly one of transferDidFinish or transferDidFail, unless it was cancelled or destroyed
// first; then nothing more is called. A delegate may destroy the transfer inside any callback.
class UrlTransferDelegate {
 public:
  UrlTransferDelegate() = default;
  UrlTransferDelegate(const UrlTransferDelegate&) = delete;
  UrlTransferDelegate& operator=(const UrlTransferDelegate&) = delete;
  virtual ~UrlTransferDelegate() = default;

  // The final response's status and header fields (not those of redirects), before its data.
  virtual void transferDidReceiveResponse(UrlTransfer& /*transfer*/,
                                          const UrlResponse& /*response*/) {}
  // The next piece of the response body.
  virtual void transferDidReceiveData(UrlTransfer& /*transfer*/, std::string_view /*chunk*/) {}
  // A redirect is about to be followed with `newRequest`; the transfer always follows it.
  virtual void transferWillRedirect(UrlTransfer& /*transfer*/, const UrlRequest& /*newRequest*/,
                                    const UrlResponse& /*redirectResponse*/) {}
  virtual void transferDidFinish(UrlTransfer& /*transfer*/) {}
  virtual void transferDidFail(UrlTransfer& /*transfer*/, const PlatformError& /*error*/) {}
};

}  // namespace lk

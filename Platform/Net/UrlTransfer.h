#pragma once

#include <cstdint>
#include <memory>

#include "Platform/Net/UrlRequest.h"
#include "Platform/Net/UrlTransferDelegate.h"

namespace lk {

class UrlTransferFactory;

// One asynchronous HTTP transfer on the main run loop. Redirects are followed; no cookies and no
// local HTTP cache. Destroying the transfer cancels it.
class UrlTransfer {
 public:
  UrlTransfer() = default;
  UrlTransfer(const UrlTransfer&) = delete;
  UrlTransfer& operator=(const UrlTransfer&) = delete;
  virtual ~UrlTransfer() = default;

  // Starts `request` at once and returns; the events arrive later on the main run loop (even a
  // failure to start, such as a malformed URL). `delegate` is not owned: it must outlive the
  // transfer, or destroy it first.
  static std::unique_ptr<UrlTransfer> start(const UrlRequest& request,
                                            UrlTransferDelegate* delegate);

  // Stops the transfer; no callback follows. Calling it again does nothing.
  virtual void cancel() = 0;
  // The request as it was started (before any redirect).
  [[nodiscard]] virtual const UrlRequest& originalRequest() const = 0;
  // The request being sent now (the latest redirect's target).
  [[nodiscard]] virtual const UrlRequest& currentRequest() const = 0;

  // Transfers started in this process so far (benchmarks and tests read it).
  static std::uint64_t startedCount();

  // Connections stay open after their transfer for the next request to the same host. This
  // closes those that no transfer uses now (for instance before the server they lead to stops,
  // or when the application goes to the background). Main thread only.
  static void closeIdleConnections();

  // Makes the transfers start() returns instead of the linked backend; tests install a fake
  // transport for their scope. Not owned; nullptr restores the backend. Returns the factory
  // installed before, if any.
  static UrlTransferFactory* setFactory(UrlTransferFactory* factory);
};

class UrlTransferFactory {
 public:
  UrlTransferFactory() = default;
  UrlTransferFactory(const UrlTransferFactory&) = delete;
  UrlTransferFactory& operator=(const UrlTransferFactory&) = delete;
  virtual ~UrlTransferFactory() = default;

  // Same contract as UrlTransfer::start.
  virtual std::unique_ptr<UrlTransfer> start(const UrlRequest& request,
                                             UrlTransferDelegate* delegate) = 0;
};

// The linked backend's transfers and connection cache (UrlTransfer<Backend>.cpp supplies them).
std::unique_ptr<UrlTransfer> startBackendTransfer(const UrlRequest& request,
                                                  UrlTransferDelegate* delegate);
void closeBackendIdleConnections();

}  // namespace lk

#include "Platform/Net/UrlTransfer.h"

#include <atomic>

namespace lk {

namespace {
std::atomic<std::uint64_t> gStartedCount{0};
UrlTransferFactory* gFactory = nullptr;
}  // namespace

std::unique_ptr<UrlTransfer> UrlTransfer::start(const UrlRequest& request,
                                                UrlTransferDelegate* delegate) {
  assertOnMainThread();
  ++gStartedCount;
  if (gFactory != nullptr) return gFactory->start(request, delegate);
  return startBackendTransfer(request, delegate);
}

std::uint64_t UrlTransfer::startedCount() {
  return gStartedCount.load();
}

void UrlTransfer::closeIdleConnections() {
  closeBackendIdleConnections();
}

UrlTransferFactory* UrlTransfer::setFactory(UrlTransferFactory* factory) {
  UrlTransferFactory* previous = gFactory;
  gFactory = factory;
  return previous;
}

}  // namespace lk

#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Platform/Net/UrlTransfer.h"

namespace lk::test {

// Starts a transfer and writes down what its delegate hears, in order.
class TransferRecorder : public UrlTransferDelegate {
 public:
  void start(const UrlRequest& request) { transfer = UrlTransfer::start(request, this); }
  void start(const std::string& url) {
    UrlRequest request;
    request.url = url;
    start(request);
  }

  [[nodiscard]] bool ended() const { return finished || error.has_value(); }

  void transferDidReceiveResponse(UrlTransfer&, const UrlResponse& r) override {
    calls.push_back("response");
    response = r;
    after("response");
  }
  void transferDidReceiveData(UrlTransfer&, std::string_view chunk) override {
    calls.push_back("data");
    body.append(chunk);
    ++chunks;
    after("data");
  }
  void transferWillRedirect(UrlTransfer&, const UrlRequest& next, const UrlResponse& r) override {
    calls.push_back("redirect");
    redirects.push_back(next);
    redirectResponses.push_back(r);
    after("redirect");
  }
  void transferDidFinish(UrlTransfer&) override {
    calls.push_back("finish");
    finished = true;
    after("finish");
  }
  void transferDidFail(UrlTransfer&, const PlatformError& e) override {
    calls.push_back("fail");
    error = e;
    after("fail");
  }

  std::unique_ptr<UrlTransfer> transfer;
  std::vector<std::string> calls;
  std::optional<UrlResponse> response;
  std::string body;
  int chunks = 0;
  std::vector<UrlRequest> redirects;
  std::vector<UrlResponse> redirectResponses;
  bool finished = false;
  std::optional<PlatformError> error;
  // Runs after each callback with its name (e.g. to destroy the transfer there).
  std::function<void(const std::string&)> onCallback;

 private:
  void after(const std::string& which) {
    if (onCallback) onCallback(which);
  }
};

}  // namespace lk::test

#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Classes/ServiceClient/HttpRequest.h"

namespace lk::test {

// Owns one request and writes down what its delegate hears.
class RequestRecorder : public HttpRequestDelegate {
 public:
  explicit RequestRecorder(std::any tag = 7)
      : request(std::make_unique<HttpRequest>(this, std::move(tag))) {}

  [[nodiscard]] bool ended() const { return succeeded || error.has_value(); }

  void requestSucceeded(HttpRequest& r) override {
    calls.push_back("succeeded");
    succeeded = true;
    status = r.statusCode();
    data = r.recievedData();
    after("succeeded");
  }
  void requestFailed(HttpRequest&, const PlatformError& e) override {
    calls.push_back("failed");
    error = e;
    after("failed");
  }
  void requestRecivedDataPercent(HttpRequest&, float percent) override {
    calls.push_back("percent");
    percents.push_back(percent);
    after("percent");
  }
  void requestWillSendRequest(HttpRequest&, const UrlRequest& next, const UrlResponse&) override {
    calls.push_back("redirect");
    redirectedTo.push_back(next.url);
    after("redirect");
  }

  std::unique_ptr<HttpRequest> request;
  std::vector<std::string> calls;
  bool succeeded = false;
  int status = 0;
  std::string data;
  std::optional<PlatformError> error;
  std::vector<float> percents;
  std::vector<std::string> redirectedTo;
  // Runs after each callback with its name (e.g. to release the request there).
  std::function<void(const std::string&)> onCallback;

 private:
  void after(const std::string& which) {
    if (onCallback) onCallback(which);
  }
};

}  // namespace lk::test

#pragma once

#include <any>
#include <cstddef>
#include <memory>
#include <string>

#include "Classes/Pictures/LKImageDownloaderDelegate.h"
#include "Platform/Net/UrlTransferDelegate.h"

namespace lk {

class UrlTransfer;

inline constexpr const char* kLKImageDownloadStartNotification = "LKImageDownloadStartNotification";
inline constexpr const char* kLKImageDownloadStopNotification = "LKImageDownloadStopNotification";

// One download of one picture URL on the main run loop (15-second time-out, never from a local
// cache). Posts the start and stop notifications with the downloader as object.
class LKImageDownloader : private UrlTransferDelegate {
 public:
  static constexpr double kTimeout = 15;
  // No picture the client shows comes near this; a larger answer is stopped there and counts as
  // no picture.
  static constexpr std::size_t kMaxImageBytes = 16u * 1024u * 1024u;

  // Creates the downloader and starts it. `delegate` is not owned and must outlive the download
  // (or destroy it first).
  static std::unique_ptr<LKImageDownloader> downloaderWithURL(const std::string& url,
                                                              LKImageDownloaderDelegate* delegate,
                                                              std::any userInfo = {});
  // Only downloaderWithURL makes one.
  class Token {
    friend class LKImageDownloader;
    Token() = default;
  };
  LKImageDownloader(Token, std::string url, LKImageDownloaderDelegate* delegate, std::any userInfo);
  LKImageDownloader(const LKImageDownloader&) = delete;
  LKImageDownloader& operator=(const LKImageDownloader&) = delete;
  ~LKImageDownloader() override;

  // Stops a running transfer (posting the stop notification); nothing is told afterwards.
  void cancel();

  [[nodiscard]] const std::string& url() const { return url_; }
  [[nodiscard]] LKImageDownloaderDelegate* delegate() const { return delegate_; }
  void setDelegate(LKImageDownloaderDelegate* delegate) { delegate_ = delegate; }
  [[nodiscard]] const std::string& imageData() const { return imageData_; }
  [[nodiscard]] const std::any& userInfo() const { return userInfo_; }
  [[nodiscard]] bool isRunning() const { return connection_ != nullptr; }

 private:
  void start();
  void postNotification(const char* name);

  void transferDidReceiveData(UrlTransfer& transfer, std::string_view chunk) override;
  void transferDidFinish(UrlTransfer& transfer) override;
  void transferDidFail(UrlTransfer& transfer, const PlatformError& error) override;

  std::string url_;
  LKImageDownloaderDelegate* delegate_ = nullptr;
  std::unique_ptr<UrlTransfer> connection_;
  std::string imageData_;
  std::any userInfo_;
  bool oversized_ = false;
  // Lets the callbacks notice that a delegate destroyed the downloader.
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace lk

#include "Classes/Toolkit/AlertCenter.h"

#include <mutex>
#include <vector>

#include "Platform/Log/Log.h"
#include "Platform/UI/AlertView.h"

namespace lk {
namespace {

std::recursive_mutex sharedMutex;
std::unique_ptr<AlertCenter> sharedCenter;
AlertCenter* liveCenter = nullptr;

constexpr const char* kNetworkError = "网络错误";
constexpr const char* kError = "错误";
constexpr const char* kCannotConnect = "无法连接到服务器, 请检查您的网络连接后重试.";

}  // namespace

AlertCenter& AlertCenter::sharedInstance() {
  std::lock_guard lock(sharedMutex);
  if (!sharedCenter) sharedCenter = std::make_unique<AlertCenter>();
  return *sharedCenter;
}

void AlertCenter::resetSharedInstanceForTesting() {
  std::unique_ptr<AlertCenter> old;
  std::lock_guard lock(sharedMutex);
  old = std::move(sharedCenter);
}

AlertCenter::AlertCenter()
    : sharedAlertView_(
          std::make_shared<ui::AlertView>("", "", static_cast<ui::AlertViewDelegate*>(this),
                                          std::nullopt, std::vector<std::string>{"好的"})) {
  std::lock_guard lock(sharedMutex);
  if (liveCenter != nullptr) logLine("Duplicate alloc a singleton class");
  liveCenter = this;
}

AlertCenter::~AlertCenter() {
  sharedAlertView_->setDelegate(nullptr);
  if (sharedAlertView_->isVisible()) sharedAlertView_->removeFromSuperview();
  std::lock_guard lock(sharedMutex);
  if (liveCenter == this) liveCenter = nullptr;
}

void AlertCenter::showAlertWithTitle(const std::optional<std::string>& title,
                                     const std::optional<std::string>& message) {
  if (isShow_) return;  // dropped, not queued
  sharedAlertView_->setTitle(title.value_or(""));
  sharedAlertView_->setMessage(message.value_or(""));
  sharedAlertView_->show();
  // Without a window to show it in, nothing is on screen and later boxes must not be dropped.
  isShow_ = sharedAlertView_->isVisible();
}

AlertCenter::Texts AlertCenter::textsForErrorCode(int code) {
  switch (code) {
    case -1001:
      return {std::nullopt, "请求超时"};
    case -1003:
    case -1004:
    case 400:
      return {kNetworkError, kCannotConnect};
    case -1009:
      return {kNetworkError, "您还没有联网, 请检查您的网络连接后重试."};
    case 403:
      return {kError, "帐号验证失败, 用户名或密码错误."};
    case 404:
      return {kError, "请求的资源无法找到."};
    default:
      return {kError, strprintf("未知错误,Code:%d", code)};
  }
}

void AlertCenter::showAlertWithErrorCode(int code) {
  const Texts texts = textsForErrorCode(code);
  showAlertWithTitle(texts.title, texts.message);
}

void AlertCenter::alertViewDidDismissWithButtonIndex(ui::AlertView& /*alert*/, int /*index*/) {
  isShow_ = false;
}

}  // namespace lk

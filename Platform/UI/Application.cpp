#include "Platform/UI/Application.h"

#include <algorithm>
#include <memory>

#include "Platform/Notifications/NotificationCenter.h"
#include "Platform/UI/Window.h"

namespace lk::ui {

namespace {
std::unique_ptr<Application>& instance() {
  static std::unique_ptr<Application> app;
  return app;
}
}  // namespace

Application& Application::shared() {
  auto& app = instance();
  if (!app) app = std::make_unique<Application>(Token{});
  return *app;
}

void Application::resetSharedInstanceForTesting() {
  auto& app = instance();
  if (!app) return;
  // Windows that outlive the reset keep registering with the fresh object.
  std::vector<Window*> windows = app->windows_;
  app = std::make_unique<Application>(Token{});
  app->windows_ = std::move(windows);
}

void Application::post(const char* name) {
  NotificationCenter::defaultCenter().post(Notification{name, {}, {}});
}

bool Application::launch() {
  state_ = State::kInactive;
  bool ok = delegate_ == nullptr || delegate_->applicationDidFinishLaunching(*this);
  becomeActive();
  return ok;
}

void Application::becomeActive() {
  state_ = State::kActive;
  if (delegate_ != nullptr) delegate_->applicationDidBecomeActive(*this);
  post(kApplicationDidBecomeActiveNotification);
}

void Application::resignActive() {
  state_ = State::kInactive;
  if (delegate_ != nullptr) delegate_->applicationWillResignActive(*this);
  post(kApplicationWillResignActiveNotification);
}

void Application::enterBackground() {
  if (state_ == State::kActive) resignActive();
  state_ = State::kBackground;
  if (delegate_ != nullptr) delegate_->applicationDidEnterBackground(*this);
  post(kApplicationDidEnterBackgroundNotification);
}

void Application::enterForeground() {
  state_ = State::kInactive;
  if (delegate_ != nullptr) delegate_->applicationWillEnterForeground(*this);
  post(kApplicationWillEnterForegroundNotification);
  becomeActive();
}

void Application::terminate() {
  if (delegate_ != nullptr) delegate_->applicationWillTerminate(*this);
  post(kApplicationWillTerminateNotification);
  state_ = State::kNotRunning;
}

void Application::receiveMemoryWarning() {
  if (delegate_ != nullptr) delegate_->applicationDidReceiveMemoryWarning(*this);
  post(kApplicationDidReceiveMemoryWarningNotification);
}

void Application::registerWindow(Window* window) {
  windows_.push_back(window);
}

void Application::unregisterWindow(Window* window) {
  windows_.erase(std::remove(windows_.begin(), windows_.end(), window), windows_.end());
  if (keyWindow_ == window) keyWindow_ = nullptr;
}

bool Application::canOpenURL(const std::string& url) const {
  for (const char* scheme : {"tel:", "sms:", "http:", "https:", "mailto:"}) {
    if (url.rfind(scheme, 0) == 0) return true;
  }
  return false;
}

void Application::announce(const std::string& text) {
  announcements_.push_back(text);
  if (announcer_) announcer_(text);
}

bool Application::openURL(const std::string& url) {
  openedURLs_.push_back(url);
  return opener_ ? opener_(url) : canOpenURL(url);
}

std::string Application::dumpScreen() const {
  return keyWindow_ != nullptr ? keyWindow_->dumpText() : std::string();
}

}  // namespace lk::ui

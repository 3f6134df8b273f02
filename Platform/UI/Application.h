#pragma once

#include <functional>
#include <string>
#include <vector>

#include "Platform/Net/NetworkActivityIndicator.h"
#include "Platform/UI/ApplicationDelegate.h"
#include "Platform/UI/Geometry.h"

namespace lk::ui {

class Window;

// Life-cycle notifications, posted on the default notification centre after the delegate was
// told (services that are not the delegate, such as the picture cache, observe them).
inline constexpr const char* kApplicationDidBecomeActiveNotification =
    "UIApplicationDidBecomeActiveNotification";
inline constexpr const char* kApplicationWillResignActiveNotification =
    "UIApplicationWillResignActiveNotification";
inline constexpr const char* kApplicationDidEnterBackgroundNotification =
    "UIApplicationDidEnterBackgroundNotification";
inline constexpr const char* kApplicationWillEnterForegroundNotification =
    "UIApplicationWillEnterForegroundNotification";
inline constexpr const char* kApplicationWillTerminateNotification =
    "UIApplicationWillTerminateNotification";
inline constexpr const char* kApplicationDidReceiveMemoryWarningNotification =
    "UIApplicationDidReceiveMemoryWarningNotification";

// The process's application object: the delegate, the windows and the life-cycle state.
// Front ends and tests drive the life cycle through the event operations below.
class Application {
 public:
  enum class State { kNotRunning, kInactive, kActive, kBackground };

  static Application& shared();
  // Fresh state for a test: no delegate, no windows remembered, not running.
  static void resetSharedInstanceForTesting();

  struct Token {
    explicit Token() = default;
  };
  explicit Application(Token) {}
  Application(const Application&) = delete;
  Application& operator=(const Application&) = delete;

  // The delegate must outlive the application object or be cleared.
  void setDelegate(ApplicationDelegate* delegate) { delegate_ = delegate; }
  [[nodiscard]] ApplicationDelegate* delegate() const { return delegate_; }
  [[nodiscard]] State state() const { return state_; }

  // Life-cycle events, each telling the delegate in the handset's order.
  // launch: did finish launching, then did become active. Returns the delegate's answer.
  bool launch();
  // Home button: will resign active, did enter background.
  void enterBackground();
  // Back from the background: will enter foreground, did become active.
  void enterForeground();
  // An interruption (a call) and its end: will resign active / did become active.
  void resignActive();
  void becomeActive();
  void terminate();
  void receiveMemoryWarning();

  // Screen geometry: the whole screen and the area below the status bar.
  [[nodiscard]] Rect screenBounds() const { return {0, 0, 320, 480}; }
  [[nodiscard]] Rect applicationFrame() const { return {0, 20, 320, 460}; }

  [[nodiscard]] Window* keyWindow() const { return keyWindow_; }
  [[nodiscard]] const std::vector<Window*>& windows() const { return windows_; }
  void setKeyWindow(Window* window) { keyWindow_ = window; }
  void registerWindow(Window* window);
  void unregisterWindow(Window* window);

  // The status bar's network-activity indicator.
  // The one network-activity indicator of the system (see Platform/Net).
  void setNetworkActivityIndicatorVisible(bool visible) {
    NetworkActivityIndicator::setVisible(visible);
  }
  [[nodiscard]] bool isNetworkActivityIndicatorVisible() const {
    return NetworkActivityIndicator::isVisible();
  }

  // Hands a URL to the system ("tel:" calls, web addresses). The opener a front end installs
  // decides; without one, "tel:", "sms:", "http:" and "https:" URLs count as opened. Every
  // request is recorded.
  bool openURL(const std::string& url);
  [[nodiscard]] bool canOpenURL(const std::string& url) const;
  void setURLOpener(std::function<bool(const std::string&)> opener) { opener_ = std::move(opener); }
  [[nodiscard]] const std::vector<std::string>& openedURLs() const { return openedURLs_; }

  // A short status that shows only for a moment (the end of a progress box: "提交成功"), said
  // to whoever listens (a front end prints it, a screen reader would speak it). Every one is
  // recorded.
  void announce(const std::string& text);
  void setAnnouncer(std::function<void(const std::string&)> announcer) {
    announcer_ = std::move(announcer);
  }
  [[nodiscard]] const std::vector<std::string>& announcements() const { return announcements_; }

  // The text dump of what the key window shows (empty without one).
  [[nodiscard]] std::string dumpScreen() const;

 private:
  void post(const char* name);

  ApplicationDelegate* delegate_ = nullptr;
  State state_ = State::kNotRunning;
  Window* keyWindow_ = nullptr;
  std::vector<Window*> windows_;
  std::function<bool(const std::string&)> opener_;
  std::vector<std::string> openedURLs_;
  std::function<void(const std::string&)> announcer_;
  std::vector<std::string> announcements_;
};

}  // namespace lk::ui

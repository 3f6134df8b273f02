#pragma once

#include <functional>

namespace lk {

// The system's network-activity indicator: shown while the client is busy on the network. A
// front end may draw it by installing an observer; tests read its state.
class NetworkActivityIndicator {
 public:
  static void setVisible(bool visible);
  [[nodiscard]] static bool isVisible();
  // Called on every change of visibility; an empty function removes the observer.
  static void setObserver(std::function<void(bool visible)> observer);
};

}  // namespace lk

#pragma once

#include <functional>
#include <memory>

namespace lk {

// Keeps a change handler registered with an Observable; unregisters when destroyed or reset.
// Safe to outlive the observable (it then does nothing).
class Subscription {
 public:
  Subscription() = default;
  explicit Subscription(std::function<void()> unsubscribe) : unsubscribe_(std::move(unsubscribe)) {}
  Subscription(Subscription&& other) noexcept : unsubscribe_(std::move(other.unsubscribe_)) {
    other.unsubscribe_ = nullptr;
  }
  Subscription& operator=(Subscription&& other) noexcept {
    if (this != &other) {
      reset();
      unsubscribe_ = std::move(other.unsubscribe_);
      other.unsubscribe_ = nullptr;
    }
    return *this;
  }
  Subscription(const Subscription&) = delete;
  Subscription& operator=(const Subscription&) = delete;
  ~Subscription() { reset(); }

  void reset() {
    if (unsubscribe_) {
      auto unsubscribe = std::move(unsubscribe_);
      unsubscribe_ = nullptr;
      unsubscribe();
    }
  }
  [[nodiscard]] bool isActive() const { return static_cast<bool>(unsubscribe_); }

 private:
  std::function<void()> unsubscribe_;
};

}  // namespace lk

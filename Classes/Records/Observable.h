#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include "Classes/Records/Subscription.h"

namespace lk {

// A property whose changes are announced to subscribers (drawn cells redraw when a record's
// picture arrives). Setting an equal value announces nothing. Main thread only.
template <typename T>
class Observable {
 public:
  using Handler = std::function<void(const T&)>;

  Observable() = default;
  explicit Observable(T value) : value_(std::move(value)) {}
  Observable(const Observable&) = delete;
  Observable& operator=(const Observable&) = delete;

  [[nodiscard]] const T& get() const { return value_; }
  operator const T&() const { return value_; }  // NOLINT: reads like the plain field

  void set(T value) {
    if (value == value_) return;
    value_ = std::move(value);
    if (!state_) return;  // nobody ever subscribed
    // Handlers may subscribe or unsubscribe while being told; each one present now is told once
    // unless it unsubscribed before its turn.
    const std::vector<std::uint64_t> ids = [this] {
      std::vector<std::uint64_t> v;
      for (const auto& e : state_->entries)
        v.push_back(e.id);
      return v;
    }();
    // A handler may destroy the owner of this property: keep what the loop needs.
    const auto state = state_;
    const T current = value_;
    for (const std::uint64_t id : ids) {
      std::shared_ptr<Handler> handler;
      for (const auto& e : state->entries) {
        if (e.id == id) handler = e.handler;
      }
      if (handler) (*handler)(current);
    }
  }

  [[nodiscard]] Subscription subscribe(Handler handler) {
    if (!state_) state_ = std::make_shared<State>();
    const std::uint64_t id = ++state_->lastId;
    state_->entries.push_back({id, std::make_shared<Handler>(std::move(handler))});
    return Subscription([weak = std::weak_ptr<State>(state_), id] {
      if (const auto state = weak.lock()) {
        std::erase_if(state->entries, [id](const Entry& e) { return e.id == id; });
      }
    });
  }

  [[nodiscard]] std::size_t subscriberCount() const { return state_ ? state_->entries.size() : 0; }

 private:
  struct Entry {
    std::uint64_t id;
    std::shared_ptr<Handler> handler;
  };
  struct State {
    std::vector<Entry> entries;
    std::uint64_t lastId = 0;
  };
  T value_{};
  // Made on the first subscription: most records are never watched.
  std::shared_ptr<State> state_;
};

}  // namespace lk

#pragma once

#include <cassert>
#include <utility>
#include <variant>

#include "Platform/Net/PlatformError.h"

namespace lk {

// A value or the PlatformError that kept it from being made. Errors are values here: nothing
// that crosses the run loop throws.
template <class T>
class [[nodiscard]] Result {
 public:
  Result(T value) : state_(std::in_place_index<0>, std::move(value)) {}  // NOLINT: implicit
  Result(PlatformError error)                                            // NOLINT: implicit
      : state_(std::in_place_index<1>, std::move(error)) {}

  [[nodiscard]] bool ok() const { return state_.index() == 0; }
  explicit operator bool() const { return ok(); }

  [[nodiscard]] T& value() & {
    assert(ok());
    return std::get<0>(state_);
  }
  [[nodiscard]] const T& value() const& {
    assert(ok());
    return std::get<0>(state_);
  }
  [[nodiscard]] T&& value() && {
    assert(ok());
    return std::get<0>(std::move(state_));
  }
  T* operator->() { return &value(); }
  const T* operator->() const { return &value(); }
  T& operator*() & { return value(); }
  const T& operator*() const& { return value(); }

  [[nodiscard]] const PlatformError& error() const {
    assert(!ok());
    return std::get<1>(state_);
  }

 private:
  std::variant<T, PlatformError> state_;
};

}  // namespace lk

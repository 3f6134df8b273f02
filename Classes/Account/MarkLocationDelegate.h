#pragma once

namespace lk {

// Told where the user marked a position on the map page. Every callback is optional.
class MarkLocationDelegate {
 public:
  MarkLocationDelegate() = default;
  MarkLocationDelegate(const MarkLocationDelegate&) = delete;
  MarkLocationDelegate& operator=(const MarkLocationDelegate&) = delete;
  virtual ~MarkLocationDelegate() = default;

  virtual void locationGotSucceed(double /*x*/, double /*y*/) {}
  // The page gave no readable position: nothing changes.
  virtual void locationGotFailed() {}
};

}  // namespace lk

#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>

#include "Platform/Net/PlatformError.h"
#include "Platform/RunLoop/RunLoop.h"

namespace lk {

// A position on the earth in degrees.
struct LocationCoordinate {
  double latitude = 0;
  double longitude = 0;
};

// One position fix as the phone reports it.
struct LocationFix {
  LocationCoordinate coordinate;
  TimePoint timestamp{};
};

// Failures of positioning: the domain and the codes the phone uses.
inline constexpr const char* kLocationErrorDomain = "LKLocationErrorDomain";
namespace LocationError {
// No position for now; the source keeps trying.
inline constexpr int kLocationUnknown = 0;
// The user refused positioning for this application.
inline constexpr int kDenied = 1;
// The network-based part of positioning failed.
inline constexpr int kNetwork = 2;
}  // namespace LocationError

class LocationSource;

// Told of every fix and failure, always on the main run loop and never inside the call that
// started the source. Every callback is optional.
class LocationSourceDelegate {
 public:
  LocationSourceDelegate() = default;
  LocationSourceDelegate(const LocationSourceDelegate&) = delete;
  LocationSourceDelegate& operator=(const LocationSourceDelegate&) = delete;
  virtual ~LocationSourceDelegate() = default;

  // A new fix; `oldLocation` is the one this source reported before, if any.
  virtual void locationManagerDidUpdateToLocation(
      LocationSource& /*manager*/, const LocationFix& /*newLocation*/,
      const std::optional<LocationFix>& /*oldLocation*/) {}
  virtual void locationManagerDidFailWithError(LocationSource& /*manager*/,
                                               const PlatformError& /*error*/) {}
};

// The phone's location manager: start and stop updating, a distance filter, a delegate.
// Every start delivers again (a fix or a failure), as the phone does after a restart. Main
// thread only.
class LocationSource {
 public:
  LocationSource() = default;
  LocationSource(const LocationSource&) = delete;
  LocationSource& operator=(const LocationSource&) = delete;
  virtual ~LocationSource() = default;

  // Not owned: the delegate must outlive the source or be cleared.
  void setDelegate(LocationSourceDelegate* delegate) { delegate_ = delegate; }
  [[nodiscard]] LocationSourceDelegate* delegate() const { return delegate_; }

  // Fixes closer than this (metres) to the previous one of the same run are not reported.
  virtual void setDistanceFilter(double metres) = 0;
  [[nodiscard]] virtual double distanceFilter() const = 0;

  virtual void startUpdatingLocation() = 0;
  virtual void stopUpdatingLocation() = 0;
  [[nodiscard]] virtual bool isUpdating() const = 0;

 private:
  LocationSourceDelegate* delegate_ = nullptr;
};

// A source of the backend this build uses.
[[nodiscard]] std::unique_ptr<LocationSource> makeLocationSource();

// What the scripted backend delivers. Positioning is one device, so this is shared by every
// source of the process: the front ends set it from their options, tests step it by hand.
// Until something is set, every start is refused (code 1), as on a phone whose user never
// allowed positioning.
class LocationScript {
 public:
  // What every start delivers from now on; a source that is updating already delivers it
  // too, as a phone reports a change of situation.
  // Every start delivers this fix.
  static void deliverPosition(LocationCoordinate position);
  // Every start fails with this code (LocationError).
  static void deliverFailure(int code);
  // Nothing ever comes.
  static void staySilent();
  // Back to refusal, with an empty queue.
  static void reset();

  // Events for tests, delivered one by one (each on a later turn of the run loop) to a source
  // while it is updating; a stopped source leaves them queued. They come before what a start
  // delivers.
  static void queueFix(LocationCoordinate position);
  static void queueFailure(int code);
  [[nodiscard]] static std::size_t queuedCount();

  // What a start delivers, in words: "position 39.915000,116.404000", "failure 1" or "silent".
  [[nodiscard]] static std::string describe();
};

// The distance in metres between two positions (great circle on a sphere of the earth's mean
// radius).
[[nodiscard]] double distanceInMetres(LocationCoordinate a, LocationCoordinate b);

}  // namespace lk

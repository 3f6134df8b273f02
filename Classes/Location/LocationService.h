#pragma once

#include <memory>

#include "Classes/ServiceClient/HttpRequestDelegate.h"
#include "Platform/Location/LocationSource.h"
#include "Platform/RunLoop/RunLoop.h"

namespace lk {

class HttpRequest;
class LKLocation;

// Finds where the user is: takes a fix from the location manager, sends it to the service's
// position lookup and keeps the answer as one LKLocation. Screens call startLocation and learn
// the outcome only from kLocationSuccessed and kLocationFailed (LocationNotifications.h).
//
// An attempt: start → the first fix is thrown away (the phone's first fix is often stale) and
// the manager restarted → the second fix is looked up → success or failure. Each waiting step
// has a 15-second time-out that announces failure but keeps waiting, so a late fix may still
// succeed. Main thread only.
class LocationService : private LocationSourceDelegate, private HttpRequestDelegate {
 public:
  static constexpr double kDistanceFilter = 500;  // metres
  static constexpr Duration kLocationTimeout = seconds(15);

  static LocationService& sharedInstance();
  // Tests start from a new service (and a new location manager).
  static void resetSharedInstanceForTesting();

  // Use sharedInstance(); a second instance is reported as a programming error.
  LocationService();
  LocationService(const LocationService&) = delete;
  LocationService& operator=(const LocationService&) = delete;
  ~LocationService() override;

  // Begins an attempt unless one is under way.
  void startLocation();
  // The last resolved position, or null before the first success. Later lookups overwrite the
  // same object.
  [[nodiscard]] const std::shared_ptr<LKLocation>& location() const { return location_; }
  // The time-out step; the service calls it 15 seconds after a start without a fix.
  void updateLocationTimeout();

  [[nodiscard]] bool isLocating() const { return isLocating_; }
  [[nodiscard]] bool hasAbandonOnce() const { return hasAbandonOnce_; }
  [[nodiscard]] const HttpRequest* request() const { return request_.get(); }
  [[nodiscard]] LocationSource& locationManager() const { return *locationManager_; }

  // The lookup for a position (before the engine adds "tn=gz"): longitude first, each narrowed
  // to single precision and written with six decimals.
  [[nodiscard]] static std::string positionURL(double latitude, double longitude);

 private:
  void locationManagerDidUpdateToLocation(LocationSource& manager, const LocationFix& newLocation,
                                          const std::optional<LocationFix>& oldLocation) override;
  void locationManagerDidFailWithError(LocationSource& manager,
                                       const PlatformError& error) override;
  void requestSucceeded(HttpRequest& request) override;
  void requestFailed(HttpRequest& request, const PlatformError& error) override;

  std::unique_ptr<LocationSource> locationManager_;
  std::shared_ptr<LKLocation> location_;
  bool isLocating_ = false;
  std::unique_ptr<HttpRequest> request_;
  bool hasAbandonOnce_ = false;
  ScopedTimer timeoutTimer_;
  // The time-out of the waiting attempt has fired: its failure was announced already.
  bool timedOut_ = false;
  // Tells a latecomer that the attempt it joined has timed out.
  ScopedTimer lateFailure_;
};

}  // namespace lk

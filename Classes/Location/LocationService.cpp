#include "Classes/Location/LocationService.h"

#include <mutex>

#include "Classes/Json/JsonValue.h"
#include "Classes/Location/LKLocation.h"
#include "Classes/Location/LocationNotifications.h"
#include "Classes/ServiceClient/HttpRequest.h"
#include "Classes/ServiceClient/ServiceAnswer.h"
#include "Classes/ServiceClient/ServiceEndpoints.h"
#include "Platform/Log/Log.h"
#include "Platform/Notifications/NotificationCenter.h"

namespace lk {

namespace {

std::recursive_mutex& classLock() {
  static std::recursive_mutex mutex;
  return mutex;
}

LocationService* gInstance = nullptr;
std::unique_ptr<LocationService>& ownedInstance() {
  static std::unique_ptr<LocationService> owned;
  return owned;
}

void postFailed() {
  NotificationCenter::defaultCenter().post(kLocationFailed);
}

std::string describe(const PlatformError& error) {
  return strprintf("Error Domain=%s Code=%d \"%s\"", error.domain.c_str(), error.code,
                   error.description.c_str());
}

}  // namespace

LocationService& LocationService::sharedInstance() {
  std::lock_guard lock(classLock());
  if (gInstance == nullptr) ownedInstance() = std::make_unique<LocationService>();
  return *gInstance;
}

void LocationService::resetSharedInstanceForTesting() {
  std::lock_guard lock(classLock());
  ownedInstance().reset();
}

LocationService::LocationService() : locationManager_(makeLocationSource()) {
  {
    std::lock_guard lock(classLock());
    if (gInstance != nullptr) logLine("Duplicate alloc a singleton class");
    gInstance = this;
  }
  locationManager_->setDelegate(this);
  locationManager_->setDistanceFilter(kDistanceFilter);
}

LocationService::~LocationService() {
  request_.reset();
  locationManager_->setDelegate(nullptr);
  locationManager_->stopUpdatingLocation();
  std::lock_guard lock(classLock());
  if (gInstance == this) gInstance = nullptr;
}

std::string LocationService::positionURL(double latitude, double longitude) {
  return strprintf("%s/user/0/pos?longti=%f&lati=%f", ServiceEndpoints::serviceURL().c_str(),
                   static_cast<double>(static_cast<float>(longitude)),
                   static_cast<double>(static_cast<float>(latitude)));
}

void LocationService::startLocation() {
  assertOnMainThread();
  if (isLocating_) {
    // The attempt under way announced its time-out before this caller came; without a word it
    // would wait for a fix that may never come. Told on the next turn: the caller may not be
    // showing yet. The attempt itself goes on unchanged.
    if (timedOut_ && !lateFailure_.isActive()) lateFailure_.start(Duration::zero(), postFailed);
    return;
  }
  locationManager_->startUpdatingLocation();
  timeoutTimer_.start(kLocationTimeout, [this] { updateLocationTimeout(); });
  timedOut_ = false;
  isLocating_ = true;
}

void LocationService::updateLocationTimeout() {
  // The attempt is not abandoned: a fix that arrives later still counts.
  timedOut_ = true;
  postFailed();
}

void LocationService::locationManagerDidUpdateToLocation(
    LocationSource& /*manager*/, const LocationFix& newLocation,
    const std::optional<LocationFix>& /*oldLocation*/) {
  locationManager_->stopUpdatingLocation();
  timeoutTimer_.cancel();
  // The attempt moves on: a latecomer waits for its outcome instead.
  lateFailure_.cancel();
  const float latitude = static_cast<float>(newLocation.coordinate.latitude);
  const float longitude = static_cast<float>(newLocation.coordinate.longitude);
  if (latitude == 0 && longitude == 0) {
    isLocating_ = false;
    postFailed();
    return;
  }
  if (!hasAbandonOnce_) {
    // The first fix of an attempt is thrown away and the manager asked again.
    isLocating_ = false;
    startLocation();
    hasAbandonOnce_ = true;
    return;
  }
  // Cleared before the request starts: a cached answer arrives inside the start.
  hasAbandonOnce_ = false;
  request_ = std::make_unique<HttpRequest>(static_cast<HttpRequestDelegate*>(this), std::any());
  request_->requestGETWithGZip(positionURL(latitude, longitude));
}

void LocationService::locationManagerDidFailWithError(LocationSource& /*manager*/,
                                                      const PlatformError& error) {
  logf("locationManager didFailWithError%s", describe(error).c_str());
  // "Unknown for now": the manager keeps trying and the time-out still stands, so the attempt
  // ends in a fix or in the time-out's announcement.
  if (error.code == LocationError::kLocationUnknown) return;
  timeoutTimer_.cancel();
  locationManager_->stopUpdatingLocation();
  isLocating_ = false;
  NotificationCenter::defaultCenter().post(Notification{kLocationFailed, error, {}});
}

void LocationService::requestSucceeded(HttpRequest& request) {
  isLocating_ = false;
  const auto answer = readJsonAnswer(request, AnswerEncoding::kCompressed);
  request_.reset();
  if (!answer) {
    if (isAnswerStep(answer.error(), AnswerStep::kParse) ||
        isAnswerStep(answer.error(), AnswerStep::kNotObject)) {
      logf("Request shop info, error:%s", answer.error().description.c_str());
    }
    postFailed();
    return;
  }
  const json::object empty;
  const json::object* point = json::objectMember(*answer, "point");
  const json::object* detail = json::objectMember(*answer, "address_detail");
  if (point == nullptr) point = &empty;
  if (detail == nullptr) detail = &empty;
  std::string x = json::textMember(*point, "x");
  std::string y = json::textMember(*point, "y");
  // Without coordinates there is nothing to search around: the previous location stays.
  if (x.empty() || y.empty()) {
    logLine("Position lookup without coordinates");
    postFailed();
    return;
  }
  if (!location_) location_ = std::make_shared<LKLocation>();
  location_->setAddress(json::textMember(*answer, "address"));
  location_->setX(std::move(x));
  location_->setY(std::move(y));
  location_->setCityId(json::intMember(*detail, "city_code"));
  location_->setCityName(json::textMember(*detail, "city"));
  location_->setArea(json::textMember(*detail, "district"));
  NotificationCenter::defaultCenter().post(kLocationSuccessed);
}

void LocationService::requestFailed(HttpRequest& /*request*/, const PlatformError& /*error*/) {
  isLocating_ = false;
  request_.reset();
  postFailed();
}

}  // namespace lk

// The scripted backend: what a start delivers comes from LocationScript (a fixed position, a
// failure code or silence), and tests may queue fixes and failures to be delivered one by one.
#include <algorithm>
#include <deque>
#include <variant>
#include <vector>

#include "Platform/Location/LocationSource.h"
#include "Platform/Log/Log.h"

namespace lk {

namespace {

struct Silence {};
struct Failure {
  int code = LocationError::kDenied;
};
using Event = std::variant<Silence, LocationCoordinate, Failure>;

class LocationSourceScripted;

// Set when the shared state is gone at exit; plain data, so still readable by sources that a
// singleton destroys later.
bool stateDestroyed = false;

// Shared by every source of the process. Main thread only.
struct ScriptState {
  ScriptState() = default;
  ScriptState(const ScriptState&) = delete;
  ScriptState& operator=(const ScriptState&) = delete;
  ~ScriptState() { stateDestroyed = true; }

  Event onStart = Failure{LocationError::kDenied};
  std::deque<Event> queue;
  std::vector<LocationSourceScripted*> sources;
};

ScriptState& state() {
  static ScriptState s;
  return s;
}

PlatformError errorFor(int code) {
  const char* what = code == LocationError::kLocationUnknown ? "position unknown"
                     : code == LocationError::kDenied        ? "positioning refused"
                                                             : "positioning failed";
  return PlatformError{kLocationErrorDomain, code, what};
}

class LocationSourceScripted final : public LocationSource {
 public:
  LocationSourceScripted() { state().sources.push_back(this); }
  ~LocationSourceScripted() override {
    if (!stateDestroyed) std::erase(state().sources, this);
  }

  void setDistanceFilter(double metres) override { distanceFilter_ = metres; }
  [[nodiscard]] double distanceFilter() const override { return distanceFilter_; }

  void startUpdatingLocation() override {
    assertOnMainThread();
    updating_ = true;
    owesStartEvent_ = true;
    lastOfRun_.reset();
    scheduleDelivery();
  }

  void stopUpdatingLocation() override {
    updating_ = false;
    owesStartEvent_ = false;
    delivery_.cancel();
  }

  [[nodiscard]] bool isUpdating() const override { return updating_; }

  // Something was queued: an updating source delivers it soon.
  void queueChanged() {
    if (updating_) scheduleDelivery();
  }

  // The situation changed (a fix became possible, positioning was refused...): an updating
  // source reports it as it would after a start.
  void scriptChanged() {
    if (!updating_) return;
    owesStartEvent_ = true;
    scheduleDelivery();
  }

 private:
  void scheduleDelivery() {
    if (!delivery_.isActive()) delivery_.start(Duration::zero(), [this] { deliverNext(); });
  }

  void deliverNext() {
    if (!updating_) return;
    Event event = Silence{};
    auto& queue = state().queue;
    if (!queue.empty()) {
      event = queue.front();
      queue.pop_front();
    } else if (owesStartEvent_) {
      event = state().onStart;
      owesStartEvent_ = false;
    }
    // One event per turn: the next is due on a later turn, after the delegate has reacted.
    if (!queue.empty() || owesStartEvent_) scheduleDelivery();
    deliver(event);
  }

  // The delegate may stop this source or destroy its owner: nothing of the source is used after.
  void deliver(const Event& event) {
    LocationSourceDelegate* d = delegate();
    if (const auto* position = std::get_if<LocationCoordinate>(&event)) {
      if (lastOfRun_ && distanceInMetres(*lastOfRun_, *position) < distanceFilter_) return;
      const LocationFix fix{*position, RunLoop::main().now()};
      const std::optional<LocationFix> old = previous_;
      previous_ = fix;
      lastOfRun_ = *position;
      if (d != nullptr) d->locationManagerDidUpdateToLocation(*this, fix, old);
    } else if (const auto* failure = std::get_if<Failure>(&event)) {
      if (d != nullptr) d->locationManagerDidFailWithError(*this, errorFor(failure->code));
    }
  }

  double distanceFilter_ = 0;
  bool updating_ = false;
  bool owesStartEvent_ = false;
  std::optional<LocationFix> previous_;
  std::optional<LocationCoordinate> lastOfRun_;
  ScopedTimer delivery_;
};

void setOnStart(Event event) {
  state().onStart = event;
  const auto sources = state().sources;
  for (auto* source : sources)
    source->scriptChanged();
}

void queueEvent(Event event) {
  state().queue.push_back(event);
  // A copy: a delivery may not run inside this call, but keep the loop safe from changes.
  const auto sources = state().sources;
  for (auto* source : sources)
    source->queueChanged();
}

}  // namespace

std::unique_ptr<LocationSource> makeLocationSource() {
  return std::make_unique<LocationSourceScripted>();
}

void LocationScript::deliverPosition(LocationCoordinate position) {
  setOnStart(position);
}

void LocationScript::deliverFailure(int code) {
  setOnStart(Failure{code});
}

void LocationScript::staySilent() {
  setOnStart(Silence{});
}

void LocationScript::reset() {
  state().onStart = Failure{LocationError::kDenied};
  state().queue.clear();
}

void LocationScript::queueFix(LocationCoordinate position) {
  queueEvent(position);
}

void LocationScript::queueFailure(int code) {
  queueEvent(Failure{code});
}

std::size_t LocationScript::queuedCount() {
  return state().queue.size();
}

std::string LocationScript::describe() {
  const Event& event = state().onStart;
  if (const auto* position = std::get_if<LocationCoordinate>(&event)) {
    return strprintf("position %f,%f", position->latitude, position->longitude);
  }
  if (const auto* failure = std::get_if<Failure>(&event)) {
    return strprintf("failure %d", failure->code);
  }
  return "silent";
}

}  // namespace lk

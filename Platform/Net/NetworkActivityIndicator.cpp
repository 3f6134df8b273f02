#include "Platform/Net/NetworkActivityIndicator.h"

#include <utility>

namespace lk {
namespace {

struct IndicatorState {
  bool visible = false;
  std::function<void(bool)> observer;
};

IndicatorState& state() {
  static IndicatorState s;
  return s;
}

}  // namespace

void NetworkActivityIndicator::setVisible(bool visible) {
  auto& s = state();
  if (s.visible == visible) return;
  s.visible = visible;
  if (s.observer) s.observer(visible);
}

bool NetworkActivityIndicator::isVisible() {
  return state().visible;
}

void NetworkActivityIndicator::setObserver(std::function<void(bool)> observer) {
  state().observer = std::move(observer);
}

}  // namespace lk

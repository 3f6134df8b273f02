#include "Platform/Notifications/NotificationCenter.h"

#include <algorithm>

#include "Platform/RunLoop/RunLoop.h"

namespace lk {

ObserverToken::ObserverToken(ObserverToken&& other) noexcept
    : center_(std::move(other.center_)), id_(other.id_) {
  other.id_ = 0;
}

ObserverToken& ObserverToken::operator=(ObserverToken&& other) noexcept {
  if (this != &other) {
    reset();
    center_ = std::move(other.center_);
    id_ = other.id_;
    other.id_ = 0;
  }
  return *this;
}

void ObserverToken::reset() {
  if (id_ == 0) return;
  if (auto center = center_.lock()) (*center)->remove(id_);
  id_ = 0;
  center_.reset();
}

NotificationCenter::NotificationCenter() : self_(std::make_shared<NotificationCenter*>(this)) {}

NotificationCenter::~NotificationCenter() = default;

NotificationCenter& NotificationCenter::defaultCenter() {
  static NotificationCenter center;
  return center;
}

ObserverToken NotificationCenter::addObserver(const std::string& name, Handler handler) {
  assertOnMainThread();
  const auto id = ++lastId_;
  entries_.push_back(Entry{id, name, std::make_shared<Handler>(std::move(handler))});
  return ObserverToken(self_, id);
}

void NotificationCenter::post(const Notification& notification) {
  assertOnMainThread();
  // Observers may register or unregister while we deliver: walk a snapshot of the ids and skip
  // the ones removed meanwhile. Observers added during delivery hear the next post only.
  std::vector<std::pair<std::uint64_t, std::shared_ptr<Handler>>> targets;
  for (const auto& e : entries_) {
    if (e.name == notification.name) targets.emplace_back(e.id, e.handler);
  }
  for (const auto& [id, handler] : targets) {
    const bool stillThere = std::any_of(entries_.begin(), entries_.end(),
                                        [id = id](const Entry& e) { return e.id == id; });
    if (stillThere) (*handler)(notification);
  }
}

std::size_t NotificationCenter::observerCount(const std::string& name) const {
  return static_cast<std::size_t>(std::count_if(entries_.begin(), entries_.end(),
                                                [&](const Entry& e) { return e.name == name; }));
}

void NotificationCenter::remove(std::uint64_t id) {
  std::erase_if(entries_, [id](const Entry& e) { return e.id == id; });
}

}  // namespace lk

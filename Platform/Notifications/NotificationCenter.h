#pragma once

#include <any>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace lk {

// Named events between screens. The object is whatever the poster passes (often the sender);
// user info maps keys to values of the poster's choosing.
struct Notification {
  std::string name;
  std::any object;
  std::map<std::string, std::any> userInfo;

  // The user-info value under `key` as T, or nullptr when absent or of another type.
  template <typename T>
  const T* info(const std::string& key) const {
    auto it = userInfo.find(key);
    return it == userInfo.end() ? nullptr : std::any_cast<T>(&it->second);
  }
};

class NotificationCenter;

// Keeps an observer registered; unregisters when destroyed or reset.
class ObserverToken {
 public:
  ObserverToken() = default;
  ObserverToken(ObserverToken&& other) noexcept;
  ObserverToken& operator=(ObserverToken&& other) noexcept;
  ObserverToken(const ObserverToken&) = delete;
  ObserverToken& operator=(const ObserverToken&) = delete;
  ~ObserverToken() { reset(); }

  void reset();
  [[nodiscard]] bool isRegistered() const { return id_ != 0; }

 private:
  friend class NotificationCenter;
  ObserverToken(std::weak_ptr<NotificationCenter*> center, std::uint64_t id)
      : center_(std::move(center)), id_(id) {}
  std::weak_ptr<NotificationCenter*> center_;
  std::uint64_t id_ = 0;
};

// Delivery is synchronous, on the main thread, in registration order.
class NotificationCenter {
 public:
  using Handler = std::function<void(const Notification&)>;

  NotificationCenter();
  NotificationCenter(const NotificationCenter&) = delete;
  NotificationCenter& operator=(const NotificationCenter&) = delete;
  ~NotificationCenter();

  static NotificationCenter& defaultCenter();

  [[nodiscard]] ObserverToken addObserver(const std::string& name, Handler handler);
  void post(const Notification& notification);
  void post(const std::string& name) { post(Notification{name, {}, {}}); }

  [[nodiscard]] std::size_t observerCount(const std::string& name) const;

 private:
  friend class ObserverToken;
  void remove(std::uint64_t id);

  struct Entry {
    std::uint64_t id;
    std::string name;
    std::shared_ptr<Handler> handler;
  };
  std::vector<Entry> entries_;
  std::uint64_t lastId_ = 0;
  std::shared_ptr<NotificationCenter*> self_;
};

}  // namespace lk

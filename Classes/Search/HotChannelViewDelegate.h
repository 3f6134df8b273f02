#pragma once

#include <memory>

namespace lk {

class Channel;

// Told of a tap on a category button of the panel. Every callback is optional.
class HotChannelViewDelegate {
 public:
  HotChannelViewDelegate() = default;
  HotChannelViewDelegate(const HotChannelViewDelegate&) = delete;
  HotChannelViewDelegate& operator=(const HotChannelViewDelegate&) = delete;
  virtual ~HotChannelViewDelegate() = default;

  virtual void goChannelSearch(const std::shared_ptr<Channel>& /*channel*/) {}
};

}  // namespace lk

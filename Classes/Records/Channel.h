#pragma once

#include <memory>
#include <string>
#include <vector>

#include "Classes/Records/LKObject.h"

namespace lk {

// A shop category.
class Channel : public LKObject {
 public:
  using LKObject::LKObject;

  // The first row of every category filter: id 0, "全部分类".
  [[nodiscard]] static std::shared_ptr<Channel> allChannel();

  // The eight main categories, in their fixed order (美食 20001 ... 酒店 20007, 便民 -1).
  [[nodiscard]] static std::vector<std::shared_ptr<Channel>> mainChannelList();

  // The main categories named in `names`, in the service's order, with every convenience-type
  // name folded into one trailing 便民 (-1). Other names are dropped.
  [[nodiscard]] static std::vector<std::shared_ptr<Channel>> getHotChannel(
      const std::vector<std::string>& names);

  static constexpr int kAllChannelId = 0;
  static constexpr int kConvenienceId = -1;
};

}  // namespace lk

#include "Classes/Records/Channel.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace lk {

namespace {

struct MainChannel {
  int id;
  std::string_view name;
};

constexpr std::array<MainChannel, 8> kMainChannels{{
    {20001, "美食"},
    {20002, "购物"},
    {20003, "休闲娱乐"},
    {20004, "丽人"},
    {20005, "健身"},
    {20006, "旅游"},
    {20007, "酒店"},
    {Channel::kConvenienceId, "便民"},
}};

// Service categories that the client shows together as 便民.
constexpr std::array<std::string_view, 6> kConvenienceNames{
    "教育培训", "医疗服务", "金融银行", "专业机构", "生活便利", "交通出行",
};

std::shared_ptr<Channel> make(const MainChannel& c) {
  return std::make_shared<Channel>(c.id, std::string(c.name));
}

}  // namespace

std::shared_ptr<Channel> Channel::allChannel() {
  return std::make_shared<Channel>(kAllChannelId, "全部分类");
}

std::vector<std::shared_ptr<Channel>> Channel::mainChannelList() {
  std::vector<std::shared_ptr<Channel>> list;
  list.reserve(kMainChannels.size());
  for (const auto& c : kMainChannels)
    list.push_back(make(c));
  return list;
}

std::vector<std::shared_ptr<Channel>> Channel::getHotChannel(
    const std::vector<std::string>& names) {
  std::vector<std::shared_ptr<Channel>> result;
  bool convenience = false;
  for (const auto& name : names) {
    for (const auto& c : kMainChannels) {
      if (c.name == name) result.push_back(make(c));
    }
    if (std::find(kConvenienceNames.begin(), kConvenienceNames.end(), name) !=
        kConvenienceNames.end()) {
      convenience = true;
    }
  }
  if (convenience) result.push_back(std::make_shared<Channel>(kConvenienceId, "便民"));
  return result;
}

}  // namespace lk

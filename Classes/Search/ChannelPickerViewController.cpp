#include "Classes/Search/ChannelPickerViewController.h"

#include "Classes/Records/DirectoryDecoder.h"
#include "Classes/ServiceClient/ServiceEndpoints.h"
#include "Platform/Log/Log.h"
#include "Platform/UI/NavigationController.h"

namespace lk {

ChannelPickerViewController::ChannelPickerViewController(int cityId) : cityId_(cityId) {}

std::vector<LKPickerViewController::Section> ChannelPickerViewController::sections() const {
  return {{{}, {channelList.begin(), channelList.end()}, {}, cityId_ != kSubLevel}};
}

void ChannelPickerViewController::_loadDataSource() {
  if (cityId_ == kSubLevel) {
    _dataSourceReady();
    return;
  }
  startRequest(strprintf("%s/index/%d/catmore", ServiceEndpoints::serviceURL().c_str(), cityId_));
}

void ChannelPickerViewController::decodeAnswer(const boost::json::value& answer) {
  channelList = DirectoryDecoder::decodeChannelTree(answer);
  subChannelList.clear();
  for (const auto& main : channelList) {
    std::vector<std::shared_ptr<Channel>> subs;
    for (const auto& child : main->children()) {
      if (auto channel = std::dynamic_pointer_cast<Channel>(child)) subs.push_back(channel);
    }
    subChannelList[strprintf("%d", main->id())] = std::move(subs);
  }
}

void ChannelPickerViewController::didChoose(const Section& /*section*/,
                                            const std::shared_ptr<LKObject>& row) {
  if (cityId_ == kSubLevel) {
    pick(row);
    return;
  }
  auto sub = std::make_shared<ChannelPickerViewController>(kSubLevel);
  const auto found = subChannelList.find(strprintf("%d", row->id()));
  if (found != subChannelList.end()) sub->channelList = found->second;
  sub->delegate = delegate;
  sub->hasTabbar = true;
  if (auto* stack = navigationController()) stack->pushViewController(sub, true);
}

}  // namespace lk

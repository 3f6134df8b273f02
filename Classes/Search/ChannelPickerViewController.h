#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "Classes/Records/Channel.h"
#include "Classes/Search/LKPickerViewController.h"

namespace lk {

// The categories of a city (top level, which asks the service) or the sub-categories of one
// main category (sub level: cityId -1, list given, no request).
class ChannelPickerViewController : public LKPickerViewController {
 public:
  static constexpr const char* kTitle = "选择分类";
  static constexpr int kSubLevel = -1;

  explicit ChannelPickerViewController(int cityId = kSubLevel);

  std::vector<std::shared_ptr<Channel>> channelList;
  std::map<std::string, std::vector<std::shared_ptr<Channel>>> subChannelList;
  [[nodiscard]] int cityId() const { return cityId_; }

  [[nodiscard]] std::vector<Section> sections() const override;

 protected:
  [[nodiscard]] std::string defaultTitle() const override { return kTitle; }
  void _loadDataSource() override;
  void decodeAnswer(const boost::json::value& answer) override;
  void didChoose(const Section& section, const std::shared_ptr<LKObject>& row) override;

 private:
  int cityId_;
};

}  // namespace lk

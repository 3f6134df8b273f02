#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "Classes/Records/Area.h"
#include "Classes/Records/Channel.h"
#include "Classes/ServiceClient/HttpRequestDelegate.h"
#include "Classes/Toolkit/LKTableViewController.h"
#include "Platform/UI/SegmentedControl.h"

namespace lk {

class HttpRequest;

// All categories or all districts (with their business circles) of the current city; each
// entry opens a search.
class MainObjectViewController : public LKTableViewController, public HttpRequestDelegate {
 public:
  static constexpr int kChannelType = 0;
  static constexpr int kAreaType = 1;
  static constexpr const char* kChannelSegment = "所有分类";
  static constexpr const char* kAreaSegment = "所有区域";
  // Request tags.
  static constexpr int kAreaRequest = 0;
  static constexpr int kChannelRequest = 1;

  MainObjectViewController();
  ~MainObjectViewController() override;

  int type = kChannelType;
  std::vector<std::shared_ptr<Area>> areaList;
  std::map<std::string, std::vector<std::shared_ptr<Area>>> subAreaList;
  std::vector<std::shared_ptr<Channel>> channelList;

  [[nodiscard]] const std::shared_ptr<ui::SegmentedControl>& segmentedControl() const {
    return segmentedControl_;
  }
  [[nodiscard]] const HttpRequest* areaRequest() const { return areaRequest_.get(); }
  [[nodiscard]] const HttpRequest* channelRequest() const { return channelRequest_.get(); }
  [[nodiscard]] int selectedType() const;

  void switchSelect();
  void loadData();
  void requestArea();
  void requestChannel();

  void loadView() override;
  void viewDidLoad() override;

  int tableViewNumberOfRowsInSection(ui::TableView& tableView, int section) override;
  std::shared_ptr<ui::TableViewCell> tableViewCellForRowAtIndexPath(ui::TableView& tableView,
                                                                    ui::IndexPath ip) override;
  void tableViewDidSelectRowAtIndexPath(ui::TableView& tableView, ui::IndexPath ip) override;

  void requestSucceeded(HttpRequest& request) override;
  void requestFailed(HttpRequest& request, const PlatformError& error) override;

 private:
  std::shared_ptr<ui::SegmentedControl> segmentedControl_;
  std::unique_ptr<HttpRequest> areaRequest_;
  std::unique_ptr<HttpRequest> channelRequest_;
};

}  // namespace lk

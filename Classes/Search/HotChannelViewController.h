#pragma once

#include <memory>
#include <optional>
#include <vector>

#include "Classes/Records/Area.h"
#include "Classes/Records/Channel.h"
#include "Classes/Search/HotChannelView.h"
#include "Classes/Search/HotChannelViewDelegate.h"
#include "Classes/Search/LKPickerDelegate.h"
#include "Classes/ServiceClient/HttpRequestDelegate.h"
#include "Classes/Toolkit/LKSearchBar.h"
#include "Classes/Toolkit/LKSearchBarDelegate.h"
#include "Classes/Toolkit/LKTableViewController.h"
#include "Platform/Notifications/NotificationCenter.h"
#include "Platform/UI/AlertViewDelegate.h"

namespace lk {

class HttpRequest;

namespace ui {
class AlertView;
}

// The home of the "搜索" tab: a search field, the category panel, the hot districts of the
// current city, the city switcher and the offer to switch to the located city.
class HotChannelViewController : public LKTableViewController,
                                 public HttpRequestDelegate,
                                 public LKSearchBarDelegate,
                                 public HotChannelViewDelegate,
                                 public LKPickerDelegate,
                                 public ui::AlertViewDelegate {
 public:
  static constexpr const char* kPlaceholder = "商户名, 商圈等";
  static constexpr const char* kHotAreaSection = "热门区域";
  static constexpr const char* kAllAreaRow = "全部区域";
  static constexpr const char* kSwitchCityTitle = "切换城市";
  static constexpr const char* kNewUserKey = "kNewUser";
  static constexpr const char* kTitleImage = "navigationbar_title";
  static constexpr const char* kNoThanks = "不，谢谢";
  static constexpr const char* kAgree = "好的";
  static constexpr const char* kFailedTitle = "定位失败";
  static constexpr const char* kRefusedMessage = "请确认是否开启定位服务";
  static constexpr const char* kOkTitle = "确定";
  static constexpr const char* kHelpTitle = "帮助";
  static constexpr int kMaxAreaRows = 7;
  // Request tags.
  static constexpr int kHotAreaRequest = 0;
  static constexpr int kHotChannelRequest = 1;

  HotChannelViewController();
  ~HotChannelViewController() override;

  [[nodiscard]] const std::shared_ptr<LKSearchBar>& searchBar() const { return searchBar_; }
  [[nodiscard]] const std::shared_ptr<HotChannelView>& header() const { return header_; }
  std::vector<std::shared_ptr<Area>> areaList;
  std::vector<std::shared_ptr<Channel>> channelList;
  [[nodiscard]] const HttpRequest* channelRequest() const { return channelRequest_.get(); }
  [[nodiscard]] const HttpRequest* areaRequest() const { return areaRequest_.get(); }
  [[nodiscard]] const std::shared_ptr<Area>& city() const { return city_; }
  [[nodiscard]] bool areaResultGot() const { return areaResultGot_; }
  [[nodiscard]] bool alreadyPromptCityChanged() const { return alreadyPromptCityChanged_; }
  // The rows of the hot district list, as they read.
  [[nodiscard]] std::vector<std::string> areaRows() const;
  // Visible: on top of the selected tab with nothing presented over it.
  [[nodiscard]] bool isFrontScreen() const;

  void cityCheck();
  void hotAreaCheck();
  void requestHotChannel();
  void requestHotArea();
  void switchCity();
  // The search field: editing (or its history button) opens the search entry.
  void openSearchEntry(bool showHistory);

  void goChannelSearch(const std::shared_ptr<Channel>& channel) override;
  void pickerControllerPickData(LKPickerViewController& picker,
                                const std::shared_ptr<LKObject>& data) override;
  void pickerControllerCancelled(LKPickerViewController& picker) override;
  void searchBarDidBeginEditing(LKSearchBar& bar) override;
  void showHistory(LKSearchBar& bar) override;
  void alertViewClickedButtonAtIndex(ui::AlertView& alert, int index) override;

  void loadView() override;
  void viewDidLoad() override;
  void viewWillAppear(bool animated) override;

  int numberOfSectionsInTableView(ui::TableView& tableView) override;
  int tableViewNumberOfRowsInSection(ui::TableView& tableView, int section) override;
  std::shared_ptr<ui::TableViewCell> tableViewCellForRowAtIndexPath(ui::TableView& tableView,
                                                                    ui::IndexPath ip) override;
  std::optional<std::string> tableViewTitleForHeaderInSection(ui::TableView& tableView,
                                                              int section) override;
  void tableViewDidSelectRowAtIndexPath(ui::TableView& tableView, ui::IndexPath ip) override;

  void requestSucceeded(HttpRequest& request) override;
  void requestFailed(HttpRequest& request, const PlatformError& error) override;

 protected:
  virtual void openHelp();

 private:
  void updateCityButton();
  void showHeader(std::vector<std::shared_ptr<Channel>> items);
  void hotChannelAnswered(HttpRequest& request);
  void hotAreaAnswered(HttpRequest& request);
  void locationSuccessed();
  void locationFailed(const Notification& notification);
  void redraw();

  std::shared_ptr<LKSearchBar> searchBar_;
  std::shared_ptr<HotChannelView> header_;
  std::unique_ptr<HttpRequest> channelRequest_;
  std::unique_ptr<HttpRequest> areaRequest_;
  std::shared_ptr<Area> city_;
  bool areaResultGot_ = false;
  bool alreadyPromptCityChanged_ = false;
  std::optional<Area> promptedCity_;
  std::shared_ptr<ui::AlertView> promptAlert_;
  std::shared_ptr<ui::AlertView> refusalAlert_;
  std::vector<ObserverToken> observers_;
};

}  // namespace lk

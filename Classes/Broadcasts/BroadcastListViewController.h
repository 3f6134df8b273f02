#pragma once

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Classes/ServiceClient/HttpRequestDelegate.h"
#include "Classes/Toolkit/LKRefreshTableHeaderDelegate.h"
#include "Classes/Toolkit/LKRefreshTableHeaderView.h"
#include "Classes/Toolkit/LKTableViewController.h"
#include "Classes/Toolkit/TabRootScreen.h"
#include "Platform/Notifications/NotificationCenter.h"
#include "Platform/RunLoop/RunLoop.h"

namespace lk {

class Broadcast;
class HttpRequest;
class ShopInfo;
struct PlatformError;

// Broadcasts, newest first, 15 a page, with pull-down refresh and pull-up paging: the current
// city's (the "现场播报" tab), one shop's, or the logged-in user's own.
class BroadcastListViewController : public LKTableViewController,
                                    public HttpRequestDelegate,
                                    public TabRootScreen,
                                    public LKRefreshTableHeaderDelegate {
 public:
  static constexpr int kPageSize = 15;
  static constexpr const char* kTitle = "现场播报";
  static constexpr const char* kComposeTitle = "发布播报";
  static constexpr const char* kPlacePrompt = "%s目前没有现场播报, 赶快抢发第一条吧";
  static constexpr const char* kOwnPrompt = "赶快发布你的第一条现场播报吧";

  enum class Source { kCity, kShop, kOwn };

  // The current city's list; rows show their shop's name.
  BroadcastListViewController();
  ~BroadcastListViewController() override;

  [[nodiscard]] static std::shared_ptr<BroadcastListViewController>
  initBroadcastListControllerWithShop(std::shared_ptr<ShopInfo> shop);
  // The own list. The session given marks the source; each request reads the current one, as
  // logging in again at activation replaces it.
  [[nodiscard]] static std::shared_ptr<BroadcastListViewController>
  initBroadcastListControllerWithSSID(std::string ssid);

  [[nodiscard]] Source source() const;
  [[nodiscard]] const std::vector<std::shared_ptr<Broadcast>>& broadcastList() const {
    return broadcastList_;
  }
  [[nodiscard]] int currentPage() const { return currentPage_; }
  [[nodiscard]] const HttpRequest* request() const { return request_.get(); }
  [[nodiscard]] bool isRefreshing() const { return isRefreshing_; }
  [[nodiscard]] const std::shared_ptr<LKRefreshTableHeaderView>& refreshHeaderView() const {
    return refreshHeaderView_;
  }
  bool showShopName = false;
  bool hasTabbar = false;
  void setHasTabbar(bool value) override { hasTabbar = value; }

  // The address of page `currentPage` (before the engine adds "tn=gz"), or nothing when the
  // source lacks what it needs (a city, a shop id, a session).
  [[nodiscard]] std::optional<std::string> broadcastListURL() const;
  // The empty list's prompt for this source.
  [[nodiscard]] std::string nodataPrompt() const;

  void refresh();
  void requestBroadcastList();
  void startLoadingData() override;
  void cityChanged();
  void broadcast();
  void viewShopInfo(std::shared_ptr<ShopInfo> shop);
  void goShopInfo(const Notification& notification);
  void goImageView(const Notification& notification);

  // Life cycle.
  void loadView() override;
  void initTableView() override;
  void viewDidLoad() override;
  void viewDidUnload() override;

  // The list.
  int tableViewNumberOfRowsInSection(ui::TableView& tableView, int section) override;
  std::shared_ptr<ui::TableViewCell> tableViewCellForRowAtIndexPath(ui::TableView& tableView,
                                                                    ui::IndexPath ip) override;
  std::optional<double> tableViewHeightForRowAtIndexPath(ui::TableView& tableView,
                                                         ui::IndexPath ip) override;
  void tableViewDidSelectRowAtIndexPath(ui::TableView& tableView, ui::IndexPath ip) override;
  void scrollViewDidScroll(ui::ScrollView& scrollView) override;
  void scrollViewDidEndDragging(ui::ScrollView& scrollView, bool decelerate) override;

  // The pull-down header.
  void refreshTableHeaderDidTriggerRefresh(LKRefreshTableHeaderView& view) override;
  bool refreshTableHeaderDataSourceIsLoading(LKRefreshTableHeaderView& view) override;
  std::optional<std::chrono::system_clock::time_point> refreshTableHeaderDataSourceLastUpdated(
      LKRefreshTableHeaderView& view) override;

  // The answers.
  void requestSucceeded(HttpRequest& request) override;
  void requestFailed(HttpRequest& request, const PlatformError& error) override;

 protected:
  // Opening other screens; tests replace them.
  virtual void presentCompose();
  virtual void presentShopPicker();

 private:
  // Reads a page; returns whether it was a 200 answer that decoded.
  bool readPage(HttpRequest& request);
  void finishRefreshingData();
  void endFirstPage();
  void updateNodata(bool decoded);
  void observeNotifications();

  std::shared_ptr<ShopInfo> shopInfo_;
  std::optional<std::string> ssid_;
  std::vector<std::shared_ptr<Broadcast>> broadcastList_;
  std::unique_ptr<HttpRequest> request_;
  int currentPage_ = 0;
  bool isRefreshing_ = false;
  std::shared_ptr<LKRefreshTableHeaderView> refreshHeaderView_;
  std::vector<ObserverToken> observers_;
  ScopedTimer refreshTimer_;
  ScopedTimer loadMoreTimer_;
};

}  // namespace lk

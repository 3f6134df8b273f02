#pragma once

#include <memory>
#include <string>
#include <vector>

#include "Classes/ServiceClient/HttpRequestDelegate.h"
#include "Classes/Toolkit/LKTableViewController.h"
#include "Classes/Toolkit/TabRootScreen.h"
#include "Platform/Notifications/NotificationCenter.h"

namespace lk {

class Home;
class HomeTableViewHeader;
class HttpRequest;

// The "个人中心" tab: the login screen covers it while nobody is logged in; once logged in it
// shows the profile header and the rows of the user's own broadcasts, the recently viewed shops
// and the want and been lists, and, while the tab bar has no "更多" tab, a "更多" bar button.
class HomeViewController : public LKTableViewController,
                           public TabRootScreen,
                           private HttpRequestDelegate {
 public:
  // Request tags.
  static constexpr int kProfileRequest = 0;
  static constexpr int kLatestBroadcastRequest = 1;
  static constexpr const char* kFontName = "STHeitiSC-Medium";
  static constexpr const char* kMoreTitle = "更多";
  enum Row { kOwnBroadcastsRow, kBrowseHistoryRow, kWantRow, kBeenRow, kRowCount };

  HomeViewController();
  ~HomeViewController() override;

  [[nodiscard]] bool needsMore() const { return needsMore_; }
  void setNeedsMore(bool needsMore) override { needsMore_ = needsMore; }
  [[nodiscard]] const std::shared_ptr<Home>& home() const { return home_; }
  [[nodiscard]] const std::shared_ptr<HomeTableViewHeader>& header() const { return header_; }
  [[nodiscard]] const HttpRequest* profileRequest() const { return homeRequest_.get(); }
  [[nodiscard]] const HttpRequest* bcRequest() const { return bcRequest_.get(); }

  // The profile, then the latest broadcast (nothing without a session or a user id).
  void homeRequest();
  void broadcastRequest();
  // The "更多" bar button.
  void more();

  // Notifications.
  void loginSucceed();
  void logoutSucceed();
  void broadcastComposed();

  // Life cycle.
  void viewDidLoad() override;
  void viewDidUnload() override;
  void viewWillAppear(bool animated) override;
  void initTableView() override;

  // The rows.
  int numberOfSectionsInTableView(ui::TableView& tableView) override;
  int tableViewNumberOfRowsInSection(ui::TableView& tableView, int section) override;
  std::shared_ptr<ui::TableViewCell> tableViewCellForRowAtIndexPath(ui::TableView& tableView,
                                                                    ui::IndexPath ip) override;
  void tableViewDidSelectRowAtIndexPath(ui::TableView& tableView, ui::IndexPath ip) override;
  // What a row reads with the current profile.
  [[nodiscard]] std::string rowTitle(int row) const;

 protected:
  // The screens the rows and the bar button open, on this tab's stack.
  virtual void openOwnBroadcasts();
  virtual void openBrowseHistory();
  // type: WantBeenViewController::kWantType or kBeenType.
  virtual void openWantBeen(int type);
  virtual void openMore();

 private:
  void requestSucceeded(HttpRequest& request) override;
  void requestFailed(HttpRequest& request, const PlatformError& error) override;
  void profileAnswered(HttpRequest& request);
  void latestBroadcastAnswered(HttpRequest& request);
  // Puts the login screen's view over this screen, or takes it away.
  void coverWithLogin();
  void removeLoginCover();

  bool needsMore_ = false;
  std::shared_ptr<Home> home_;
  std::unique_ptr<HttpRequest> homeRequest_;
  std::unique_ptr<HttpRequest> bcRequest_;
  std::shared_ptr<HomeTableViewHeader> header_;
  std::vector<ObserverToken> observers_;
};

}  // namespace lk

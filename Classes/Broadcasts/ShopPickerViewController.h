#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <boost/json/object.hpp>

#include "Classes/Account/LoginViewControllerDelegate.h"
#include "Classes/ServiceClient/HttpRequestDelegate.h"
#include "Classes/Toolkit/LKSearchBarDelegate.h"
#include "Classes/Toolkit/LKTableViewController.h"
#include "Platform/Notifications/NotificationCenter.h"

namespace lk {

class HttpRequest;
class LKLocation;
class LKSearchBar;
class ShopInfo;
struct PlatformError;

// "您要播报哪家店？": the shops near the user, nearest first, or those found by name; choosing one
// opens the editor for it. The root of the composing stack when the shop is not known yet.
class ShopPickerViewController : public LKTableViewController,
                                 public LKSearchBarDelegate,
                                 public LoginViewControllerDelegate,
                                 private HttpRequestDelegate {
 public:
  static constexpr int kPageSize = 15;
  static constexpr double kNearbyRadius = 1.5;  // kilometres, "sd"
  static constexpr double kSearchBarHeight = 44;
  static constexpr const char* kTitle = "您要播报哪家店？";
  static constexpr const char* kPlaceholder = "商户名等";
  static constexpr const char* kCancelTitle = "取消";
  static constexpr const char* kNearbyPrompt = "您附近目前没有商户信息";
  static constexpr const char* kNamedPrompt = "在您附近没有找到与“%s”相关的商户";
  static constexpr const char* kLocationFailedTitle = "定位失败";
  static constexpr const char* kLocationFailedMessage = "无法获取附近商户";

  ShopPickerViewController();
  ~ShopPickerViewController() override;

  [[nodiscard]] const std::vector<std::shared_ptr<ShopInfo>>& shopList() const { return shopList_; }
  // The search text; nothing while listing the shops nearby.
  [[nodiscard]] const std::optional<std::string>& what() const { return what_; }
  [[nodiscard]] const std::shared_ptr<LKLocation>& location() const { return location_; }
  [[nodiscard]] int currentPage() const { return currentPage_; }
  [[nodiscard]] const HttpRequest* request() const { return request_.get(); }
  [[nodiscard]] const std::shared_ptr<LKSearchBar>& searchBar() const { return searchBar_; }

  // The address of page `currentPage` (before "tn=gz"), or nothing when what it needs is missing
  // (a position nearby, a city).
  [[nodiscard]] std::optional<std::string> searchURL() const;
  // One "searchlist" entry; "distance" is in metres, as the service sends it.
  [[nodiscard]] static std::shared_ptr<ShopInfo> shopFromEntry(const boost::json::object& entry);
  // The empty list's prompt for the current search.
  [[nodiscard]] std::string nodataPrompt() const;

  // Locates the user, then asks for the nearby shops.
  void startNearbySearch();
  void startLoadingData() override;
  void cancel();

  // Life cycle.
  void loadView() override;
  void viewDidLoad() override;
  void viewDidUnload() override;

  // The list.
  int tableViewNumberOfRowsInSection(ui::TableView& tableView, int section) override;
  std::shared_ptr<ui::TableViewCell> tableViewCellForRowAtIndexPath(ui::TableView& tableView,
                                                                    ui::IndexPath ip) override;
  std::optional<double> tableViewHeightForRowAtIndexPath(ui::TableView& tableView,
                                                         ui::IndexPath ip) override;
  void tableViewDidSelectRowAtIndexPath(ui::TableView& tableView, ui::IndexPath ip) override;
  void scrollViewDidEndDragging(ui::ScrollView& scrollView, bool decelerate) override;

  // The search bar and the login.
  void searchBarSearch(LKSearchBar& bar) override;
  void loginSucceed(LoginViewController& login) override;

 private:
  void requestSucceeded(HttpRequest& request) override;
  void requestFailed(HttpRequest& request, const PlatformError& error) override;

  // Asks for page `currentPage`, dropping a pending request of an earlier search.
  void requestPage();
  void locationSuccessed();
  void locationFailed();
  void clearResults();
  void endPage(bool firstPage);
  void updateNodata();
  void hideKeyboard();

  std::shared_ptr<LKSearchBar> searchBar_;
  std::vector<std::shared_ptr<ShopInfo>> shopList_;
  std::optional<std::string> what_;
  std::shared_ptr<LKLocation> location_;
  int currentPage_ = 0;
  std::unique_ptr<HttpRequest> request_;
  // This screen asked for the position and waits for it.
  bool locating_ = false;
  std::vector<ObserverToken> locationObservers_;
};

}  // namespace lk

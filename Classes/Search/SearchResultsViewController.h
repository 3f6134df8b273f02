#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Classes/ServiceClient/HttpRequestDelegate.h"
#include "Classes/Toolkit/LKTableViewController.h"
#include "Classes/Toolkit/VSPickerView.h"
#include "Classes/Toolkit/VSPickerViewTarget.h"
#include "Platform/Notifications/NotificationCenter.h"
#include "Platform/UI/Button.h"
#include "Platform/UI/PickerViewDataSource.h"
#include "Platform/UI/PickerViewDelegate.h"

namespace lk {

class Area;
class Channel;
class HttpRequest;
class LKObject;
class SearchResultsHeader;
class ShopInfo;

// The shop search: pages of 15 shops for a keyword, a place, a district or a category, with an
// area filter and a category filter (two-wheel pickers over the city's trees, narrowed to what
// the latest answer found), sort tabs, a coupon-only tab and an add-shop row at the end. Nearby
// and the personal lists derive from it and replace the request.
class SearchResultsViewController : public LKTableViewController,
                                    public HttpRequestDelegate,
                                    public VSPickerViewTarget,
                                    public ui::PickerViewDataSource,
                                    public ui::PickerViewDelegate {
 public:
  static constexpr int kPageSize = 15;
  // Request tags.
  static constexpr int kSearchRequest = 0;
  static constexpr int kAreaTreeRequest = 1;
  static constexpr int kCategoryTreeRequest = 2;
  // Picker tags.
  static constexpr int kAreaPicker = 0;
  static constexpr int kCategoryPicker = 1;
  // The scroll-to-top button shows once the list is scrolled further than this.
  static constexpr double kScrollTopThreshold = 70;
  static constexpr double kAddShopRowHeight = 60;
  static constexpr const char* kAddShopTitle = " 你要找的商户不在列表里?";
  static constexpr const char* kAddShopSubtitle = " 赶快添加商户!";
  static constexpr const char* kScrollTopImage = "button_scroll_top";

  SearchResultsViewController();
  ~SearchResultsViewController() override;

  // What to search, set by the opening screen; the filters change them later.
  std::optional<std::string> what;   // "k"
  std::optional<std::string> where;  // "r"
  int cityId = 0;                    // "ci", taken from the current city before every request
  int sort = 1;                      // "sort"; 0 becomes 1 when the screen loads
  std::optional<std::string> area;
  int areaId = 0;
  std::optional<std::string> subArea;
  int subAreaId = 0;
  std::optional<std::string> channel;
  int channelId = 0;
  std::optional<std::string> category;
  int categoryId = 0;
  bool showCouponOnly = false;
  bool headerHidden = false;
  bool tabbarHidden = false;
  bool showAddShop = false;

  // What arrived.
  [[nodiscard]] const std::vector<std::shared_ptr<ShopInfo>>& resultList() const {
    return resultList_;
  }
  [[nodiscard]] int resultCount() const { return resultCount_; }
  [[nodiscard]] int currentPage() const { return currentPage_; }
  [[nodiscard]] bool isSearchFinished() const { return isSearchFinished_; }
  // The districts and categories in which the latest answer found shops.
  [[nodiscard]] const std::vector<std::shared_ptr<Area>>& geoarealist() const {
    return geoarealist_;
  }
  [[nodiscard]] const std::vector<std::shared_ptr<Channel>>& channellist() const {
    return channellist_;
  }
  [[nodiscard]] const std::vector<std::shared_ptr<LKObject>>& leftData() const { return leftData_; }
  [[nodiscard]] const std::vector<std::shared_ptr<LKObject>>& rightData() const {
    return rightData_;
  }
  int leftMainIndex = 0;
  int rightMainIndex = 0;
  [[nodiscard]] const HttpRequest* request() const { return request_.get(); }
  [[nodiscard]] const HttpRequest* leftRequest() const { return leftRequest_.get(); }
  [[nodiscard]] const HttpRequest* rightRequest() const { return rightRequest_.get(); }

  [[nodiscard]] const std::shared_ptr<SearchResultsHeader>& header() const { return header_; }
  [[nodiscard]] const std::shared_ptr<VSPickerView>& picker() const { return picker_; }
  [[nodiscard]] const std::shared_ptr<ui::Button>& scrollButton() const { return scrollButton_; }

  // The search URL for the current page and parameters (before the engine adds "tn=gz").
  [[nodiscard]] virtual std::string searchURL() const;
  // Appends the set filters to `url` in their fixed order, every text escaped.
  void addFilterParametersToUrl(std::string& url) const;
  // Asks for page `currentPage` (with the loading overlay for page 0).
  virtual void searchRequest();
  void startLoadingData() override;
  // Back to an empty list before page 0.
  void cleanAll();
  virtual void cleanChannelFilter();
  virtual void setPickerDefaultTitle();
  void requestLeftPickerData();
  void requestRightPickerData();
  [[nodiscard]] virtual std::string sectionTitle() const;
  [[nodiscard]] virtual bool showDistance() const;

  // The header's buttons and tabs.
  virtual void selectLeft();
  void selectRight();
  void sortTermChanged(int sortCode);

  // The picker.
  void finishPick(VSPickerView& picker) override;
  void cancelPick(VSPickerView& picker) override;
  int numberOfComponentsInPickerView(ui::PickerView& picker) override;
  int pickerViewNumberOfRowsInComponent(ui::PickerView& picker, int component) override;
  std::string pickerViewTitleForRow(ui::PickerView& picker, int row, int component) override;
  void pickerViewDidSelectRow(ui::PickerView& picker, int row, int component) override;

  // Life cycle.
  void loadView() override;
  void viewDidLoad() override;
  void viewDidUnload() override;
  void viewDidAppear(bool animated) override;
  void viewWillDisappear(bool animated) override;
  void initTableView() override;

  // The list.
  int tableViewNumberOfRowsInSection(ui::TableView& tableView, int section) override;
  std::shared_ptr<ui::TableViewCell> tableViewCellForRowAtIndexPath(ui::TableView& tableView,
                                                                    ui::IndexPath ip) override;
  std::optional<double> tableViewHeightForRowAtIndexPath(ui::TableView& tableView,
                                                         ui::IndexPath ip) override;
  std::optional<std::string> tableViewTitleForHeaderInSection(ui::TableView& tableView,
                                                              int section) override;
  void tableViewDidSelectRowAtIndexPath(ui::TableView& tableView, ui::IndexPath ip) override;
  void scrollViewDidEndDragging(ui::ScrollView& scrollView, bool decelerate) override;
  void scrollViewDidEndDecelerating(ui::ScrollView& scrollView) override;
  void scrollViewDidEndScrollingAnimation(ui::ScrollView& scrollView) override;
  void scrollToTop();

  // The answers.
  void requestSucceeded(HttpRequest& request) override;
  void requestFailed(HttpRequest& request, const PlatformError& error) override;

 protected:
  // The nearby search has no area filter and a distance tab.
  [[nodiscard]] virtual bool requestsAreaTree() const { return true; }
  [[nodiscard]] virtual bool hasDistanceSort() const { return false; }
  // Opening a shop (its detail screen) and the add-shop form (the keyword as the name).
  virtual void openShop(const std::shared_ptr<ShopInfo>& shop);
  virtual void openAddShop();
  // The keyword and place search of this screen; without `withAreaName` the district's name
  // ("rn") stays out.
  [[nodiscard]] std::string keywordSearchURL(bool withAreaName) const;
  // Sends searchURL() for the current page, replacing a pending page request.
  void sendSearchRequest();
  // Lists whose shops come from elsewhere (the personal lists) fill the list through these.
  void setResultList(std::vector<std::shared_ptr<ShopInfo>> shops);
  void appendResults(const std::vector<std::shared_ptr<ShopInfo>>& shops);
  void setResultCount(int count) { resultCount_ = count; }
  // A page arrived: the next request asks for the one after it.
  void pageArrived() { ++currentPage_; }

 private:
  void addFilterParameters(std::string& url, bool withAreaName) const;
  void searchAnswered(HttpRequest& request);
  void treeAnswered(HttpRequest& request, bool areas);
  void observeNotifications();
  [[nodiscard]] bool isTopOfStack() const;
  void openPicker(int tag);
  void updateScrollButton();
  void setHeaderTitles();
  [[nodiscard]] std::vector<std::shared_ptr<LKObject>>& treeFor(int pickerTag);
  [[nodiscard]] int& mainIndexFor(int pickerTag);
  [[nodiscard]] int& subIndexFor(int pickerTag);

  std::vector<std::shared_ptr<ShopInfo>> resultList_;
  int resultCount_ = 0;
  int currentPage_ = 0;
  bool isSearchFinished_ = false;
  std::vector<std::shared_ptr<Area>> geoarealist_;
  std::vector<std::shared_ptr<Channel>> channellist_;
  std::vector<std::shared_ptr<LKObject>> leftData_;
  std::vector<std::shared_ptr<LKObject>> rightData_;
  int leftSubIndex_ = 0;
  int rightSubIndex_ = 0;
  int mainIndexAtOpen_ = 0;
  std::unique_ptr<HttpRequest> request_;
  std::unique_ptr<HttpRequest> leftRequest_;
  std::unique_ptr<HttpRequest> rightRequest_;
  std::shared_ptr<SearchResultsHeader> header_;
  std::shared_ptr<VSPickerView> picker_;
  std::shared_ptr<ui::Button> scrollButton_;
  std::vector<ObserverToken> observers_;
};

}  // namespace lk

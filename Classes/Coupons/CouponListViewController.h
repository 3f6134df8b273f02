#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Classes/ServiceClient/HttpRequestDelegate.h"
#include "Classes/Toolkit/LKTableViewController.h"
#include "Classes/Toolkit/TabRootScreen.h"
#include "Classes/Toolkit/VSPickerView.h"
#include "Classes/Toolkit/VSPickerViewTarget.h"
#include "Platform/Notifications/NotificationCenter.h"
#include "Platform/UI/PickerViewDataSource.h"
#include "Platform/UI/PickerViewDelegate.h"

namespace lk {

class Channel;
class CouponList;
class CouponListHeaderView;
class HttpRequest;
struct PlatformError;

// The "优惠" tab: the current city's offers, 20 a page, hottest or newest first, with a category
// chooser and a way to the offers nearby. A row opens the offer's detail.
class CouponListViewController : public LKTableViewController,
                                 public HttpRequestDelegate,
                                 public TabRootScreen,
                                 public VSPickerViewTarget,
                                 public ui::PickerViewDataSource,
                                 public ui::PickerViewDelegate {
 public:
  static constexpr int kPageSize = 20;
  // Request tags.
  static constexpr int kCouponRequest = 0;
  static constexpr int kChannelRequest = 1;
  // Orders (`sortType`).
  static constexpr int kHottest = 0;
  static constexpr int kNewest = 1;
  static constexpr double kRowHeight = 85;
  static constexpr double kDimmedAlpha = 0.8;
  static constexpr double kChooserSeconds = 0.3;
  static constexpr const char* kNearbyTitle = "附近优惠";
  static constexpr const char* kNodataPrompt = "该城市没有优惠信息";
  static constexpr const char* kLoadingUpText = "上拉载入更多优惠信息";
  static constexpr const char* kLoadingReleaseText = "松开载入更多优惠信息";

  CouponListViewController();
  ~CouponListViewController() override;

  [[nodiscard]] const std::vector<std::shared_ptr<CouponList>>& couponList() const {
    return couponList_;
  }
  [[nodiscard]] const std::vector<std::shared_ptr<Channel>>& channelList() const {
    return channelList_;
  }
  [[nodiscard]] const HttpRequest* couponRequest() const { return couponRequest_.get(); }
  [[nodiscard]] const HttpRequest* channelRequest() const { return channelRequest_.get(); }
  [[nodiscard]] int sortType() const { return sortType_; }
  [[nodiscard]] int currentPage() const { return currentPage_; }
  [[nodiscard]] const std::shared_ptr<CouponListHeaderView>& header() const { return header_; }
  [[nodiscard]] const std::shared_ptr<VSPickerView>& picker() const { return picker_; }
  [[nodiscard]] const std::shared_ptr<ui::View>& cancelView() const { return cancelView_; }
  [[nodiscard]] const std::string& channelTitle() const { return channelTitle_; }

  // The address of page `currentPage` (before the engine adds "tn=gz"), or nothing when there is
  // no current city to ask for.
  [[nodiscard]] virtual std::optional<std::string> couponURL() const;
  // Asks for page `currentPage`, with the loading overlay for page 0. Ignored while a page
  // request is pending.
  virtual void requestCoupon();
  virtual void requestChannel();
  // The tab was chosen: an empty list with nothing pending asks for its first page.
  void checkData() override;
  void startLoadingData() override;
  // Back to an empty list before page 0; a pending page request is cancelled.
  void cleanAll();

  // The header's notifications and the bar button.
  void nearbyCoupon();
  void switchToNewestList();
  void switchToHotestList();
  void selectChannel();
  void cityChanged();

  // The chooser.
  void cancelPick(VSPickerView& picker) override;
  void finishPick(VSPickerView& picker) override;
  void confirmPick() { finishPick(*picker_); }
  void touchCancelView();
  [[nodiscard]] bool isChooserShown() const;
  int numberOfComponentsInPickerView(ui::PickerView& picker) override;
  int pickerViewNumberOfRowsInComponent(ui::PickerView& picker, int component) override;
  std::string pickerViewTitleForRow(ui::PickerView& picker, int row, int component) override;
  void pickerViewDidSelectRow(ui::PickerView& picker, int row, int component) override;

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

  // The answers.
  void requestSucceeded(HttpRequest& request) override;
  void requestFailed(HttpRequest& request, const PlatformError& error) override;

 protected:
  // The nearby list has neither header nor bar button, and its own answers and prompt.
  [[nodiscard]] virtual bool hasHeader() const { return true; }
  [[nodiscard]] virtual const char* nodataPrompt() const { return kNodataPrompt; }
  // Reads a page answer into rows; returns whether it was a 200 answer that decoded.
  virtual bool readCouponPage(HttpRequest& request);
  // Whether an empty list after this answer shows the no-data prompt.
  [[nodiscard]] virtual bool showsNodataAfter(bool decoded) const { return decoded; }
  // A failed page request reaches the user as an alert; the nearby list stays silent.
  virtual void reportFailure(const PlatformError& error);
  // Sends the page request for `url` with tag 0.
  void sendCouponRequest(const std::string& url);
  void appendRows(std::vector<std::shared_ptr<CouponList>> rows, std::size_t answered);
  [[nodiscard]] bool isTopOfStack() const;
  // Opens the detail of a row.
  virtual void openCoupon(const CouponList& row);

 private:
  void couponAnswered(HttpRequest& request);
  void channelAnswered(HttpRequest& request);
  void updateNodata(bool decoded);
  void switchOrder(int sortType);
  void hideChooser();
  void observeNotifications();

  std::vector<std::shared_ptr<CouponList>> couponList_;
  std::vector<std::shared_ptr<Channel>> channelList_;
  std::unique_ptr<HttpRequest> couponRequest_;
  std::unique_ptr<HttpRequest> channelRequest_;
  int sortType_ = kHottest;
  int currentPage_ = 0;
  std::shared_ptr<CouponListHeaderView> header_;
  std::shared_ptr<VSPickerView> picker_;
  std::shared_ptr<ui::View> cancelView_;
  std::string channelTitle_;
  // The button's label before the wheel turned, for "取消".
  std::string confirmedTitle_;
  std::vector<ObserverToken> observers_;
};

}  // namespace lk

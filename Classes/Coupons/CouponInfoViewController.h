#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Classes/ServiceClient/HttpRequestDelegate.h"
#include "Classes/Toolkit/LKNavigationController.h"
#include "Classes/Toolkit/LoadingView.h"
#include "Platform/Notifications/NotificationCenter.h"
#include "Platform/UI/AlertViewDelegate.h"
#include "Platform/UI/TableView.h"
#include "Platform/UI/TableViewDataSource.h"
#include "Platform/UI/TableViewDelegate.h"
#include "Platform/UI/TextFieldDelegate.h"

namespace lk {

class Coupon;
class HttpRequest;
class LKPopupTextField;
class ShopInfo;

// What a request of the detail screen carries: a detail (kind 0) for the offer at `index`, or
// an SMS (kind 1) for the offer `couponId`.
struct CouponRequestTag {
  static constexpr int kDetail = 0;
  static constexpr int kSms = 1;
  int type = kDetail;
  int index = 0;
  std::string couponId;
};

// The detail of one or more offers: each offer's text, validity and (opened from a list) the
// shops where it applies; an offer with SMS is sent to a mobile number. Offers show once their
// detail has arrived; sections and SMS buttons follow the offers shown, never list positions.
class CouponInfoViewController : public LKNavigationController,
                                 public HttpRequestDelegate,
                                 public ui::TableViewDataSource,
                                 public ui::TableViewDelegate,
                                 public ui::AlertViewDelegate,
                                 public ui::TextFieldDelegate {
 public:
  static constexpr const char* kTitle = "优惠详情";
  static constexpr const char* kSmsTitle = "短信下载";
  static constexpr const char* kPromptTitle = "请输入手机号码";
  static constexpr const char* kWrongNumber = "请输入正确的手机号";
  static constexpr int kCollapsedShops = 3;

  explicit CouponInfoViewController(std::vector<std::shared_ptr<Coupon>> coupons);
  ~CouponInfoViewController() override;

  [[nodiscard]] const std::vector<std::shared_ptr<Coupon>>& couponList() const {
    return couponList_;
  }
  // YES: the shop section and the bar's SMS button; NO (from a shop's detail): an SMS button
  // under each offer instead. Set before the view loads.
  bool displayShop = true;
  [[nodiscard]] bool showAllShop() const { return showAllShop_; }
  [[nodiscard]] const std::string& phoneNumber() const { return phoneNumber_; }
  [[nodiscard]] const std::string& selectedCouponId() const { return selectedCouponId_; }
  [[nodiscard]] std::size_t pendingInfoRequests() const { return infoRequests_.size(); }
  [[nodiscard]] bool isSmsPending(const std::string& couponId) const {
    return smsRequests_.count(couponId) != 0;
  }
  [[nodiscard]] std::size_t pendingSmsRequests() const { return smsRequests_.size(); }
  [[nodiscard]] const std::shared_ptr<ui::TableView>& tableView() const { return tableView_; }
  [[nodiscard]] const std::shared_ptr<LKPopupTextField>& phonePrompt() const {
    return phonePrompt_;
  }

  // The offers shown, in order: those whose detail has arrived.
  [[nodiscard]] std::vector<std::shared_ptr<Coupon>> shownCoupons() const;
  // The section of the shown offer `couponId`, or nothing when it is not shown.
  [[nodiscard]] std::optional<int> indexWithCouponId(const std::string& couponId) const;
  [[nodiscard]] int shopSection() const;

  // An SMS button for `couponId` was tapped: the phone prompt, unless that offer is not shown
  // or its SMS is still on its way.
  void getSMS(const std::string& couponId);
  // "发送" with the number typed.
  void sendSMS();
  void showAllInfo(const Notification& notification);

  void loadView() override;
  void viewDidLoad() override;
  void viewDidUnload() override;

  // The table.
  int numberOfSectionsInTableView(ui::TableView& tableView) override;
  int tableViewNumberOfRowsInSection(ui::TableView& tableView, int section) override;
  std::shared_ptr<ui::TableViewCell> tableViewCellForRowAtIndexPath(ui::TableView& tableView,
                                                                    ui::IndexPath ip) override;
  std::optional<double> tableViewHeightForRowAtIndexPath(ui::TableView& tableView,
                                                         ui::IndexPath ip) override;
  std::optional<double> tableViewHeightForHeaderInSection(ui::TableView& tableView,
                                                          int section) override;
  std::optional<double> tableViewHeightForFooterInSection(ui::TableView& tableView,
                                                          int section) override;
  std::shared_ptr<ui::View> tableViewViewForHeaderInSection(ui::TableView& tableView,
                                                            int section) override;
  std::shared_ptr<ui::View> tableViewViewForFooterInSection(ui::TableView& tableView,
                                                            int section) override;
  std::optional<ui::IndexPath> tableViewWillSelectRowAtIndexPath(ui::TableView& tableView,
                                                                 ui::IndexPath ip) override;
  void tableViewDidSelectRowAtIndexPath(ui::TableView& tableView, ui::IndexPath ip) override;

  // The answers.
  void requestSucceeded(HttpRequest& request) override;
  void requestFailed(HttpRequest& request, const PlatformError& error) override;

  // The phone prompt.
  void alertViewClickedButtonAtIndex(ui::AlertView& alert, int index) override;
  bool textFieldShouldChangeCharactersInRange(ui::TextField& field, ui::TextRange range,
                                              const std::string& replacement) override;
  void textFieldDidChange(ui::TextField& field) override;

 protected:
  // Opens a shop where the offer applies (its detail screen).
  virtual void openShop(const std::shared_ptr<ShopInfo>& shop);

 private:
  void detailAnswered(HttpRequest& request, const CouponRequestTag& tag);
  void smsAnswered(HttpRequest& request, const CouponRequestTag& tag);
  void dropInfoRequest(const HttpRequest& request);
  void updateBarButton();
  void reload();
  void hideLoading();
  [[nodiscard]] std::shared_ptr<Coupon> couponInSection(int section) const;
  [[nodiscard]] std::shared_ptr<Coupon> shopCoupon() const;
  [[nodiscard]] int shownShopRows() const;

  std::vector<std::shared_ptr<Coupon>> couponList_;
  // Offers whose detail arrived, by position in couponList_.
  std::vector<bool> arrived_;
  bool showAllShop_ = false;
  std::vector<std::unique_ptr<HttpRequest>> infoRequests_;
  std::map<std::string, std::unique_ptr<HttpRequest>> smsRequests_;
  std::string phoneNumber_;
  std::string selectedCouponId_;
  std::shared_ptr<ui::TableView> tableView_;
  std::shared_ptr<LoadingView> loadingView_;
  std::shared_ptr<LKPopupTextField> phonePrompt_;
  ObserverToken showAllObserver_;
};

}  // namespace lk

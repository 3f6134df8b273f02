#pragma once

#include <boost/json/object.hpp>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Classes/ServiceClient/HttpRequestDelegate.h"
#include "Classes/Shop/LKImageDataSource.h"
#include "Classes/Shop/ShopInfoTabbar.h"
#include "Classes/Shop/ShopInfoTabbarDelegate.h"
#include "Classes/Toolkit/LKNavigationController.h"
#include "Classes/Toolkit/LoadingView.h"
#include "Platform/Notifications/NotificationCenter.h"
#include "Platform/UI/ActionSheet.h"
#include "Platform/UI/ActionSheetDelegate.h"
#include "Platform/UI/MailComposeViewController.h"
#include "Platform/UI/MessageComposeViewController.h"
#include "Platform/UI/TableView.h"

namespace lk {

class HttpRequest;
class ShopInfo;

// One shop: its detail sections (main block, coupons, recommendations, latest broadcast and
// review), the bottom bar (post a broadcast, share, more) and the ways to the reviews, the
// album, the map and the phone. Opened with a record that has at least an id; the decoded
// detail record replaces it and is recorded in the browse history.
class ShopInfoViewController : public LKNavigationController,
                               public ui::TableViewDataSource,
                               public ui::TableViewDelegate,
                               public HttpRequestDelegate,
                               public ShopInfoTabbarDelegate,
                               public ui::ActionSheetDelegate,
                               public ui::MessageComposeDelegate,
                               public ui::MailComposeDelegate {
 public:
  // Request tags.
  static constexpr int kShopInfoRequest = 0;
  static constexpr int kImageLinkRequest = 4;
  // Sheet tags.
  static constexpr int kCallSheet = 2;
  static constexpr int kMoreSheet = 3;
  // Section kinds, in the order they show.
  enum Section { kMainSection = 0, kCouponSection = 1, kRecommendSection = 2, kCommentSection = 3 };

  static constexpr const char* kTitle = "商户详情";
  static constexpr const char* kCallSheetTitle = "请选择商户电话";
  static constexpr const char* kMoreSheetTitle = "更多";
  static constexpr const char* kNearbyTitle = "查找这家店附近";
  static constexpr const char* kNearbyScreenTitle = "这家店附近";
  static constexpr const char* kErrorReportTitle = "报错";
  static constexpr const char* kCancelTitle = "取消";

  ShopInfoViewController();
  ~ShopInfoViewController() override;

  void setShopInfo(std::shared_ptr<ShopInfo> shop) { shopInfo_ = std::move(shop); }
  [[nodiscard]] const std::shared_ptr<ShopInfo>& shopInfo() const { return shopInfo_; }
  [[nodiscard]] const PictureList& photoLinks() const { return photoLinks_; }
  // The sections present now (rebuilt each time the table asks).
  [[nodiscard]] std::vector<int> sections() const;
  [[nodiscard]] const HttpRequest* shopInfoRequest() const { return shopInfoRequest_.get(); }
  [[nodiscard]] const HttpRequest* imageLinkRequest() const { return imageLinkRequest_.get(); }
  [[nodiscard]] const std::shared_ptr<ui::TableView>& tableView() const { return tableView_; }
  [[nodiscard]] const std::shared_ptr<ShopInfoTabbar>& tabbar() const { return tabbar_; }
  [[nodiscard]] const std::shared_ptr<LoadingView>& loadingView() const { return loadingView_; }

  // The requests (a pending one of the same kind is cancelled first). Nothing is asked for a
  // shop without an id.
  void requestShopInfo();
  void requestImageLink();
  [[nodiscard]] std::string shopInfoURL() const;
  [[nodiscard]] std::string imageLinkURL() const;

  // The album answer as a picture list: the shop's own picture first (when it has one), then
  // the album's entries (full size, thumbnail) without a repeat of the shop's picture.
  // `addedShopPicture` tells whether the shop's picture was put first.
  [[nodiscard]] static PictureList albumLinks(const boost::json::object& answer,
                                              const std::string& shopImgUrl,
                                              bool* addedShopPicture = nullptr);
  // "[name] tel address [label] items", what sharing sends.
  [[nodiscard]] static std::string shareText(const ShopInfo& shop);

  // Notification handlers (each but broadcastAdded acts only while this screen is on top).
  void commentList();
  void broadcastList();
  void imageViews();
  void showMap();
  void call();
  void showMoreInfo();
  void broadcastAdded(const Notification& notification);

  // The bottom bar.
  void button1Clicked() override;
  void button2Clicked() override;
  void button3Clicked() override;

  // The session id of a logged-in user (for "&ssid="): the login controller's, or what a
  // source set here answers (tests). Where this screen reaches screens of other subsystems: the
  // nearby search around the shop, the error report, composing a broadcast and the shop's
  // broadcasts are wired when their screens exist; until then the action is logged and nothing
  // opens. openCoupons opens the coupon detail of the shop's offers.
  using SessionIdSource = std::function<std::optional<std::string>()>;
  static void setSessionIdSource(SessionIdSource source);
  [[nodiscard]] static std::optional<std::string> currentSessionId();
  virtual void openNearby();
  virtual void openErrorReport();
  virtual void openComposeBroadcast();
  virtual void openBroadcastList();
  virtual void openCoupons();

  // Life cycle.
  void loadView() override;
  void viewDidLoad() override;
  void viewDidUnload() override;
  void viewWillAppear(bool animated) override;
  void viewWillDisappear(bool animated) override;

  // The table.
  int numberOfSectionsInTableView(ui::TableView& tableView) override;
  int tableViewNumberOfRowsInSection(ui::TableView& tableView, int section) override;
  std::shared_ptr<ui::TableViewCell> tableViewCellForRowAtIndexPath(ui::TableView& tableView,
                                                                    ui::IndexPath ip) override;
  std::optional<double> tableViewHeightForRowAtIndexPath(ui::TableView& tableView,
                                                         ui::IndexPath ip) override;
  void tableViewDidSelectRowAtIndexPath(ui::TableView& tableView, ui::IndexPath ip) override;

  // Answers, sheets and compose sheets.
  void requestSucceeded(HttpRequest& request) override;
  void requestFailed(HttpRequest& request, const PlatformError& error) override;
  void actionSheetClickedButtonAtIndex(ui::ActionSheet& sheet, int index) override;
  void messageComposeDidFinish(ui::MessageComposeViewController& sheet,
                               ui::ComposeResult result) override;
  void mailComposeDidFinish(ui::MailComposeViewController& sheet,
                            ui::ComposeResult result) override;

 private:
  void shopInfoAnswered(HttpRequest& request);
  void imageLinkAnswered(HttpRequest& request);
  void observeNotifications();
  [[nodiscard]] bool isTopOfStack() const;
  void removeLoadingView();
  void showSheet(std::shared_ptr<ui::ActionSheet> sheet);
  void presentInOwnStack(const std::shared_ptr<ui::ViewController>& screen);

  std::shared_ptr<ShopInfo> shopInfo_;
  PictureList photoLinks_;
  std::unique_ptr<HttpRequest> shopInfoRequest_;
  std::unique_ptr<HttpRequest> imageLinkRequest_;
  std::shared_ptr<LoadingView> loadingView_;
  std::shared_ptr<ui::TableView> tableView_;
  std::shared_ptr<ShopInfoTabbar> tabbar_;
  std::shared_ptr<ui::ActionSheet> sheet_;
  std::vector<ObserverToken> observers_;
};

}  // namespace lk

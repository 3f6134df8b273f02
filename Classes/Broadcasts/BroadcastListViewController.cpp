#include "Classes/Broadcasts/BroadcastListViewController.h"

#include "Classes/Account/LoginViewController.h"
#include "Classes/Broadcasts/BroadcastCellView.h"
#include "Classes/Broadcasts/BroadcastNotifications.h"
#include "Classes/Broadcasts/ComposeBroadcastViewController.h"
#include "Classes/Broadcasts/ShopPickerViewController.h"
#include "Classes/Json/JsonValue.h"
#include "Classes/LocalState/CacheCenter.h"
#include "Classes/Records/Broadcast.h"
#include "Classes/Records/ShopInfo.h"
#include "Classes/ServiceClient/FormValue.h"
#include "Classes/ServiceClient/HttpRequest.h"
#include "Classes/ServiceClient/ServiceAnswer.h"
#include "Classes/ServiceClient/ServiceEndpoints.h"
#include "Classes/Shop/LKImageDataSource.h"
#include "Classes/Shop/LKPhotoScrollViewController.h"
#include "Classes/Shop/ShopInfoViewController.h"
#include "Classes/Toolkit/AlertCenter.h"
#include "Classes/Toolkit/CustomCell.h"
#include "Platform/Log/Log.h"
#include "Platform/UI/NavigationController.h"
#include "Platform/UI/TableViewCell.h"

namespace lk {

namespace {

constexpr const char* kCellId = "Cell";

std::string replaceAll(std::string text, std::string_view from, std::string_view to) {
  for (std::size_t at = text.find(from); at != std::string::npos;
       at = text.find(from, at + to.size())) {
    text.replace(at, from.size(), to);
  }
  return text;
}

}  // namespace

BroadcastListViewController::BroadcastListViewController() : showShopName(true) {}

BroadcastListViewController::~BroadcastListViewController() {
  observers_.clear();
  request_.reset();
  if (refreshHeaderView_) refreshHeaderView_->delegate = nullptr;
}

std::shared_ptr<BroadcastListViewController>
BroadcastListViewController::initBroadcastListControllerWithShop(std::shared_ptr<ShopInfo> shop) {
  auto screen = std::make_shared<BroadcastListViewController>();
  screen->showShopName = false;
  screen->shopInfo_ = std::move(shop);
  return screen;
}

std::shared_ptr<BroadcastListViewController>
BroadcastListViewController::initBroadcastListControllerWithSSID(std::string ssid) {
  auto screen = std::make_shared<BroadcastListViewController>();
  screen->showShopName = true;
  screen->ssid_ = std::move(ssid);
  return screen;
}

BroadcastListViewController::Source BroadcastListViewController::source() const {
  if (shopInfo_) return Source::kShop;
  if (ssid_) return Source::kOwn;
  return Source::kCity;
}

// ---------------------------------------------------------------------------------------------
// Requests

std::optional<std::string> BroadcastListViewController::broadcastListURL() const {
  const std::string base = ServiceEndpoints::serviceURL();
  switch (source()) {
    case Source::kShop:
      if (shopInfo_->shopId().empty()) return std::nullopt;
      return strprintf("%s/shop/%s/minicmt?p=%d&n=%d", base.c_str(),
                       FormValue::escape(shopInfo_->shopId()).c_str(), currentPage_, kPageSize);
    case Source::kOwn: {
      const auto& ssid = LoginViewController::sharedInstance().ssid();
      if (!ssid || ssid->empty()) return std::nullopt;
      return strprintf("%s/user/0/minicmt?p=%d&n=%d&ssid=%s", base.c_str(), currentPage_, kPageSize,
                       FormValue::escape(*ssid).c_str());
    }
    case Source::kCity: {
      const auto city = CacheCenter::sharedInstance().currentCity();
      if (!city || city->id() == 0) return std::nullopt;
      return strprintf("%s/index/%d/minicmt?p=%d&n=%d&xda_from=iPhone&xda_page=BroadcastList",
                       base.c_str(), city->id(), currentPage_, kPageSize);
    }
  }
  return std::nullopt;
}

std::string BroadcastListViewController::nodataPrompt() const {
  switch (source()) {
    case Source::kShop:
      return strprintf(kPlacePrompt, shopInfo_->strName().c_str());
    case Source::kOwn:
      return kOwnPrompt;
    case Source::kCity: {
      const auto city = CacheCenter::sharedInstance().currentCity();
      return strprintf(kPlacePrompt, city ? city->nameText().c_str() : "");
    }
  }
  return {};
}

void BroadcastListViewController::refresh() {
  if (request_) {
    const bool wasLoadingMore = currentPage_ > 0;
    request_.reset();
    // The cancelled load-more never answers: its footer must leave the loading state now.
    if (wasLoadingMore) scheduleFinishLoadingData();
  }
  currentPage_ = 0;
  isPullLoadMore = true;
  requestBroadcastList();
}

void BroadcastListViewController::requestBroadcastList() {
  // A page already asked for is not asked for again.
  if (request_) return;
  const auto url = broadcastListURL();
  if (!url) {
    logLine("Broadcast list without a city, shop or session to ask for");
    if (currentPage_ == 0) {
      refreshTimer_.start(seconds(kAfterPageSeconds), [this] { finishRefreshingData(); });
    } else {
      scheduleFinishLoadingData();
    }
    return;
  }
  // Reading the city may restore it and announce a city change, which already asked.
  if (request_) return;
  if (currentPage_ == 0 && broadcastList_.empty() && isViewLoaded()) showLoading();
  request_ = std::make_unique<HttpRequest>(this, currentPage_);
  request_->requestGETWithGZip(*url, false);
}

void BroadcastListViewController::startLoadingData() {
  // A pull-up during a refresh would ask for page 0 again: it only ends its own animation.
  if (request_) {
    scheduleFinishLoadingData();
    return;
  }
  requestBroadcastList();
}

// ---------------------------------------------------------------------------------------------
// Answers

bool BroadcastListViewController::readPage(HttpRequest& request) {
  auto answer = readJsonAnswer(request, AnswerEncoding::kCompressed);
  if (!answer) {
    if (isAnswerStep(answer.error(), AnswerStep::kStatus)) {
      logf("Request failed, code = %d", request.statusCode());
    } else {
      logf("Error:%s", answer.error().description.c_str());
    }
    noMoreData();
    return false;
  }
  const Source from = source();
  const char* key = from == Source::kCity ? "list" : "cmtlist";
  const std::string base = json::textMember(*answer, "base");
  const auto* list = json::arrayMember(*answer, key);
  if (list == nullptr) return true;
  if (currentPage_ == 0) broadcastList_.clear();
  std::optional<std::string> authorPicture;
  std::optional<std::string> authorName;
  if (from == Source::kOwn) {
    if (const auto* user = json::objectMember(*answer, "userinfo")) {
      authorPicture = json::textMember(*user, "pic");
      authorName = json::textMember(*user, "name");
    }
  }
  for (const auto& entry : *list) {
    auto broadcast = Broadcast::fromBroadcastEntry(
        entry.is_object() ? entry.get_object() : boost::json::object(), base);
    if (authorPicture) broadcast->setUserImgUrl(*authorPicture);
    if (authorName) broadcast->setUserName(*authorName);
    broadcastList_.push_back(std::move(broadcast));
  }
  if (list->size() == static_cast<std::size_t>(kPageSize)) {
    addPullLoadMore();
  } else {
    noMoreData();
  }
  ++currentPage_;
  if (tableView()) tableView()->reloadData();
  return true;
}

void BroadcastListViewController::requestSucceeded(HttpRequest& request) {
  if (&request != request_.get()) return;
  const bool firstPage = std::any_cast<int>(request.extraData()) == 0;
  const bool decoded = readPage(request);
  request_.reset();
  if (firstPage) {
    endFirstPage();
  } else {
    scheduleFinishLoadingData();
  }
  updateNodata(decoded);
}

void BroadcastListViewController::requestFailed(HttpRequest& request, const PlatformError& error) {
  if (&request != request_.get()) return;
  const bool firstPage = std::any_cast<int>(request.extraData()) == 0;
  request_.reset();
  if (firstPage) {
    endFirstPage();
  } else {
    noMoreData();
    scheduleFinishLoadingData();
  }
  if (nodataView) nodataView->removeFromSuperview();
  AlertCenter::sharedInstance().showAlertWithErrorCode(error.code);
}

void BroadcastListViewController::endFirstPage() {
  hideLoading();
  refreshTimer_.start(seconds(kAfterPageSeconds), [this] { finishRefreshingData(); });
}

void BroadcastListViewController::finishRefreshingData() {
  isRefreshing_ = false;
  if (refreshHeaderView_ && tableView()) {
    refreshHeaderView_->refreshScrollViewDataSourceDidFinishedLoading(*tableView());
  }
  finishLoadingData();
}

void BroadcastListViewController::updateNodata(bool decoded) {
  // A failed request says nothing about whether there are broadcasts.
  if (!broadcastList_.empty() || !decoded) {
    if (nodataView) nodataView->removeFromSuperview();
    return;
  }
  if (!isViewLoaded()) return;
  if (!nodataView) {
    nodataView = std::make_shared<LKNodataView>(ui::Rect{0, 0, 320, hasTabbar ? 367.0 : 416.0},
                                                nodataPrompt());
  }
  nodataView->setPrompt(nodataPrompt());
  addSubview(nodataView);
}

// ---------------------------------------------------------------------------------------------
// Actions

void BroadcastListViewController::cityChanged() {
  // Each source names its own place; a shop's list keeps the shop's name.
  if (nodataView) nodataView->setPrompt(nodataPrompt());
  refresh();
}

void BroadcastListViewController::broadcast() {
  if (source() == Source::kShop) {
    presentCompose();
  } else {
    presentShopPicker();
  }
}

void BroadcastListViewController::presentCompose() {
  auto editor = std::make_shared<ComposeBroadcastViewController>();
  editor->setShopInfo(shopInfo_);
  presentModalViewController(std::make_shared<ui::NavigationController>(editor), true);
}

void BroadcastListViewController::presentShopPicker() {
  presentModalViewController(
      std::make_shared<ui::NavigationController>(std::make_shared<ShopPickerViewController>()),
      true);
}

void BroadcastListViewController::viewShopInfo(std::shared_ptr<ShopInfo> shop) {
  auto* nav = navigationController();
  if (nav == nullptr || !shop) return;
  auto screen = std::make_shared<ShopInfoViewController>();
  screen->hidesBottomBarWhenPushed = true;
  screen->setShopInfo(std::move(shop));
  nav->pushViewController(screen, true);
}

void BroadcastListViewController::goShopInfo(const Notification& notification) {
  if (!isShowing()) return;
  const auto* shop = notification.info<std::shared_ptr<ShopInfo>>(kBroadcastGoShopinfoShopKey);
  if (shop == nullptr || !*shop) return;
  viewShopInfo(*shop);
}

void BroadcastListViewController::goImageView(const Notification& notification) {
  if (!isShowing()) return;
  const auto* url = notification.info<std::string>(kBroadcastGoImageViewUrlKey);
  if (url == nullptr || url->empty()) return;
  PictureList pictures{{replaceAll(*url, "abpic", "pic"), *url}};
  auto pager = std::make_shared<LKPhotoScrollViewController>(
      std::make_shared<LKImageDataSource>(std::move(pictures)), 0);
  presentModalViewController(std::make_shared<ui::NavigationController>(pager), true);
}

// ---------------------------------------------------------------------------------------------
// Life cycle

void BroadcastListViewController::loadView() {
  isPullLoadMore = true;
  LKTableViewController::loadView();
}

void BroadcastListViewController::initTableView() {
  auto table = std::make_shared<ui::TableView>(ui::Rect{0, 0, 320, hasTabbar ? 367.0 : 416.0},
                                               ui::TableView::Style::kPlain);
  table->separatorStyle = ui::TableView::SeparatorStyle::kNone;
  table->setBackgroundColor(ui::Color::clear());
  table->setDataSource(this);
  table->setTableDelegate(this);
  refreshHeaderView_ = std::make_shared<LKRefreshTableHeaderView>(
      ui::Rect{0, -table->bounds().height(), 320, table->bounds().height()});
  refreshHeaderView_->delegate = this;
  refreshHeaderView_->downText = "下拉刷新";
  refreshHeaderView_->releaseText = "松开刷新";
  refreshHeaderView_->loadingText = "正在载入…";
  refreshHeaderView_->refreshLastUpdatedDate();
  table->addSubview(refreshHeaderView_);
  setTableView(std::move(table));
}

void BroadcastListViewController::viewDidLoad() {
  LKTableViewController::viewDidLoad();
  if (title().empty()) setTitle(kTitle);
  navigationItem().rightBarButtonItem =
      buttonItemWithTitle(kComposeTitle, &BroadcastListViewController::broadcast, this);
  loadingUpText = "上拉载入更多15条播报";
  loadingReleaseText = "松开载入更多15条播报";
  loadingText = "正在载入...";
  observeNotifications();
  refresh();
}

void BroadcastListViewController::viewDidUnload() {
  observers_.clear();
  if (refreshHeaderView_) refreshHeaderView_->delegate = nullptr;
  refreshHeaderView_.reset();
  LKTableViewController::viewDidUnload();
}

void BroadcastListViewController::observeNotifications() {
  observers_.clear();
  auto& center = NotificationCenter::defaultCenter();
  observers_.push_back(
      center.addObserver(kBroadcastGoShopinfo, [this](const Notification& n) { goShopInfo(n); }));
  observers_.push_back(
      center.addObserver(kBroadcastGoImageView, [this](const Notification& n) { goImageView(n); }));
  observers_.push_back(
      center.addObserver(kCityChanged, [this](const Notification&) { cityChanged(); }));
}

// ---------------------------------------------------------------------------------------------
// The list and the pull-down header

int BroadcastListViewController::tableViewNumberOfRowsInSection(ui::TableView& /*tableView*/,
                                                                int /*section*/) {
  return static_cast<int>(broadcastList_.size());
}

std::shared_ptr<ui::TableViewCell> BroadcastListViewController::tableViewCellForRowAtIndexPath(
    ui::TableView& tableView, ui::IndexPath ip) {
  auto cell = std::dynamic_pointer_cast<CustomCell>(tableView.dequeueReusableCell(kCellId));
  if (!cell) {
    cell = std::make_shared<CustomCell>(ui::TableViewCell::Style::kDefault, kCellId);
    cell->selectionStyle = ui::TableViewCell::SelectionStyle::kNone;
    cell->setBackgroundColor(ui::Color::white());
    cell->setCellView(std::make_shared<BroadcastCellView>());
  }
  if (auto view = std::dynamic_pointer_cast<BroadcastCellView>(cell->cellView())) {
    view->setShowShopName(showShopName);
    if (ip.row >= 0 && ip.row < static_cast<int>(broadcastList_.size())) {
      view->setDataModel(broadcastList_[static_cast<std::size_t>(ip.row)]);
    }
    view->setNeedsDisplay();
  }
  return cell;
}

std::optional<double> BroadcastListViewController::tableViewHeightForRowAtIndexPath(
    ui::TableView& /*tableView*/, ui::IndexPath ip) {
  if (ip.row < 0 || ip.row >= static_cast<int>(broadcastList_.size())) return std::nullopt;
  return BroadcastCellView::heightOfCell(*broadcastList_[static_cast<std::size_t>(ip.row)]);
}

void BroadcastListViewController::tableViewDidSelectRowAtIndexPath(ui::TableView& tableView,
                                                                   ui::IndexPath ip) {
  tableView.deselectRowAtIndexPath(ip, true);
  if (ip.row < 0 || ip.row >= static_cast<int>(broadcastList_.size())) return;
  const auto& b = *broadcastList_[static_cast<std::size_t>(ip.row)];
  auto shop = std::make_shared<ShopInfo>();
  shop->setShopId(b.shopId());
  shop->setStrName(b.shopName());
  viewShopInfo(std::move(shop));
}

void BroadcastListViewController::scrollViewDidScroll(ui::ScrollView& scrollView) {
  if (refreshHeaderView_) refreshHeaderView_->refreshScrollViewDidScroll(scrollView);
  LKTableViewController::scrollViewDidScroll(scrollView);
}

void BroadcastListViewController::scrollViewDidEndDragging(ui::ScrollView& scrollView,
                                                           bool decelerate) {
  if (refreshHeaderView_) refreshHeaderView_->refreshScrollViewDidEndDragging(scrollView);
  LKTableViewController::scrollViewDidEndDragging(scrollView, decelerate);
}

void BroadcastListViewController::refreshTableHeaderDidTriggerRefresh(
    LKRefreshTableHeaderView& /*view*/) {
  isRefreshing_ = true;
  refresh();
}

bool BroadcastListViewController::refreshTableHeaderDataSourceIsLoading(
    LKRefreshTableHeaderView& /*view*/) {
  return isRefreshing_;
}

std::optional<std::chrono::system_clock::time_point>
BroadcastListViewController::refreshTableHeaderDataSourceLastUpdated(
    LKRefreshTableHeaderView& /*view*/) {
  return std::chrono::system_clock::now();
}

}  // namespace lk

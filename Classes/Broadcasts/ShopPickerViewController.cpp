#include "Classes/Broadcasts/ShopPickerViewController.h"

#include "Classes/Account/LoginViewController.h"
#include "Classes/Broadcasts/ComposeBroadcastViewController.h"
#include "Classes/Broadcasts/ComposeLogin.h"
#include "Classes/Broadcasts/ShopPickerCellView.h"
#include "Classes/Json/JsonValue.h"
#include "Classes/LocalState/CacheCenter.h"
#include "Classes/Location/LKLocation.h"
#include "Classes/Location/LocationNotifications.h"
#include "Classes/Location/LocationService.h"
#include "Classes/Records/ShopInfo.h"
#include "Classes/ServiceClient/FormValue.h"
#include "Classes/ServiceClient/HttpRequest.h"
#include "Classes/ServiceClient/ServiceAnswer.h"
#include "Classes/ServiceClient/ServiceEndpoints.h"
#include "Classes/Toolkit/AlertCenter.h"
#include "Classes/Toolkit/CustomCell.h"
#include "Classes/Toolkit/LKSearchBar.h"
#include "Classes/Util/TextTrimming.h"
#include "Classes/Util/Utility.h"
#include "Platform/Log/Log.h"
#include "Platform/UI/NavigationController.h"
#include "Platform/UI/TableViewCell.h"

namespace lk {

namespace {

constexpr const char* kCellId = "Cell";

int currentCityId() {
  const auto city = CacheCenter::sharedInstance().currentCity();
  return city ? city->id() : 0;
}

bool hasPosition(const std::shared_ptr<LKLocation>& location) {
  return location && !location->x().empty() && !location->y().empty();
}

}  // namespace

ShopPickerViewController::ShopPickerViewController() = default;

ShopPickerViewController::~ShopPickerViewController() {
  locationObservers_.clear();
  request_.reset();
  if (searchBar_) searchBar_->delegate = nullptr;
}

std::shared_ptr<ShopInfo> ShopPickerViewController::shopFromEntry(
    const boost::json::object& entry) {
  auto shop = std::make_shared<ShopInfo>();
  shop->setShopId(json::textMember(entry, "shop_id"));
  shop->setStrName(Utility::removeTag("em", json::textMember(entry, "shop_name")));
  shop->setStrAddress(Utility::removeTag("em", json::textMember(entry, "address")));
  // Metres, as every search answer gives them.
  shop->setDistance(json::floatMember(entry, "distance"));
  return shop;
}

// ---------------------------------------------------------------------------------------------
// Requests

std::optional<std::string> ShopPickerViewController::searchURL() const {
  const std::string base = ServiceEndpoints::serviceURL();
  const int locatedCity =
      location_ && location_->cityId() != 0 ? location_->cityId() : currentCityId();
  if (!what_) {
    if (!hasPosition(location_) || locatedCity == 0) return std::nullopt;
    return strprintf("%s/search/0/q?ci=%d&x=%s&y=%s&sd=%f&sort=4&p=%d&n=%d&sortm=0", base.c_str(),
                     locatedCity, FormValue::escape(location_->x()).c_str(),
                     FormValue::escape(location_->y()).c_str(), kNearbyRadius, currentPage_,
                     kPageSize);
  }
  const std::string k = FormValue::escape(*what_);
  if (hasPosition(location_) && locatedCity != 0) {
    return strprintf("%s/search/0/q?ci=%d&x=%s&y=%s&k=%s&p=%d&n=%d&sortm=0", base.c_str(),
                     locatedCity, FormValue::escape(location_->x()).c_str(),
                     FormValue::escape(location_->y()).c_str(), k.c_str(), currentPage_, kPageSize);
  }
  if (currentCityId() == 0) return std::nullopt;
  return strprintf("%s/search/0/q?ci=%d&k=%s&p=%d&n=%d&sortm=0", base.c_str(), currentCityId(),
                   k.c_str(), currentPage_, kPageSize);
}

std::string ShopPickerViewController::nodataPrompt() const {
  if (what_) return strprintf(kNamedPrompt, what_->c_str());
  return kNearbyPrompt;
}

void ShopPickerViewController::startNearbySearch() {
  if (isViewLoaded()) showLoading();
  auto& center = NotificationCenter::defaultCenter();
  locationObservers_.clear();
  locationObservers_.push_back(
      center.addObserver(kLocationSuccessed, [this](const Notification&) { locationSuccessed(); }));
  locationObservers_.push_back(
      center.addObserver(kLocationFailed, [this](const Notification&) { locationFailed(); }));
  locating_ = true;
  LocationService::sharedInstance().startLocation();
}

void ShopPickerViewController::locationSuccessed() {
  locating_ = false;
  location_ = LocationService::sharedInstance().location();
  // A search by name keeps its results; the position serves its next pages and searches.
  if (what_) return;
  clearResults();
  requestPage();
}

void ShopPickerViewController::locationFailed() {
  if (!locating_) return;
  locating_ = false;
  hideLoading();
  AlertCenter::sharedInstance().showAlertWithTitle(std::string(kLocationFailedTitle),
                                                   std::string(kLocationFailedMessage));
}

void ShopPickerViewController::clearResults() {
  request_.reset();
  currentPage_ = 0;
  shopList_.clear();
  if (tableView()) tableView()->reloadData();
  noMoreData();
  if (nodataView) nodataView->removeFromSuperview();
}

void ShopPickerViewController::requestPage() {
  if (currentPage_ == 0) {
    isPullLoadMore = true;
    const bool loadingShown = loadingView && loadingView->superview() != nullptr;
    if (isViewLoaded() && !loadingShown) showLoading();
  }
  const auto url = searchURL();
  if (!url) {
    logLine("Shop picker search without a position or a city");
    endPage(currentPage_ == 0);
    return;
  }
  request_ = std::make_unique<HttpRequest>(static_cast<HttpRequestDelegate*>(this), currentPage_);
  request_->requestGETWithGZip(*url);
}

void ShopPickerViewController::startLoadingData() {
  // The page asked for is on its way: a second pull asks for nothing.
  if (request_) {
    scheduleFinishLoadingData();
    return;
  }
  requestPage();
}

void ShopPickerViewController::searchBarSearch(LKSearchBar& bar) {
  std::string text = trimmedText(bar.textField()->text());
  clearResults();
  if (text.empty()) {
    what_.reset();
  } else {
    what_ = std::move(text);
  }
  hideKeyboard();
  if (!what_ && !hasPosition(location_)) {
    startNearbySearch();
    return;
  }
  requestPage();
}

void ShopPickerViewController::hideKeyboard() {
  if (searchBar_) searchBar_->resignFirstResponder();
}

// ---------------------------------------------------------------------------------------------
// Answers

void ShopPickerViewController::requestSucceeded(HttpRequest& request) {
  if (&request != request_.get()) return;
  const bool firstPage = std::any_cast<int>(request.extraData()) == 0;
  auto answer = readJsonAnswer(request, AnswerEncoding::kCompressed);
  if (!answer) {
    if (isAnswerStep(answer.error(), AnswerStep::kStatus)) {
      logf("Request failed, code = %d", request.statusCode());
    } else {
      logf("Request shop info, error:%s", answer.error().description.c_str());
    }
    noMoreData();
    endPage(firstPage);
    return;
  }
  std::size_t received = 0;
  if (const auto* list = json::arrayMember(*answer, "searchlist")) {
    received = list->size();
    for (const auto& entry : *list) {
      if (entry.is_object()) shopList_.push_back(shopFromEntry(entry.get_object()));
    }
  }
  if (received == static_cast<std::size_t>(kPageSize)) {
    addPullLoadMore();
  } else {
    noMoreData();
  }
  ++currentPage_;
  if (tableView()) tableView()->reloadData();
  endPage(firstPage);
  // Only a decoded answer tells that there is nothing here.
  updateNodata();
}

void ShopPickerViewController::requestFailed(HttpRequest& request, const PlatformError& error) {
  if (&request != request_.get()) return;
  const bool firstPage = std::any_cast<int>(request.extraData()) == 0;
  logf("Request shop info failed, error = %s (%d)", error.domain.c_str(), error.code);
  endPage(firstPage);
}

void ShopPickerViewController::endPage(bool firstPage) {
  request_.reset();
  scheduleFinishLoadingData();
  if (firstPage) hideLoading();
}

void ShopPickerViewController::updateNodata() {
  if (!shopList_.empty()) {
    if (nodataView) nodataView->removeFromSuperview();
    return;
  }
  if (!isViewLoaded()) return;
  if (!nodataView) {
    nodataView = std::make_shared<LKNodataView>(
        ui::Rect{0, kSearchBarHeight, 320, 416 - kSearchBarHeight}, nodataPrompt());
  }
  nodataView->setPrompt(nodataPrompt());
  addSubview(nodataView);
}

// ---------------------------------------------------------------------------------------------
// Life cycle

void ShopPickerViewController::loadView() {
  isPullLoadMore = true;
  LKTableViewController::loadView();
  searchBar_ = std::make_shared<LKSearchBar>(ui::Rect{0, 0, 320, kSearchBarHeight}, this, nullptr);
  searchBar_->setPlaceHolder(kPlaceholder);
  searchBar_->isAlwaysHideHistoryButton = true;
  searchBar_->hideHistoryButton();
  addSubview(searchBar_);
  if (tableView()) {
    tableView()->setFrame(ui::Rect{0, kSearchBarHeight, 320, 416 - kSearchBarHeight});
  }
}

void ShopPickerViewController::viewDidLoad() {
  LKTableViewController::viewDidLoad();
  setTitle(kTitle);
  navigationItem().leftBarButtonItem =
      buttonItemWithTitle(kCancelTitle, &ShopPickerViewController::cancel, this);
  if (pushLoginIfNeeded(*this, this)) return;
  startNearbySearch();
}

void ShopPickerViewController::viewDidUnload() {
  if (searchBar_) searchBar_->delegate = nullptr;
  searchBar_.reset();
  LKTableViewController::viewDidUnload();
}

void ShopPickerViewController::loginSucceed(LoginViewController& login) {
  popLogin(*this, login);
  startNearbySearch();
}

void ShopPickerViewController::cancel() {
  request_.reset();
  dismissModalViewController(true);
}

// ---------------------------------------------------------------------------------------------
// The list

int ShopPickerViewController::tableViewNumberOfRowsInSection(ui::TableView& /*tableView*/,
                                                             int /*section*/) {
  return static_cast<int>(shopList_.size());
}

std::shared_ptr<ui::TableViewCell> ShopPickerViewController::tableViewCellForRowAtIndexPath(
    ui::TableView& tableView, ui::IndexPath ip) {
  auto cell = std::dynamic_pointer_cast<CustomCell>(tableView.dequeueReusableCell(kCellId));
  if (!cell) {
    cell = std::make_shared<CustomCell>(ui::TableViewCell::Style::kDefault, kCellId);
    cell->setCellView(std::make_shared<ShopPickerCellView>());
  }
  if (auto view = std::dynamic_pointer_cast<ShopPickerCellView>(cell->cellView())) {
    // The distance tells only around the user, not for shops found by name.
    view->showDistance = !what_;
    if (ip.row >= 0 && ip.row < static_cast<int>(shopList_.size())) {
      view->setDataModel(shopList_[static_cast<std::size_t>(ip.row)]);
    }
    view->setNeedsDisplay();
  }
  return cell;
}

std::optional<double> ShopPickerViewController::tableViewHeightForRowAtIndexPath(
    ui::TableView& /*tableView*/, ui::IndexPath ip) {
  if (ip.row < 0 || ip.row >= static_cast<int>(shopList_.size())) return std::nullopt;
  return ShopPickerCellView::heightOfCell(*shopList_[static_cast<std::size_t>(ip.row)]);
}

void ShopPickerViewController::tableViewDidSelectRowAtIndexPath(ui::TableView& tableView,
                                                                ui::IndexPath ip) {
  tableView.deselectRowAtIndexPath(ip, true);
  auto* stack = navigationController();
  if (stack == nullptr || ip.row < 0 || ip.row >= static_cast<int>(shopList_.size())) return;
  auto editor = std::make_shared<ComposeBroadcastViewController>();
  editor->setShopInfo(shopList_[static_cast<std::size_t>(ip.row)]);
  stack->pushViewController(editor, true);
}

void ShopPickerViewController::scrollViewDidEndDragging(ui::ScrollView& scrollView,
                                                        bool decelerate) {
  hideKeyboard();
  LKTableViewController::scrollViewDidEndDragging(scrollView, decelerate);
}

}  // namespace lk

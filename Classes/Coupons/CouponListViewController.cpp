#include "Classes/Coupons/CouponListViewController.h"

#include "Classes/Coupons/CouponInfoViewController.h"
#include "Classes/Coupons/CouponListCellView.h"
#include "Classes/Coupons/CouponListHeaderView.h"
#include "Classes/Coupons/CouponNotifications.h"
#include "Classes/Coupons/NearbyCouponViewController.h"
#include "Classes/Json/JsonValue.h"
#include "Classes/LocalState/CacheCenter.h"
#include "Classes/Records/Channel.h"
#include "Classes/Records/Coupon.h"
#include "Classes/Records/CouponList.h"
#include "Classes/ServiceClient/HttpRequest.h"
#include "Classes/ServiceClient/ServiceAnswer.h"
#include "Classes/ServiceClient/ServiceEndpoints.h"
#include "Classes/Toolkit/AlertCenter.h"
#include "Classes/Toolkit/CustomCell.h"
#include "Platform/Log/Log.h"
#include "Platform/UI/Application.h"
#include "Platform/UI/NavigationController.h"
#include "Platform/UI/TableViewCell.h"
#include "Platform/UI/ViewAnimator.h"
#include "Platform/UI/Window.h"

namespace lk {

namespace {

constexpr const char* kCellId = "Cell";

}  // namespace

CouponListViewController::CouponListViewController() = default;

CouponListViewController::~CouponListViewController() {
  observers_.clear();
  couponRequest_.reset();
  channelRequest_.reset();
  if (picker_) {
    picker_->setTarget(nullptr);
    picker_->setDataSource(nullptr);
    picker_->setPickerDelegate(nullptr);
    picker_->hideWithAnimation(false);
  }
  if (cancelView_) cancelView_->removeFromSuperview();
}

// ---------------------------------------------------------------------------------------------
// Requests

std::optional<std::string> CouponListViewController::couponURL() const {
  const auto city = CacheCenter::sharedInstance().currentCity();
  if (!city || city->id() == 0) return std::nullopt;
  return strprintf("%s/coupon/%d/showlist?order=%s&p=%d&n=%d&xda_from=iPhone&xda_page=Coupon",
                   ServiceEndpoints::serviceURL().c_str(), city->id(),
                   sortType_ == kHottest ? "hot" : "new", currentPage_, kPageSize);
}

void CouponListViewController::requestCoupon() {
  // A page already asked for is not asked for again.
  if (couponRequest_) return;
  const auto url = couponURL();
  if (!url) {
    logLine("Coupon list without a current city");
    return;
  }
  if (currentPage_ == 0) showLoading();
  sendCouponRequest(*url);
}

void CouponListViewController::sendCouponRequest(const std::string& url) {
  couponRequest_ = std::make_unique<HttpRequest>(this, kCouponRequest);
  couponRequest_->requestGETWithGZip(url);
}

void CouponListViewController::requestChannel() {
  const auto city = CacheCenter::sharedInstance().currentCity();
  if (!city || city->id() == 0 || channelRequest_) return;
  channelRequest_ = std::make_unique<HttpRequest>(this, kChannelRequest);
  channelRequest_->requestGETWithGZip(
      strprintf("%s/index/%d/catmore", ServiceEndpoints::serviceURL().c_str(), city->id()));
}

void CouponListViewController::checkData() {
  if (couponList_.empty() && !couponRequest_) requestCoupon();
}

void CouponListViewController::startLoadingData() {
  requestCoupon();
}

void CouponListViewController::cleanAll() {
  couponRequest_.reset();
  currentPage_ = 0;
  couponList_.clear();
  isPullLoadMore = true;
  if (tableView()) tableView()->reloadData();
}

// ---------------------------------------------------------------------------------------------
// Answers

void CouponListViewController::requestSucceeded(HttpRequest& request) {
  if (&request == couponRequest_.get()) {
    couponAnswered(request);
  } else if (&request == channelRequest_.get()) {
    channelAnswered(request);
  }
}

void CouponListViewController::couponAnswered(HttpRequest& request) {
  const bool decoded = readCouponPage(request);
  couponRequest_.reset();
  scheduleFinishLoadingData();
  updateNodata(decoded);
}

bool CouponListViewController::readCouponPage(HttpRequest& request) {
  auto answer = readJsonAnswer(request, AnswerEncoding::kCompressed);
  if (!answer) {
    logf("Request coupon list, error:%s", answer.error().description.c_str());
    // The service answered with an error: say so rather than show an empty city.
    if (isAnswerStep(answer.error(), AnswerStep::kStatus)) {
      AlertCenter::sharedInstance().showAlertWithErrorCode(request.statusCode());
    }
    return false;
  }
  std::vector<std::shared_ptr<CouponList>> rows;
  std::size_t answered = 0;
  if (const auto* list = json::arrayMember(*answer, "list")) {
    answered = list->size();
    for (const auto& entry : *list) {
      rows.push_back(CouponList::fromCouponListEntry(entry.is_object() ? entry.get_object()
                                                                       : boost::json::object()));
    }
  }
  appendRows(std::move(rows), answered);
  return true;
}

void CouponListViewController::appendRows(std::vector<std::shared_ptr<CouponList>> rows,
                                          std::size_t answered) {
  for (auto& row : rows)
    couponList_.push_back(std::move(row));
  if (answered == static_cast<std::size_t>(kPageSize)) {
    addPullLoadMore();
  } else {
    noMoreData();
  }
  ++currentPage_;
  if (tableView()) tableView()->reloadData();
}

void CouponListViewController::updateNodata(bool decoded) {
  if (!couponList_.empty() || !showsNodataAfter(decoded)) {
    if (nodataView) nodataView->removeFromSuperview();
  } else if (isViewLoaded()) {
    if (!nodataView) nodataView = std::make_shared<LKNodataView>(ui::Rect{0, 0, 320, 367}, "");
    nodataView->setPrompt(nodataPrompt());
    addSubview(nodataView);
  }
  hideLoading();
}

void CouponListViewController::channelAnswered(HttpRequest& request) {
  auto answer = readJsonAnswer(request, AnswerEncoding::kCompressed);
  channelRequest_.reset();
  if (!answer) {
    logf("Request coupon categories, error:%s", answer.error().description.c_str());
    return;
  }
  if (const auto* list = json::arrayMember(*answer, "list")) {
    for (const auto& entry : *list) {
      if (!entry.is_object()) continue;
      const auto& node = entry.get_object();
      channelList_.push_back(
          std::make_shared<Channel>(json::intMember(node, "id"), json::stringMember(node, "name")));
    }
  }
  if (picker_) picker_->reloadAllComponents();
}

void CouponListViewController::requestFailed(HttpRequest& request, const PlatformError& error) {
  if (&request == couponRequest_.get()) {
    couponRequest_.reset();
    scheduleFinishLoadingData();
    hideLoading();
    if (nodataView) nodataView->removeFromSuperview();
    reportFailure(error);
  } else if (&request == channelRequest_.get()) {
    channelRequest_.reset();
  }
}

void CouponListViewController::reportFailure(const PlatformError& error) {
  AlertCenter::sharedInstance().showAlertWithErrorCode(error.code);
}

// ---------------------------------------------------------------------------------------------
// Orders, city and the nearby list

bool CouponListViewController::isTopOfStack() const {
  auto* nav = navigationController();
  return nav != nullptr && nav->topViewController() == this;
}

void CouponListViewController::switchOrder(int sortType) {
  if (!isTopOfStack()) return;
  couponRequest_.reset();
  couponList_.clear();
  currentPage_ = 0;
  if (tableView()) tableView()->reloadData();
  sortType_ = sortType;
  isPullLoadMore = true;
  requestCoupon();
}

void CouponListViewController::switchToHotestList() {
  switchOrder(kHottest);
}

void CouponListViewController::switchToNewestList() {
  switchOrder(kNewest);
}

void CouponListViewController::cityChanged() {
  // The categories on the wheel belonged to the earlier city's list.
  if (isChooserShown()) picker_->cancelAction();
  cleanAll();
  requestCoupon();
}

void CouponListViewController::nearbyCoupon() {
  auto* nav = navigationController();
  if (nav == nullptr) return;
  nav->pushViewController(std::make_shared<NearbyCouponViewController>(), true);
}

void CouponListViewController::openCoupon(const CouponList& row) {
  auto* nav = navigationController();
  if (nav == nullptr) return;
  auto coupon = std::make_shared<Coupon>();
  coupon->setCouponId(row.couponId());
  coupon->setType(row.type());
  nav->pushViewController(
      std::make_shared<CouponInfoViewController>(std::vector<std::shared_ptr<Coupon>>{coupon}),
      true);
}

// ---------------------------------------------------------------------------------------------
// The chooser

bool CouponListViewController::isChooserShown() const {
  return picker_ && picker_->isShown();
}

void CouponListViewController::selectChannel() {
  if (!isTopOfStack() || !picker_ || isChooserShown()) return;
  // A category request that failed earlier is tried again, so the wheel does not stay empty.
  if (channelList_.empty()) requestChannel();
  ui::Window* window = ui::Application::shared().keyWindow();
  if (window == nullptr) return;
  confirmedTitle_ = header_ ? header_->buttonTitle() : std::string();
  cancelView_->setAlpha(0);
  window->addSubview(cancelView_);
  ui::ViewAnimator::animate(cancelView_, kChooserSeconds, {.alpha = kDimmedAlpha}, {},
                            ui::Animation::Curve::kEaseInOut, "dim");
  picker_->showInView(*view(), true);
}

void CouponListViewController::hideChooser() {
  if (picker_) picker_->hideWithAnimation(true);
  if (cancelView_) {
    cancelView_->removeAllAnimations();
    cancelView_->removeFromSuperview();
    cancelView_->setAlpha(1);
  }
}

void CouponListViewController::cancelPick(VSPickerView& /*picker*/) {
  hideChooser();
  // Nothing was chosen: the button shows what is in force again.
  if (header_ && !channelTitle_.empty()) header_->setButtonTitle(confirmedTitle_);
  channelTitle_.clear();
}

void CouponListViewController::touchCancelView() {
  // As "取消": the wheel goes back to the last confirmed row.
  if (picker_ && picker_->isShown()) picker_->cancelAction();
}

void CouponListViewController::finishPick(VSPickerView& /*picker*/) {
  hideChooser();
  cleanAll();
  requestCoupon();
  // Without a turn of the wheel nothing new was picked and the button keeps its label.
  if (header_ && !channelTitle_.empty()) header_->setButtonTitle(channelTitle_);
  channelTitle_.clear();
}

int CouponListViewController::numberOfComponentsInPickerView(ui::PickerView& /*picker*/) {
  return 1;
}

int CouponListViewController::pickerViewNumberOfRowsInComponent(ui::PickerView& /*picker*/,
                                                                int /*component*/) {
  return static_cast<int>(channelList_.size());
}

std::string CouponListViewController::pickerViewTitleForRow(ui::PickerView& /*picker*/, int row,
                                                            int /*component*/) {
  if (row < 0 || row >= static_cast<int>(channelList_.size())) return {};
  return channelList_[static_cast<std::size_t>(row)]->nameText();
}

void CouponListViewController::pickerViewDidSelectRow(ui::PickerView& /*picker*/, int row,
                                                      int /*component*/) {
  if (row < 0 || row >= static_cast<int>(channelList_.size())) return;
  channelTitle_ = channelList_[static_cast<std::size_t>(row)]->nameText();
  if (header_) header_->setButtonTitle(channelTitle_);
}

// ---------------------------------------------------------------------------------------------
// Life cycle

void CouponListViewController::loadView() {
  isPullLoadMore = true;
  LKTableViewController::loadView();
  if (hasHeader()) {
    navigationItem().rightBarButtonItem =
        buttonItemWithTitle(kNearbyTitle, &CouponListViewController::nearbyCoupon, this);
    header_ = std::make_shared<CouponListHeaderView>();
    addSubview(header_);
  }
  picker_ = std::make_shared<VSPickerView>();
  picker_->setTarget(this);
  picker_->setDataSource(this);
  picker_->setPickerDelegate(this);
  picker_->reloadAllComponents();
  cancelView_ = std::make_shared<ui::View>(ui::Rect{0, 0, 320, 220});
  cancelView_->setBackgroundColor(ui::Color::black());
  cancelView_->setTapHandler([this](ui::View&) { touchCancelView(); });
}

void CouponListViewController::initTableView() {
  auto table =
      std::make_shared<ui::TableView>(ui::Rect{0, 0, 320, 367}, ui::TableView::Style::kPlain);
  table->separatorStyle = ui::TableView::SeparatorStyle::kNone;
  table->setBackgroundColor(ui::Color::clear());
  table->setDataSource(this);
  table->setTableDelegate(this);
  // The first row starts below the header bar that lies over the list.
  if (hasHeader()) {
    table->setTableHeaderView(
        std::make_shared<ui::View>(ui::Rect{0, 0, 320, CouponListHeaderView::kHeight}));
  }
  setTableView(std::move(table));
}

void CouponListViewController::viewDidLoad() {
  LKTableViewController::viewDidLoad();
  if (title().empty()) setTitle("优惠");
  observeNotifications();
  couponList_.clear();
  channelList_.clear();
  sortType_ = kHottest;
  // Set before the first page: a cached answer arrives within the request.
  loadingUpText = kLoadingUpText;
  loadingReleaseText = kLoadingReleaseText;
  requestCoupon();
  requestChannel();
}

void CouponListViewController::viewDidUnload() {
  observers_.clear();
  if (picker_) {
    picker_->setTarget(nullptr);
    picker_->setDataSource(nullptr);
    picker_->setPickerDelegate(nullptr);
    picker_->hideWithAnimation(false);
    picker_.reset();
  }
  if (cancelView_) cancelView_->removeFromSuperview();
  cancelView_.reset();
  header_.reset();
  LKTableViewController::viewDidUnload();
}

void CouponListViewController::observeNotifications() {
  observers_.clear();
  auto& center = NotificationCenter::defaultCenter();
  observers_.push_back(
      center.addObserver(kCityChanged, [this](const Notification&) { cityChanged(); }));
  observers_.push_back(
      center.addObserver(kCouponSelectChannel, [this](const Notification&) { selectChannel(); }));
  observers_.push_back(center.addObserver(kCouponSwitchToNewestList,
                                          [this](const Notification&) { switchToNewestList(); }));
  observers_.push_back(center.addObserver(kCouponSwitchToHotestList,
                                          [this](const Notification&) { switchToHotestList(); }));
}

// ---------------------------------------------------------------------------------------------
// The list

int CouponListViewController::tableViewNumberOfRowsInSection(ui::TableView& /*tableView*/,
                                                             int /*section*/) {
  return static_cast<int>(couponList_.size());
}

std::shared_ptr<ui::TableViewCell> CouponListViewController::tableViewCellForRowAtIndexPath(
    ui::TableView& tableView, ui::IndexPath ip) {
  auto cell = std::dynamic_pointer_cast<CustomCell>(tableView.dequeueReusableCell(kCellId));
  if (!cell) {
    cell = std::make_shared<CustomCell>(ui::TableViewCell::Style::kDefault, kCellId);
    cell->selectionStyle = ui::TableViewCell::SelectionStyle::kGray;
    cell->setBackgroundColor(ui::Color::white());
    cell->setCellView(std::make_shared<CouponListCellView>());
  }
  if (auto view = std::dynamic_pointer_cast<CouponListCellView>(cell->cellView())) {
    view->setShowCount(sortType_ == kHottest);
    if (ip.row >= 0 && ip.row < static_cast<int>(couponList_.size())) {
      view->setDataModel(couponList_[static_cast<std::size_t>(ip.row)]);
    }
    view->setNeedsDisplay();
  }
  return cell;
}

std::optional<double> CouponListViewController::tableViewHeightForRowAtIndexPath(
    ui::TableView& /*tableView*/, ui::IndexPath /*ip*/) {
  return kRowHeight;
}

void CouponListViewController::tableViewDidSelectRowAtIndexPath(ui::TableView& tableView,
                                                                ui::IndexPath ip) {
  tableView.deselectRowAtIndexPath(ip, true);
  if (ip.row < 0 || ip.row >= static_cast<int>(couponList_.size())) return;
  openCoupon(*couponList_[static_cast<std::size_t>(ip.row)]);
}

}  // namespace lk

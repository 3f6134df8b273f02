#include "Classes/Coupons/CouponInfoViewController.h"

#include <algorithm>

#include "Classes/Account/LKPopupTextField.h"
#include "Classes/Coupons/CouponInfoCellView.h"
#include "Classes/Coupons/CouponNotifications.h"
#include "Classes/Coupons/MobileNumber.h"
#include "Classes/Json/JsonValue.h"
#include "Classes/Records/Coupon.h"
#include "Classes/Records/ShopInfo.h"
#include "Classes/ServiceClient/FormValue.h"
#include "Classes/ServiceClient/HttpRequest.h"
#include "Classes/ServiceClient/ServiceAnswer.h"
#include "Classes/ServiceClient/ServiceEndpoints.h"
#include "Classes/Shop/ShopInfoViewController.h"
#include "Classes/Toolkit/AlertCenter.h"
#include "Classes/Toolkit/CustomCell.h"
#include "Platform/Device/DeviceInfo.h"
#include "Platform/Log/Log.h"
#include "Platform/UI/Button.h"
#include "Platform/UI/Label.h"
#include "Platform/UI/NavigationController.h"
#include "Platform/UI/TableViewCell.h"

namespace lk {

namespace {

constexpr const char* kOfferCellId = "CouponInfoCell";
constexpr const char* kPeriodCellId = "CouponPeriodCell";
constexpr const char* kShopCellId = "CouponShopCell";
constexpr const char* kAllShopsCellId = "CouponAllShopsCell";
const ui::Color kRed{0.8, 0, 0, 1};
const ui::Color kShopNameColor{0, 0.412, 0.69, 1};
const ui::Color kAddressColor = ui::Color::rgb(150, 150, 150);
constexpr double kPeriodRowHeight = 60;
constexpr double kShopRowHeight = 60;
constexpr double kAllShopsRowHeight = 40;
constexpr double kShopHeaderHeight = 35;
constexpr double kSmsFooterHeight = 50;

std::shared_ptr<ui::Label> label(ui::Rect frame, const ui::Font& font, const ui::Color& color) {
  auto l = std::make_shared<ui::Label>(frame);
  l->setFont(font);
  l->setTextColor(color);
  l->setBackgroundColor(ui::Color::clear());
  return l;
}

const CouponRequestTag* tagOf(const HttpRequest& request) {
  return std::any_cast<CouponRequestTag>(&request.extraData());
}

}  // namespace

CouponInfoViewController::CouponInfoViewController(std::vector<std::shared_ptr<Coupon>> coupons)
    : couponList_(std::move(coupons)), arrived_(couponList_.size(), false) {}

CouponInfoViewController::~CouponInfoViewController() {
  showAllObserver_.reset();
  // Pending answers would reach a screen that is gone: they end with it.
  infoRequests_.clear();
  smsRequests_.clear();
  if (phonePrompt_) {
    phonePrompt_->setDelegate(nullptr);
    if (auto field = phonePrompt_->textField()) field->setDelegate(nullptr);
    if (phonePrompt_->isVisible()) phonePrompt_->removeFromSuperview();
  }
  if (tableView_) {
    tableView_->setDataSource(nullptr);
    tableView_->setTableDelegate(nullptr);
  }
}

// ---------------------------------------------------------------------------------------------
// Offers shown

std::vector<std::shared_ptr<Coupon>> CouponInfoViewController::shownCoupons() const {
  std::vector<std::shared_ptr<Coupon>> shown;
  for (std::size_t i = 0; i < couponList_.size(); ++i) {
    if (arrived_[i]) shown.push_back(couponList_[i]);
  }
  return shown;
}

std::optional<int> CouponInfoViewController::indexWithCouponId(const std::string& couponId) const {
  const auto shown = shownCoupons();
  for (std::size_t i = 0; i < shown.size(); ++i) {
    if (shown[i]->couponId() == couponId) return static_cast<int>(i);
  }
  return std::nullopt;
}

int CouponInfoViewController::shopSection() const {
  return static_cast<int>(shownCoupons().size());
}

std::shared_ptr<Coupon> CouponInfoViewController::couponInSection(int section) const {
  const auto shown = shownCoupons();
  if (section < 0 || section >= static_cast<int>(shown.size())) return nullptr;
  return shown[static_cast<std::size_t>(section)];
}

std::shared_ptr<Coupon> CouponInfoViewController::shopCoupon() const {
  if (!displayShop) return nullptr;
  return couponInSection(0);
}

int CouponInfoViewController::shownShopRows() const {
  const auto coupon = shopCoupon();
  if (!coupon) return 0;
  const int shops = static_cast<int>(coupon->shopList().size());
  if (shops > kCollapsedShops && !showAllShop_) return kCollapsedShops + 1;
  return shops;
}

// ---------------------------------------------------------------------------------------------
// Life cycle

void CouponInfoViewController::loadView() {
  LKNavigationController::loadView();
  setTitle(kTitle);
  tableView_ = std::make_shared<ui::TableView>(ui::Rect{0, 0, 320, displayShop ? 367.0 : 416.0},
                                               ui::TableView::Style::kGrouped);
  tableView_->separatorStyle = ui::TableView::SeparatorStyle::kNone;
  tableView_->setBackgroundColor(ui::Color::clear());
  tableView_->setDataSource(this);
  tableView_->setTableDelegate(this);
  addSubview(tableView_);
}

void CouponInfoViewController::viewDidLoad() {
  LKNavigationController::viewDidLoad();
  showAllObserver_ = NotificationCenter::defaultCenter().addObserver(
      kCouponShowAllInfo, [this](const Notification& n) { showAllInfo(n); });
  if (!loadingView_) loadingView_ = std::make_shared<LoadingView>();
  view()->addSubview(loadingView_);
  // Copied: a cached answer arrives within the request and changes the list of requests.
  const std::vector<std::shared_ptr<Coupon>> coupons = couponList_;
  for (std::size_t i = 0; i < coupons.size(); ++i) {
    const auto& coupon = coupons[i];
    if (coupon->couponId().empty()) {
      logLine("Coupon detail without an id");
      continue;
    }
    CouponRequestTag tag{CouponRequestTag::kDetail, static_cast<int>(i), coupon->couponId()};
    infoRequests_.push_back(std::make_unique<HttpRequest>(this, tag));
    infoRequests_.back()->requestGETWithGZip(
        strprintf("%s/coupon/%s/info?gt=%d", ServiceEndpoints::serviceURL().c_str(),
                  FormValue::escape(coupon->couponId()).c_str(), coupon->type()));
  }
  if (infoRequests_.empty()) hideLoading();
}

void CouponInfoViewController::viewDidUnload() {
  showAllObserver_.reset();
  // Pending details end with the view; SMS on their way still arrive.
  infoRequests_.clear();
  if (tableView_) {
    tableView_->setDataSource(nullptr);
    tableView_->setTableDelegate(nullptr);
  }
  tableView_.reset();
  LKNavigationController::viewDidUnload();
}

void CouponInfoViewController::reload() {
  if (tableView_) tableView_->reloadData();
}

void CouponInfoViewController::hideLoading() {
  if (loadingView_) loadingView_->removeFromSuperview();
}

void CouponInfoViewController::updateBarButton() {
  const auto first = couponInSection(0);
  if (displayShop && first && first->hasSMS()) {
    const std::string id = first->couponId();
    navigationItem().rightBarButtonItem =
        buttonItemWithTitle(kSmsTitle, [this, id] { getSMS(id); });
  } else {
    navigationItem().rightBarButtonItem.reset();
  }
}

// ---------------------------------------------------------------------------------------------
// Answers

void CouponInfoViewController::requestSucceeded(HttpRequest& request) {
  const CouponRequestTag* tag = tagOf(request);
  if (tag == nullptr) return;
  const CouponRequestTag copy = *tag;
  if (copy.type == CouponRequestTag::kDetail) {
    detailAnswered(request, copy);
  } else {
    smsAnswered(request, copy);
  }
}

void CouponInfoViewController::detailAnswered(HttpRequest& request, const CouponRequestTag& tag) {
  auto answer = readJsonAnswer(request, AnswerEncoding::kCompressed);
  const auto index = static_cast<std::size_t>(tag.index);
  if (!answer) {
    logf("Request coupon info, error:%s", answer.error().description.c_str());
  } else if (index < couponList_.size() && couponList_[index]->couponId() == tag.couponId) {
    Coupon& coupon = *couponList_[index];
    coupon.setTopic(json::textMember(*answer, "strTopic"));
    coupon.setContent(json::textMember(*answer, "strContent"));
    coupon.setStartTime(json::intMember(*answer, "intStart"));
    coupon.setEndTime(json::intMember(*answer, "intEnd"));
    coupon.setHasSMS(json::boolMember(*answer, "isSms"));
    std::vector<std::shared_ptr<ShopInfo>> shops;
    if (const auto* list = json::arrayMember(*answer, "arrShopInUsing")) {
      for (const auto& entry : *list) {
        if (!entry.is_object()) continue;
        const auto& item = entry.get_object();
        auto shop = std::make_shared<ShopInfo>();
        shop->setShopId(json::textMember(item, "intShopId"));
        if (auto name = json::stringMember(item, "strShopName")) shop->setStrName(*name);
        if (auto address = json::stringMember(item, "strAddress")) shop->setStrAddress(*address);
        shops.push_back(std::move(shop));
      }
    }
    coupon.setShopList(std::move(shops));
    arrived_[index] = true;
    updateBarButton();
  }
  dropInfoRequest(request);
  reload();
  hideLoading();
}

void CouponInfoViewController::dropInfoRequest(const HttpRequest& request) {
  const auto it = std::find_if(infoRequests_.begin(), infoRequests_.end(),
                               [&](const auto& r) { return r.get() == &request; });
  if (it != infoRequests_.end()) infoRequests_.erase(it);
}

void CouponInfoViewController::smsAnswered(HttpRequest& request, const CouponRequestTag& tag) {
  logf("Send coupon sms:%s", request.recievedData().c_str());
  const auto it = smsRequests_.find(tag.couponId);
  if (it != smsRequests_.end() && it->second.get() == &request) smsRequests_.erase(it);
  reload();
  hideLoading();
}

void CouponInfoViewController::requestFailed(HttpRequest& request, const PlatformError& error) {
  const CouponRequestTag* tag = tagOf(request);
  if (tag == nullptr) return;
  const CouponRequestTag copy = *tag;
  if (copy.type == CouponRequestTag::kDetail) {
    dropInfoRequest(request);
    hideLoading();
    return;
  }
  const auto it = smsRequests_.find(copy.couponId);
  if (it != smsRequests_.end() && it->second.get() == &request) smsRequests_.erase(it);
  hideLoading();
  // The message never left the phone: the user must not take silence for success.
  AlertCenter::sharedInstance().showAlertWithErrorCode(error.code);
}

// ---------------------------------------------------------------------------------------------
// Sending by SMS

void CouponInfoViewController::getSMS(const std::string& couponId) {
  if (!indexWithCouponId(couponId) || isSmsPending(couponId)) return;
  selectedCouponId_ = couponId;
  // A new prompt starts empty: "发送" never sends the number typed for an earlier one.
  phoneNumber_.clear();
  if (phonePrompt_) {
    phonePrompt_->setDelegate(nullptr);
    if (auto field = phonePrompt_->textField()) field->setDelegate(nullptr);
    if (phonePrompt_->isVisible()) phonePrompt_->removeFromSuperview();
  }
  phonePrompt_ = std::make_shared<LKPopupTextField>(kPromptTitle, "\n", this, "取消",
                                                    std::vector<std::string>{"发送"});
  if (auto field = phonePrompt_->textField()) {
    field->keyboardType = 1;
    field->setDelegate(this);
  }
  phonePrompt_->showWithFocus();
}

void CouponInfoViewController::alertViewClickedButtonAtIndex(ui::AlertView& alert, int index) {
  if (&alert != phonePrompt_.get()) return;
  if (auto field = phonePrompt_->textField()) field->resignFirstResponder();
  if (index == alert.cancelButtonIndex()) return;
  sendSMS();
}

void CouponInfoViewController::sendSMS() {
  const auto number = MobileNumber::normalized(phoneNumber_);
  if (!number) {
    AlertCenter::sharedInstance().showAlertWithTitle("提示", kWrongNumber);
    return;
  }
  if (!indexWithCouponId(selectedCouponId_) || isSmsPending(selectedCouponId_)) return;
  auto request = std::make_unique<HttpRequest>(
      this, CouponRequestTag{CouponRequestTag::kSms, 0, selectedCouponId_});
  HttpRequest* raw = request.get();
  smsRequests_[selectedCouponId_] = std::move(request);
  raw->requestPOST(strprintf("%s/submit/%s/sendCouponSms", ServiceEndpoints::serviceURL().c_str(),
                             FormValue::escape(selectedCouponId_).c_str()),
                   HttpParameters{{"phone", *number}, {"xda_did", DeviceInfo::uniqueIdentifier()}});
}

bool CouponInfoViewController::textFieldShouldChangeCharactersInRange(
    ui::TextField& field, ui::TextRange /*range*/, const std::string& replacement) {
  return MobileNumber::acceptsEdit(field.text(), replacement);
}

void CouponInfoViewController::textFieldDidChange(ui::TextField& field) {
  phoneNumber_ = MobileNumber::trimmed(field.text());
}

// ---------------------------------------------------------------------------------------------
// Expanding an offer's text

void CouponInfoViewController::showAllInfo(const Notification& notification) {
  auto* nav = navigationController();
  if (nav == nullptr || nav->topViewController() != this) return;
  const auto* id = notification.info<std::string>(kCouponIdKey);
  // Only an offer this screen shows; its row height follows the text.
  if (id == nullptr || !indexWithCouponId(*id)) return;
  reload();
}

// ---------------------------------------------------------------------------------------------
// The table

int CouponInfoViewController::numberOfSectionsInTableView(ui::TableView& /*tableView*/) {
  const int offers = static_cast<int>(shownCoupons().size());
  return offers + (displayShop && offers > 0 ? 1 : 0);
}

int CouponInfoViewController::tableViewNumberOfRowsInSection(ui::TableView& /*tableView*/,
                                                             int section) {
  if (couponInSection(section)) return 2;
  if (section == shopSection()) return shownShopRows();
  return 0;
}

std::shared_ptr<ui::TableViewCell> CouponInfoViewController::tableViewCellForRowAtIndexPath(
    ui::TableView& tableView, ui::IndexPath ip) {
  if (auto coupon = couponInSection(ip.section)) {
    if (ip.row == 0) {
      auto cell =
          std::dynamic_pointer_cast<CustomCell>(tableView.dequeueReusableCell(kOfferCellId));
      if (!cell) {
        cell = std::make_shared<CustomCell>(ui::TableViewCell::Style::kDefault, kOfferCellId);
        cell->selectionStyle = ui::TableViewCell::SelectionStyle::kNone;
        cell->setCellView(std::make_shared<CouponInfoCellView>());
      }
      cell->setDataModel(coupon);
      return cell;
    }
    auto cell = tableView.dequeueReusableCell(kPeriodCellId);
    if (!cell) {
      cell = std::make_shared<ui::TableViewCell>(ui::TableViewCell::Style::kDefault, kPeriodCellId);
      cell->selectionStyle = ui::TableViewCell::SelectionStyle::kNone;
      auto title = label(ui::Rect{10, 10, 100, 20}, ui::Font::system(16), kRed);
      title->setText("有效期:");
      cell->contentView()->addSubview(title);
      auto period = label(ui::Rect{10, 30, 280, 20}, ui::Font::system(14), ui::Color::black());
      period->setTag(1);
      cell->contentView()->addSubview(period);
    }
    if (auto* period = dynamic_cast<ui::Label*>(cell->contentView()->viewWithTag(1))) {
      period->setText(coupon->startTimeString() + " 至 " + coupon->endTimeString());
    }
    return cell;
  }

  const auto coupon = shopCoupon();
  if (!coupon) return nullptr;
  const auto& shops = coupon->shopList();
  if (ip.row == kCollapsedShops && !showAllShop_ && static_cast<int>(shops.size()) > 3) {
    auto cell = tableView.dequeueReusableCell(kAllShopsCellId);
    if (!cell) {
      cell =
          std::make_shared<ui::TableViewCell>(ui::TableViewCell::Style::kDefault, kAllShopsCellId);
      cell->selectionStyle = ui::TableViewCell::SelectionStyle::kGray;
      cell->textLabel()->setFont(ui::Font::system(16));
      cell->textLabel()->setTextAlignment(ui::TextAlignment::kCenter);
    }
    cell->textLabel()->setText(strprintf("所有适用商户（%d）", static_cast<int>(shops.size())));
    return cell;
  }
  if (ip.row < 0 || ip.row >= static_cast<int>(shops.size())) return nullptr;
  const auto& shop = shops[static_cast<std::size_t>(ip.row)];
  auto cell = tableView.dequeueReusableCell(kShopCellId);
  if (!cell) {
    cell = std::make_shared<ui::TableViewCell>(ui::TableViewCell::Style::kDefault, kShopCellId);
    cell->selectionStyle = ui::TableViewCell::SelectionStyle::kGray;
    cell->accessoryType = ui::TableViewCell::Accessory::kDisclosureIndicator;
    auto name = label(ui::Rect{10, 10, 260, 20}, ui::Font::system(16), kShopNameColor);
    name->setTag(1);
    cell->contentView()->addSubview(name);
    auto address = label(ui::Rect{10, 30, 260, 20}, ui::Font::system(14), kAddressColor);
    address->setTag(2);
    cell->contentView()->addSubview(address);
  }
  if (auto* name = dynamic_cast<ui::Label*>(cell->contentView()->viewWithTag(1))) {
    name->setText(shop->strName());
  }
  if (auto* address = dynamic_cast<ui::Label*>(cell->contentView()->viewWithTag(2))) {
    address->setText(shop->strAddress());
  }
  return cell;
}

std::optional<double> CouponInfoViewController::tableViewHeightForRowAtIndexPath(
    ui::TableView& /*tableView*/, ui::IndexPath ip) {
  if (auto coupon = couponInSection(ip.section)) {
    return ip.row == 0 ? CouponInfoCellView::heightOfCell(*coupon) : kPeriodRowHeight;
  }
  const auto coupon = shopCoupon();
  if (coupon && ip.row == kCollapsedShops && !showAllShop_ &&
      coupon->shopList().size() > static_cast<std::size_t>(kCollapsedShops)) {
    return kAllShopsRowHeight;
  }
  return kShopRowHeight;
}

std::optional<double> CouponInfoViewController::tableViewHeightForHeaderInSection(
    ui::TableView& /*tableView*/, int section) {
  return displayShop && section == shopSection() ? kShopHeaderHeight : 0;
}

std::shared_ptr<ui::View> CouponInfoViewController::tableViewViewForHeaderInSection(
    ui::TableView& /*tableView*/, int section) {
  if (!displayShop || section != shopSection()) return nullptr;
  auto header = std::make_shared<ui::View>(ui::Rect{0, 0, 320, kShopHeaderHeight});
  auto title = label(ui::Rect{10, 10, 200, 20}, ui::Font::system(16), kRed);
  title->setText("适用商户:");
  header->addSubview(title);
  return header;
}

std::optional<double> CouponInfoViewController::tableViewHeightForFooterInSection(
    ui::TableView& /*tableView*/, int section) {
  const auto coupon = couponInSection(section);
  return !displayShop && coupon && coupon->hasSMS() ? kSmsFooterHeight : 0;
}

std::shared_ptr<ui::View> CouponInfoViewController::tableViewViewForFooterInSection(
    ui::TableView& /*tableView*/, int section) {
  const auto coupon = couponInSection(section);
  if (displayShop || !coupon || !coupon->hasSMS()) return nullptr;
  auto footer = std::make_shared<ui::View>(ui::Rect{0, 0, 320, kSmsFooterHeight});
  auto button = std::make_shared<ui::Button>(ui::Rect{40, 5, 240, 40}, kSmsTitle);
  // The button names its offer, not a position that a late answer could shift.
  const std::string id = coupon->couponId();
  button->setAction([this, id](ui::Button&) { getSMS(id); });
  footer->addSubview(button);
  return footer;
}

std::optional<ui::IndexPath> CouponInfoViewController::tableViewWillSelectRowAtIndexPath(
    ui::TableView& /*tableView*/, ui::IndexPath ip) {
  if (!displayShop || ip.section != shopSection()) return std::nullopt;
  return ip;
}

void CouponInfoViewController::tableViewDidSelectRowAtIndexPath(ui::TableView& tableView,
                                                                ui::IndexPath ip) {
  tableView.deselectRowAtIndexPath(ip, true);
  const auto coupon = shopCoupon();
  if (!coupon || ip.section != shopSection()) return;
  const auto& shops = coupon->shopList();
  if (ip.row == kCollapsedShops && !showAllShop_ &&
      shops.size() > static_cast<std::size_t>(kCollapsedShops)) {
    showAllShop_ = true;
    reload();
    return;
  }
  if (ip.row >= 0 && ip.row < static_cast<int>(shops.size())) {
    openShop(shops[static_cast<std::size_t>(ip.row)]);
  }
}

void CouponInfoViewController::openShop(const std::shared_ptr<ShopInfo>& shop) {
  auto* nav = navigationController();
  if (nav == nullptr || !shop || shop->shopId().empty()) return;
  auto screen = std::make_shared<ShopInfoViewController>();
  screen->hidesBottomBarWhenPushed = true;
  screen->setShopInfo(shop);
  nav->pushViewController(screen, true);
}

}  // namespace lk

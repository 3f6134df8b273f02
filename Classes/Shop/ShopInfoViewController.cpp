#include "Classes/Shop/ShopInfoViewController.h"

#include <algorithm>
#include "Classes/Broadcasts/BroadcastListViewController.h"
#include "Classes/Broadcasts/ComposeBroadcastViewController.h"

#include "Classes/Account/FeedbackViewController.h"
#include "Classes/Account/LoginViewController.h"
#include "Classes/Coupons/CouponInfoViewController.h"
#include "Classes/Json/JsonValue.h"
#include "Classes/LocalState/CacheCenter.h"
#include "Classes/Records/ShopInfo.h"
#include "Classes/Search/NearbyViewController.h"
#include "Classes/ServiceClient/FormValue.h"
#include "Classes/ServiceClient/HttpRequest.h"
#include "Classes/ServiceClient/ServiceAnswer.h"
#include "Classes/ServiceClient/ServiceEndpoints.h"
#include "Classes/Shop/CommentListViewController.h"
#include "Classes/Shop/LKThumbsViewController.h"
#include "Classes/Shop/ShopInfoCellView.h"
#include "Classes/Shop/ShopInfoCommentCellView.h"
#include "Classes/Shop/ShopInfoCouponsCellView.h"
#include "Classes/Shop/ShopInfoPopupView.h"
#include "Classes/Shop/ShopInfoRecommendCellView.h"
#include "Classes/Shop/ShopMapInfoViewController.h"
#include "Classes/Shop/ShopNotifications.h"
#include "Classes/Toolkit/CustomCell.h"
#include "Classes/Util/TelephoneNumber.h"
#include "Platform/Device/DeviceInfo.h"
#include "Platform/Log/Log.h"
#include "Platform/RunLoop/RunLoop.h"
#include "Platform/UI/Application.h"
#include "Platform/UI/NavigationController.h"
#include "Platform/UI/Window.h"

namespace lk {

namespace {

ShopInfoViewController::SessionIdSource& sessionIdSource() {
  static ShopInfoViewController::SessionIdSource source;
  return source;
}

bool isPhone() {
  return DeviceInfo::model() == DeviceInfo::kDefaultModel;
}

// Keeps a screen that just left the screen alive until the current call has unwound.
void releaseLater(std::shared_ptr<void> screen) {
  RunLoop::main().post([screen = std::move(screen)] {});
}

void replaceAll(std::string& text, std::string_view from, std::string_view to) {
  for (std::size_t at = text.find(from); at != std::string::npos;
       at = text.find(from, at + to.size())) {
    text.replace(at, from.size(), to);
  }
}

}  // namespace

ShopInfoViewController::ShopInfoViewController() = default;

ShopInfoViewController::~ShopInfoViewController() {
  observers_.clear();
  shopInfoRequest_.reset();
  imageLinkRequest_.reset();
  if (sheet_) {
    sheet_->setDelegate(nullptr);
    sheet_->removeFromSuperview();
  }
  if (tabbar_) {
    tabbar_->setDelegate(nullptr);
    tabbar_->removeFromSuperview();
  }
  if (tableView_) {
    tableView_->setDataSource(nullptr);
    tableView_->setTableDelegate(nullptr);
  }
}

void ShopInfoViewController::setSessionIdSource(SessionIdSource source) {
  sessionIdSource() = std::move(source);
}

std::optional<std::string> ShopInfoViewController::currentSessionId() {
  // The login controller's session, unless a test put another source in its place.
  auto ssid =
      sessionIdSource() ? sessionIdSource()() : LoginViewController::sharedInstance().ssid();
  if (ssid && ssid->empty()) return std::nullopt;
  return ssid;
}

// ---------------------------------------------------------------------------------------------
// Requests

std::string ShopInfoViewController::shopInfoURL() const {
  std::string url = ServiceEndpoints::serviceURL() + "/shop/" +
                    FormValue::escape(shopInfo_->shopId()) +
                    "/info?xda_from=iPhone&xda_page=ShopInfo";
  if (auto ssid = currentSessionId()) url += "&ssid=" + FormValue::escape(*ssid);
  return url;
}

std::string ShopInfoViewController::imageLinkURL() const {
  return ServiceEndpoints::serviceURL() + "/shop/" + FormValue::escape(shopInfo_->shopId()) +
         "/album?p=0&n=500&xda_from=iPhone&xda_page=ShopAlbum";
}

void ShopInfoViewController::requestShopInfo() {
  shopInfoRequest_.reset();
  if (!shopInfo_ || shopInfo_->shopId().empty()) return;
  if (isViewLoaded()) {
    if (!loadingView_) loadingView_ = std::make_shared<LoadingView>();
    addSubview(loadingView_);
  }
  shopInfoRequest_ = std::make_unique<HttpRequest>(this, kShopInfoRequest);
  shopInfoRequest_->requestGET(shopInfoURL(), false);
}

void ShopInfoViewController::requestImageLink() {
  imageLinkRequest_.reset();
  if (!shopInfo_ || shopInfo_->shopId().empty()) return;
  imageLinkRequest_ = std::make_unique<HttpRequest>(this, kImageLinkRequest);
  imageLinkRequest_->requestGETWithGZip(imageLinkURL());
}

// ---------------------------------------------------------------------------------------------
// Answers

void ShopInfoViewController::requestSucceeded(HttpRequest& request) {
  if (&request == shopInfoRequest_.get()) {
    shopInfoAnswered(request);
  } else if (&request == imageLinkRequest_.get()) {
    imageLinkAnswered(request);
  }
}

void ShopInfoViewController::shopInfoAnswered(HttpRequest& request) {
  // Released whatever the answer; the request lives to the end of this call.
  const std::unique_ptr<HttpRequest> done = std::move(shopInfoRequest_);
  const auto answer = readJsonDocument(request, AnswerEncoding::kPlain);
  if (!answer) {
    if (!isAnswerStep(answer.error(), AnswerStep::kStatus)) {
      logf("Request shop info, error:%s", answer.error().description.c_str());
    }
    removeLoadingView();
    return;
  }
  const json::Node root = answer->root();
  // An error body ({"errNo": …}) or an empty dictionary is no shop: the old record stays.
  if (root.empty() || json::textMember(root, "intShopId").empty()) {
    logf("Request shop info, error:%s", root.empty() ? "empty answer" : "no shop id");
    removeLoadingView();
    return;
  }
  auto shop = std::make_shared<ShopInfo>();
  shopInfo_ = shop;
  shop->setShowDetails(true);
  shop->decodeShopInformation(root);

  requestImageLink();
  CacheCenter::sharedInstance().recordBrowsedShop(*shop);
  if (tableView_) tableView_->reloadData();
  removeLoadingView();
}

PictureList ShopInfoViewController::albumLinks(const boost::json::object& answer,
                                               const std::string& shopImgUrl,
                                               bool* addedShopPicture) {
  PictureList links;
  if (!shopImgUrl.empty()) links.push_back({shopImgUrl, shopImgUrl});
  if (addedShopPicture != nullptr) *addedShopPicture = !shopImgUrl.empty();
  const std::string base = json::textMember(answer, "base");
  if (const auto* list = json::arrayMember(answer, "arrList")) {
    for (const auto& value : *list) {
      if (!value.is_object()) continue;
      const auto* source = value.get_object().if_contains("strSrc");
      if (source == nullptr || !source->is_string()) continue;
      const std::string thumbnail = base + std::string(source->get_string());
      std::string full = thumbnail;
      replaceAll(full, "abpic", "pic");
      if (full == shopImgUrl) continue;  // the shop's own picture is already first
      links.push_back({full, thumbnail});
    }
  }
  return links;
}

void ShopInfoViewController::imageLinkAnswered(HttpRequest& request) {
  const std::unique_ptr<HttpRequest> done = std::move(imageLinkRequest_);
  auto answer = readJsonAnswer(request, AnswerEncoding::kCompressed);
  if (!answer) {
    if (!isAnswerStep(answer.error(), AnswerStep::kStatus)) {
      logf("Error:%s", answer.error().description.c_str());
    }
    return;
  }
  if (!shopInfo_) return;
  shopInfo_->intPicCount().set(json::intMember(*answer, "intTotal"));
  if (tableView_) tableView_->reloadData();
  bool added = false;
  photoLinks_ = albumLinks(*answer, shopInfo_->strShopImgUrl(), &added);
  if (added) shopInfo_->intPicCount().set(shopInfo_->intPicCount().get() + 1);
  if (tableView_) tableView_->reloadData();
}

void ShopInfoViewController::requestFailed(HttpRequest& request, const PlatformError& /*error*/) {
  if (&request == shopInfoRequest_.get()) {
    const std::unique_ptr<HttpRequest> done = std::move(shopInfoRequest_);
  } else if (&request == imageLinkRequest_.get()) {
    const std::unique_ptr<HttpRequest> done = std::move(imageLinkRequest_);
  }
  removeLoadingView();
}

void ShopInfoViewController::removeLoadingView() {
  if (loadingView_) loadingView_->removeFromSuperview();
}

// ---------------------------------------------------------------------------------------------
// Life cycle

void ShopInfoViewController::loadView() {
  LKNavigationController::loadView();
  tableView_ = std::make_shared<ui::TableView>(ui::Rect{0, 0, 320, 372});
  tableView_->separatorStyle = ui::TableView::SeparatorStyle::kNone;
  tableView_->setBackgroundColor(ui::Color::clear());
  tableView_->setDataSource(this);
  tableView_->setTableDelegate(this);
  addSubview(tableView_);
}

void ShopInfoViewController::viewDidLoad() {
  LKNavigationController::viewDidLoad();
  setTitle(kTitle);
  requestShopInfo();
  observeNotifications();
}

void ShopInfoViewController::viewDidUnload() {
  observers_.clear();
  if (tableView_) {
    tableView_->setDataSource(nullptr);
    tableView_->setTableDelegate(nullptr);
  }
  tableView_.reset();
  LKNavigationController::viewDidUnload();
}

void ShopInfoViewController::viewWillAppear(bool animated) {
  LKNavigationController::viewWillAppear(animated);
  if (!tabbar_) {
    tabbar_ = std::make_shared<ShopInfoTabbar>();
    tabbar_->setDelegate(this);
  }
  if (ui::Window* window = ui::Application::shared().keyWindow()) window->addSubview(tabbar_);
}

void ShopInfoViewController::viewWillDisappear(bool animated) {
  if (tabbar_) tabbar_->removeFromSuperview();
  if (sheet_) sheet_->removeFromSuperview();
  LKNavigationController::viewWillDisappear(animated);
}

void ShopInfoViewController::observeNotifications() {
  observers_.clear();
  auto& center = NotificationCenter::defaultCenter();
  const auto onTop = [this](void (ShopInfoViewController::*handler)()) {
    return [this, handler](const Notification&) {
      if (isTopOfStack()) (this->*handler)();
    };
  };
  observers_.push_back(
      center.addObserver(kShopInfoCommentList, onTop(&ShopInfoViewController::commentList)));
  observers_.push_back(
      center.addObserver(kShopInfoBroadcastList, onTop(&ShopInfoViewController::broadcastList)));
  observers_.push_back(
      center.addObserver(kShopInfoImageViews, onTop(&ShopInfoViewController::imageViews)));
  observers_.push_back(
      center.addObserver(kShopInfoShowMap, onTop(&ShopInfoViewController::showMap)));
  observers_.push_back(center.addObserver(kShopInfoCall, onTop(&ShopInfoViewController::call)));
  observers_.push_back(
      center.addObserver(kShopInfoBusInfo, onTop(&ShopInfoViewController::showMoreInfo)));
  observers_.push_back(center.addObserver(kBroadcastComposeSucceed,
                                          [this](const Notification& n) { broadcastAdded(n); }));
}

bool ShopInfoViewController::isTopOfStack() const {
  auto* nav = navigationController();
  return nav != nullptr && nav->topViewController() == this && modalViewController() == nullptr;
}

// ---------------------------------------------------------------------------------------------
// The table

std::vector<int> ShopInfoViewController::sections() const {
  std::vector<int> kinds;
  if (!shopInfo_ || !shopInfo_->showDetails()) return kinds;
  kinds.push_back(kMainSection);
  if (!shopInfo_->arrCouponList().empty()) kinds.push_back(kCouponSection);
  if (shopInfo_->hasRecommend()) kinds.push_back(kRecommendSection);
  if (!shopInfo_->arrCmtList().empty() || !shopInfo_->arrMiniCmtList().empty()) {
    kinds.push_back(kCommentSection);
  }
  return kinds;
}

int ShopInfoViewController::numberOfSectionsInTableView(ui::TableView& /*tableView*/) {
  return static_cast<int>(sections().size());
}

int ShopInfoViewController::tableViewNumberOfRowsInSection(ui::TableView& /*tableView*/,
                                                           int /*section*/) {
  return 1;
}

std::shared_ptr<ui::TableViewCell> ShopInfoViewController::tableViewCellForRowAtIndexPath(
    ui::TableView& tableView, ui::IndexPath ip) {
  const auto kinds = sections();
  if (ip.section < 0 || ip.section >= static_cast<int>(kinds.size())) return nullptr;
  const int kind = kinds[static_cast<std::size_t>(ip.section)];
  const std::string identifier = strprintf("CellID-%d", kind);
  auto cell = std::dynamic_pointer_cast<CustomCell>(tableView.dequeueReusableCell(identifier));
  if (!cell) {
    cell = std::make_shared<CustomCell>(ui::TableViewCell::Style::kDefault, identifier);
    cell->selectionStyle = ui::TableViewCell::SelectionStyle::kNone;
    switch (kind) {
      case kMainSection:
        cell->setCellView(std::make_shared<ShopInfoCellView>());
        break;
      case kCouponSection:
        cell->setCellView(std::make_shared<ShopInfoCouponsCellView>());
        break;
      case kRecommendSection:
        cell->setCellView(std::make_shared<ShopInfoRecommendCellView>());
        break;
      default:
        cell->setCellView(std::make_shared<ShopInfoCommentCellView>());
        break;
    }
    cell->setBackgroundColor(kind == kCouponSection ? ui::Color{1.0, 0.98, 0.82, 1}
                                                    : ui::Color::white());
  }
  cell->setDataModel(shopInfo_);
  if (cell->cellView()) cell->cellView()->setNeedsDisplay();
  return cell;
}

std::optional<double> ShopInfoViewController::tableViewHeightForRowAtIndexPath(
    ui::TableView& /*tableView*/, ui::IndexPath ip) {
  const auto kinds = sections();
  if (ip.section < 0 || ip.section >= static_cast<int>(kinds.size())) return std::nullopt;
  switch (kinds[static_cast<std::size_t>(ip.section)]) {
    case kMainSection:
      return ShopInfoCellView::heightOfCell(*shopInfo_);
    case kCouponSection:
      return ShopInfoCouponsCellView::heightOfCell(*shopInfo_);
    case kRecommendSection:
      return ShopInfoRecommendCellView::heightOfCell(*shopInfo_);
    default:
      return ShopInfoCommentCellView::heightOfCell(*shopInfo_);
  }
}

void ShopInfoViewController::tableViewDidSelectRowAtIndexPath(ui::TableView& /*tableView*/,
                                                              ui::IndexPath ip) {
  const auto kinds = sections();
  if (ip.section < 0 || ip.section >= static_cast<int>(kinds.size())) return;
  if (kinds[static_cast<std::size_t>(ip.section)] == kCouponSection &&
      !shopInfo_->arrCouponList().empty()) {
    openCoupons();
  }
}

// ---------------------------------------------------------------------------------------------
// Ways out

void ShopInfoViewController::commentList() {
  if (!shopInfo_ || shopInfo_->intCmtCount() <= 0 || shopInfo_->shopId().empty()) return;
  auto* nav = navigationController();
  if (nav == nullptr) return;
  nav->pushViewController(CommentListViewController::initCommentListControllerWithShop(shopInfo_),
                          true);
}

void ShopInfoViewController::broadcastList() {
  if (!shopInfo_ || shopInfo_->intMiniCmtCount() <= 0) return;
  openBroadcastList();
}

void ShopInfoViewController::imageViews() {
  // The album opens only with pictures to show, not on a count alone.
  if (!shopInfo_ || shopInfo_->intPicCount().get() <= 0 || photoLinks_.empty()) return;
  presentInOwnStack(std::make_shared<LKThumbsViewController>(photoLinks_));
}

void ShopInfoViewController::showMap() {
  if (!shopInfo_) return;
  auto map = std::make_shared<ShopMapInfoViewController>(
      ShopMapInfoViewController::Location{static_cast<double>(shopInfo_->fltPositionX()),
                                          static_cast<double>(shopInfo_->fltPositionY())});
  map->setShopName(shopInfo_->strName());
  presentInOwnStack(map);
}

void ShopInfoViewController::presentInOwnStack(const std::shared_ptr<ui::ViewController>& screen) {
  presentModalViewController(std::make_shared<ui::NavigationController>(screen), true);
}

void ShopInfoViewController::call() {
  if (!shopInfo_ || !isPhone()) return;
  const auto telephones = ShopInfoCellView::shownTelephones(*shopInfo_);
  if (telephones.empty()) return;
  auto sheet = std::make_shared<ui::ActionSheet>(kCallSheetTitle, this, kCancelTitle, std::nullopt,
                                                 telephones);
  sheet->setTag(kCallSheet);
  showSheet(std::move(sheet));
}

void ShopInfoViewController::showMoreInfo() {
  if (!shopInfo_) return;
  std::make_shared<ShopInfoPopupView>(*shopInfo_)->show();
}

void ShopInfoViewController::broadcastAdded(const Notification& notification) {
  const auto* shopId = notification.info<std::string>(kBroadcastComposeShopIdKey);
  if (shopId == nullptr || !shopInfo_ || shopInfo_->shopId().empty() ||
      *shopId != shopInfo_->shopId()) {
    return;
  }
  requestShopInfo();
}

void ShopInfoViewController::showSheet(std::shared_ptr<ui::ActionSheet> sheet) {
  if (sheet_) {
    sheet_->setDelegate(nullptr);
    sheet_->removeFromSuperview();
  }
  sheet_ = std::move(sheet);
  sheet_->showInView(view().get());
}

std::string ShopInfoViewController::shareText(const ShopInfo& shop) {
  std::string text = "[" + shop.strName() + "]";
  const auto telephones = ShopInfoCellView::shownTelephones(shop);
  if (!telephones.empty()) text += " " + telephones.front();
  if (!shop.strAddress().empty()) text += " " + shop.strAddress();
  if (shop.hasRecommend()) {
    text += " [" + shop.strRecommendName() + "] " + shop.recommendString().value_or("");
  }
  return text;
}

void ShopInfoViewController::button1Clicked() {
  openComposeBroadcast();
}

void ShopInfoViewController::button2Clicked() {
  if (!shopInfo_) return;
  if (isPhone()) {
    if (!ui::MessageComposeViewController::canSendText()) return;
    auto sheet = std::make_shared<ui::MessageComposeViewController>();
    sheet->body = shareText(*shopInfo_);
    sheet->messageComposeDelegate = this;
    presentModalViewController(sheet, true);
  } else {
    if (!ui::MailComposeViewController::canSendMail()) return;
    auto sheet = std::make_shared<ui::MailComposeViewController>();
    sheet->body = shareText(*shopInfo_);
    sheet->bodyIsHTML = false;
    sheet->mailComposeDelegate = this;
    presentModalViewController(sheet, true);
  }
}

void ShopInfoViewController::button3Clicked() {
  auto sheet =
      std::make_shared<ui::ActionSheet>(kMoreSheetTitle, this, kCancelTitle, std::nullopt,
                                        std::vector<std::string>{kNearbyTitle, kErrorReportTitle});
  sheet->setTag(kMoreSheet);
  showSheet(std::move(sheet));
}

void ShopInfoViewController::actionSheetClickedButtonAtIndex(ui::ActionSheet& sheet, int index) {
  // The sheet goes on a later turn: this call runs inside it.
  releaseLater(sheet.shared_from_this());
  if (&sheet == sheet_.get()) sheet_.reset();
  if (index < 0 || index >= sheet.numberOfButtons() || index == sheet.cancelButtonIndex()) return;
  const std::string title = sheet.buttonTitles()[static_cast<std::size_t>(index)];
  if (sheet.tag() == kCallSheet) {
    const auto url = TelephoneNumber::telURL(title);
    auto& application = ui::Application::shared();
    if (url && application.canOpenURL(*url)) (void)application.openURL(*url);
  } else if (sheet.tag() == kMoreSheet) {
    if (title == kNearbyTitle) openNearby();
    if (title == kErrorReportTitle) openErrorReport();
  }
}

void ShopInfoViewController::messageComposeDidFinish(ui::MessageComposeViewController& sheet,
                                                     ui::ComposeResult /*result*/) {
  sheet.messageComposeDelegate = nullptr;
  releaseLater(sheet.shared_from_this());
  sheet.dismissModalViewController(true);
}

void ShopInfoViewController::mailComposeDidFinish(ui::MailComposeViewController& sheet,
                                                  ui::ComposeResult /*result*/) {
  sheet.mailComposeDelegate = nullptr;
  releaseLater(sheet.shared_from_this());
  sheet.dismissModalViewController(true);
}

// Join points, wired as the screens of the other subsystems land.

void ShopInfoViewController::openNearby() {
  auto* nav = navigationController();
  if (!shopInfo_ || nav == nullptr) return;
  const auto x = static_cast<double>(shopInfo_->fltPositionX());
  const auto y = static_cast<double>(shopInfo_->fltPositionY());
  // An answer without a position decodes to (0, 0): there is no point to search around.
  if (x == 0.0 && y == 0.0) {
    logf("Shop %s has no position to search around", shopInfo_->shopId().c_str());
    return;
  }
  auto around = NearbyViewController::shopsAround(x, y);
  around->setTitle(kNearbyScreenTitle);
  nav->pushViewController(around, true);
}

void ShopInfoViewController::openErrorReport() {
  auto* nav = navigationController();
  if (!shopInfo_ || shopInfo_->shopId().empty() || nav == nullptr) return;
  auto report = std::make_shared<FeedbackViewController>();
  report->shopId = shopInfo_->shopId();
  report->hidesBottomBarWhenPushed = true;
  nav->pushViewController(report, true);
}

void ShopInfoViewController::openComposeBroadcast() {
  if (!shopInfo_) return;
  auto editor = std::make_shared<ComposeBroadcastViewController>();
  editor->setShopInfo(shopInfo_);
  presentInOwnStack(editor);
}

void ShopInfoViewController::openBroadcastList() {
  auto* nav = navigationController();
  if (!shopInfo_ || nav == nullptr) return;
  auto list = BroadcastListViewController::initBroadcastListControllerWithShop(shopInfo_);
  list->showShopName = false;
  list->setHasTabbar(false);
  nav->pushViewController(list, true);
}

void ShopInfoViewController::openCoupons() {
  auto* nav = navigationController();
  if (!shopInfo_ || shopInfo_->arrCouponList().empty() || nav == nullptr) return;
  auto coupons = std::make_shared<CouponInfoViewController>(shopInfo_->arrCouponList());
  coupons->displayShop = false;
  nav->pushViewController(coupons, true);
}

}  // namespace lk

#include "Classes/Account/HomeViewController.h"

#include "Classes/Account/AccountNotifications.h"
#include "Classes/Account/Home.h"
#include "Classes/Account/HomeTableViewHeader.h"
#include "Classes/Account/LoginViewController.h"
#include "Classes/Account/MoreViewController.h"
#include "Classes/Broadcasts/BroadcastListViewController.h"
#include "Classes/Broadcasts/BroadcastNotifications.h"
#include "Classes/Search/BrowseHistoryViewController.h"
#include "Classes/Search/WantBeenViewController.h"
#include "Classes/ServiceClient/FormValue.h"
#include "Classes/ServiceClient/HttpRequest.h"
#include "Classes/ServiceClient/ServiceAnswer.h"
#include "Classes/ServiceClient/ServiceEndpoints.h"
#include "Platform/Log/Log.h"
#include "Platform/UI/NavigationController.h"
#include "Platform/UI/TableViewCell.h"

namespace lk {

namespace {
constexpr const char* kCellIdentifier = "HomeCell";
}  // namespace

HomeViewController::HomeViewController() = default;

HomeViewController::~HomeViewController() {
  observers_.clear();
  homeRequest_.reset();
  bcRequest_.reset();
  if (header_) header_->setHome(nullptr);
}

// ---------------------------------------------------------------------------------------------
// Requests

void HomeViewController::homeRequest() {
  homeRequest_.reset();
  const auto& ssid = LoginViewController::sharedInstance().ssid();
  if (!ssid || ssid->empty()) return;
  homeRequest_ =
      std::make_unique<HttpRequest>(static_cast<HttpRequestDelegate*>(this), kProfileRequest);
  homeRequest_->requestGETWithGZip(
      strprintf("%s/user/0/utrail?ssid=%s&xda_from=iPhone&xda_page=Home",
                ServiceEndpoints::serviceURL().c_str(), FormValue::escape(*ssid).c_str()),
      false);
}

void HomeViewController::broadcastRequest() {
  bcRequest_.reset();
  if (!home_ || home_->uid.empty()) return;
  bcRequest_ = std::make_unique<HttpRequest>(static_cast<HttpRequestDelegate*>(this),
                                             kLatestBroadcastRequest);
  bcRequest_->requestGETWithGZip(
      strprintf("%s/user/%s/minicmt?p=0&n=1", ServiceEndpoints::serviceURL().c_str(),
                FormValue::escape(home_->uid).c_str()),
      false);
}

void HomeViewController::requestSucceeded(HttpRequest& request) {
  if (&request == homeRequest_.get()) {
    profileAnswered(request);
  } else if (&request == bcRequest_.get()) {
    latestBroadcastAnswered(request);
  }
}

void HomeViewController::requestFailed(HttpRequest& request, const PlatformError& error) {
  if (&request == homeRequest_.get()) {
    homeRequest_.reset();
  } else if (&request == bcRequest_.get()) {
    bcRequest_.reset();
  } else {
    return;
  }
  logf("Request failed, code = %d", error.code);
}

void HomeViewController::profileAnswered(HttpRequest& request) {
  const std::unique_ptr<HttpRequest> done = std::move(homeRequest_);
  // An answer that was on its way when the user logged out describes nobody now.
  if (!LoginViewController::sharedInstance().isLogin()) return;
  const auto answer = readJsonAnswer(request, AnswerEncoding::kCompressed);
  if (!answer) {
    logf("Error:%s", answer.error().description.c_str());
    return;
  }
  if (!home_) home_ = std::make_shared<Home>();
  home_->updateFromProfile(*answer);
  if (tableView()) tableView()->reloadData();
  if (header_) header_->setHome(home_);
  broadcastRequest();
}

void HomeViewController::latestBroadcastAnswered(HttpRequest& request) {
  const std::unique_ptr<HttpRequest> done = std::move(bcRequest_);
  if (!LoginViewController::sharedInstance().isLogin() || !home_) return;
  const auto answer = readJsonAnswer(request, AnswerEncoding::kCompressed);
  if (!answer) {
    logf("Error:%s", answer.error().description.c_str());
    return;
  }
  home_->updateFromLatestBroadcasts(*answer);
}

// ---------------------------------------------------------------------------------------------
// Notifications

void HomeViewController::loginSucceed() {
  removeLoginCover();
  homeRequest();
}

void HomeViewController::logoutSucceed() {
  homeRequest_.reset();
  bcRequest_.reset();
  if (home_) home_->cancelImageRequest();
  if (header_) header_->setHome(nullptr);
  if (tableView()) tableView()->reloadData();
}

void HomeViewController::broadcastComposed() {
  homeRequest();
}

void HomeViewController::more() {
  openMore();
}

// ---------------------------------------------------------------------------------------------
// Life cycle

void HomeViewController::initTableView() {
  LKTableViewController::initTableView();
  tableView()->scrollEnabled = false;
  header_ = std::make_shared<HomeTableViewHeader>();
  if (LoginViewController::sharedInstance().isLogin()) header_->setHome(home_);
  tableView()->setTableHeaderView(header_);
}

void HomeViewController::viewDidLoad() {
  LKTableViewController::viewDidLoad();
  auto& center = NotificationCenter::defaultCenter();
  observers_.push_back(
      center.addObserver(kLoginSucceed, [this](const Notification&) { loginSucceed(); }));
  observers_.push_back(
      center.addObserver(kLogoutSucceed, [this](const Notification&) { logoutSucceed(); }));
  observers_.push_back(center.addObserver(kBroadcastComposeSucceed,
                                          [this](const Notification&) { broadcastComposed(); }));
}

void HomeViewController::viewDidUnload() {
  observers_.clear();
  removeLoginCover();
  if (header_) header_->setHome(nullptr);
  header_.reset();
  LKTableViewController::viewDidUnload();
}

void HomeViewController::viewWillAppear(bool animated) {
  LKTableViewController::viewWillAppear(animated);
  if (LoginViewController::sharedInstance().isLogin()) {
    removeLoginCover();
    homeRequest();
  } else {
    coverWithLogin();
  }
  navigationItem().rightBarButtonItem =
      needsMore_ ? buttonItemWithTitle(kMoreTitle, &HomeViewController::more, this) : nullptr;
}

void HomeViewController::coverWithLogin() {
  auto login = LoginViewController::sharedPointer();
  login->setCanBeCancelled(false);
  const auto& loginView = login->view();
  if (loginView->superview() == view().get()) return;
  // A login screen presented elsewhere keeps its own stack.
  if (login->parentViewController() != nullptr) return;
  loginView->setFrame({0, 0, loginView->frame().width(), loginView->frame().height()});
  addSubview(loginView);
  // The embedded screen appears with this one: its name field takes the focus.
  login->beginAppearanceTransition(true, false);
  login->endAppearanceTransition(false);
}

void HomeViewController::removeLoginCover() {
  auto login = LoginViewController::sharedPointer();
  if (!login->isViewLoaded() || login->view()->superview() != view().get()) return;
  login->beginAppearanceTransition(false, false);
  login->view()->removeFromSuperview();
  login->endAppearanceTransition(false);
}

// ---------------------------------------------------------------------------------------------
// Rows

int HomeViewController::numberOfSectionsInTableView(ui::TableView& /*tableView*/) {
  return home_ ? 1 : 0;
}

int HomeViewController::tableViewNumberOfRowsInSection(ui::TableView& /*tableView*/,
                                                       int /*section*/) {
  return home_ ? kRowCount : 0;
}

std::shared_ptr<ui::TableViewCell> HomeViewController::tableViewCellForRowAtIndexPath(
    ui::TableView& tableView, ui::IndexPath ip) {
  auto cell = tableView.dequeueReusableCell(kCellIdentifier);
  if (!cell)
    cell = std::make_shared<ui::TableViewCell>(ui::TableViewCell::Style::kDefault, kCellIdentifier);
  cell->textLabel()->setFont(ui::Font::named(kFontName, 16));
  cell->textLabel()->setText(rowTitle(ip.row));
  cell->accessoryType = ui::TableViewCell::Accessory::kDisclosureIndicator;
  cell->selectionStyle = ui::TableViewCell::SelectionStyle::kGray;
  return cell;
}

void HomeViewController::tableViewDidSelectRowAtIndexPath(ui::TableView& tableView,
                                                          ui::IndexPath ip) {
  tableView.deselectRowAtIndexPath(ip, true);
  switch (ip.row) {
    case kOwnBroadcastsRow:
      openOwnBroadcasts();
      break;
    case kBrowseHistoryRow:
      openBrowseHistory();
      break;
    case kWantRow:
      openWantBeen(WantBeenViewController::kWantType);
      break;
    case kBeenRow:
      openWantBeen(WantBeenViewController::kBeenType);
      break;
    default:
      break;
  }
}

std::string HomeViewController::rowTitle(int row) const {
  switch (row) {
    case kOwnBroadcastsRow:
      return strprintf("我的现场播报(%d)", home_ ? home_->broadcastCount : 0);
    case kBrowseHistoryRow:
      return "我最近浏览的商户";
    case kWantRow:
      return strprintf("我想去的(%d)", home_ ? home_->wantCount : 0);
    case kBeenRow:
      return strprintf("我去过的(%d)", home_ ? home_->beenCount : 0);
    default:
      return {};
  }
}

void HomeViewController::openOwnBroadcasts() {
  const auto& ssid = LoginViewController::sharedInstance().ssid();
  auto* nav = navigationController();
  if (!ssid || ssid->empty() || nav == nullptr) return;
  auto list = BroadcastListViewController::initBroadcastListControllerWithSSID(*ssid);
  list->setHasTabbar(true);
  list->showShopName = true;
  nav->pushViewController(list, true);
}

void HomeViewController::openBrowseHistory() {
  if (auto* nav = navigationController())
    nav->pushViewController(std::make_shared<BrowseHistoryViewController>(), true);
}

void HomeViewController::openWantBeen(int type) {
  auto* nav = navigationController();
  // The lists are the logged-in user's: without a session there is nothing to ask for.
  if (nav == nullptr || !LoginViewController::sharedInstance().isLogin()) return;
  nav->pushViewController(std::make_shared<WantBeenViewController>(type), true);
}

void HomeViewController::openMore() {
  if (auto* nav = navigationController())
    nav->pushViewController(std::make_shared<MoreViewController>(), true);
}

}  // namespace lk

#include "Classes/Account/MoreViewController.h"

#include "Classes/Account/AboutViewController.h"
#include "Classes/Account/FeedbackViewController.h"
#include "Classes/Account/LoginViewController.h"
#include "Classes/LocalState/CacheCenter.h"
#include "Classes/Records/Area.h"
#include "Classes/Search/BrowseHistoryViewController.h"
#include "Classes/Search/ProvincePickerViewController.h"
#include "Platform/UI/ActionSheet.h"
#include "Platform/UI/NavigationController.h"
#include "Platform/UI/TabBarController.h"
#include "Platform/UI/TableViewCell.h"

namespace lk {

namespace {

constexpr const char* kCellId = "MoreCell";
constexpr int kLoginRow = 3;

bool loggedIn() {
  return LoginViewController::sharedInstance().isLogin();
}

}  // namespace

MoreViewController::MoreViewController() {
  setTitle(kTitle);
}

MoreViewController::~MoreViewController() {
  ssidSubscription_.reset();
  if (logoutSheet_) {
    logoutSheet_->setDelegate(nullptr);
    if (logoutSheet_->isVisible()) logoutSheet_->removeFromSuperview();
  }
}

std::string MoreViewController::rowTitle(int row) {
  switch (row) {
    case 0:
      return kSwitchCity;
    case 1:
      return kFeedback;
    case 2:
      return kAbout;
    default:
      return loggedIn() ? kLogout : kBrowseHistory;
  }
}

void MoreViewController::viewDidLoad() {
  LKTableViewController::viewDidLoad();
  if (title().empty()) setTitle(kTitle);
  // Row 3 follows the session: a login or a logout anywhere changes it.
  ssidSubscription_ =
      LoginViewController::sharedInstance().observeSsid([this](const std::optional<std::string>&) {
        if (tableView()) tableView()->reloadData();
      });
  if (tableView()) tableView()->reloadData();
}

void MoreViewController::viewDidUnload() {
  ssidSubscription_.reset();
  LKTableViewController::viewDidUnload();
}

// ---------------------------------------------------------------------------------------------
// Rows

int MoreViewController::tableViewNumberOfRowsInSection(ui::TableView& /*tableView*/,
                                                       int /*section*/) {
  return kRowCount;
}

std::shared_ptr<ui::TableViewCell> MoreViewController::tableViewCellForRowAtIndexPath(
    ui::TableView& tableView, ui::IndexPath ip) {
  auto cell = tableView.dequeueReusableCell(kCellId);
  if (!cell)
    cell = std::make_shared<ui::TableViewCell>(ui::TableViewCell::Style::kDefault, kCellId);
  cell->textLabel()->setFont(ui::Font::system(16));
  cell->textLabel()->setText(rowTitle(ip.row));
  cell->selectionStyle = ui::TableViewCell::SelectionStyle::kGray;
  const bool logoutRow = ip.row == kLoginRow && loggedIn();
  cell->textLabel()->setTextAlignment(logoutRow ? ui::TextAlignment::kCenter
                                                : ui::TextAlignment::kLeft);
  cell->accessoryType = logoutRow ? ui::TableViewCell::Accessory::kNone
                                  : ui::TableViewCell::Accessory::kDisclosureIndicator;
  return cell;
}

void MoreViewController::tableViewDidSelectRowAtIndexPath(ui::TableView& tableView,
                                                          ui::IndexPath ip) {
  tableView.deselectRowAtIndexPath(ip, true);
  switch (ip.row) {
    case 0:
      switchCity();
      break;
    case 1:
      openFeedback();
      break;
    case 2:
      openAbout();
      break;
    case kLoginRow:
      if (loggedIn()) {
        askLogout();
      } else {
        openBrowseHistory();
      }
      break;
    default:
      break;
  }
}

void MoreViewController::push(const std::shared_ptr<ui::ViewController>& screen) {
  if (auto* nav = navigationController()) nav->pushViewController(screen, true);
}

void MoreViewController::openFeedback() {
  push(std::make_shared<FeedbackViewController>());
}

void MoreViewController::openAbout() {
  push(std::make_shared<AboutViewController>());
}

void MoreViewController::openBrowseHistory() {
  push(std::make_shared<BrowseHistoryViewController>());
}

// ---------------------------------------------------------------------------------------------
// Switching the city

void MoreViewController::switchCity() {
  auto picker = std::make_shared<ProvincePickerViewController>();
  picker->setTitle(kSwitchCity);
  picker->delegate = this;
  picker->hasTabbar = true;
  picker->isCascadeCity = true;
  push(picker);
}

void MoreViewController::pickerControllerPickData(LKPickerViewController& picker,
                                                  const std::shared_ptr<LKObject>& data) {
  // The new city rebuilds the tab set and pops the shown stacks, this one among them when it is
  // the user centre's: the popped screens are released on a later turn, and this screen and the
  // picker are kept until the change is through.
  auto keepAlive = shared_from_this();
  auto keepPicker = picker.shared_from_this();
  if (data) CacheCenter::sharedInstance().setCurrentCity(Area(data->id(), data->name()));
  // The "更多" tab leaves the tab bar in a city with coupons without being popped: its stack
  // goes back to this screen itself.
  if (auto* nav = navigationController()) nav->popToRootViewController(false);
}

void MoreViewController::pickerControllerCancelled(LKPickerViewController& /*picker*/) {
  if (auto* nav = navigationController()) nav->popToViewController(this, true);
}

// ---------------------------------------------------------------------------------------------
// Logging out

void MoreViewController::askLogout() {
  if (logoutSheet_ && logoutSheet_->isVisible()) return;
  if (logoutSheet_) logoutSheet_->setDelegate(nullptr);
  logoutSheet_ = std::make_shared<ui::ActionSheet>(
      kLogoutQuestion, static_cast<ui::ActionSheetDelegate*>(this), std::string(kCancelTitle),
      std::string(kLogout), std::vector<std::string>{});
  auto* tabs = tabBarController();
  logoutSheet_->showInView(tabs != nullptr ? tabs->view().get() : view().get());
}

void MoreViewController::actionSheetClickedButtonAtIndex(ui::ActionSheet& sheet, int index) {
  if (&sheet != logoutSheet_.get() || index != sheet.destructiveButtonIndex()) return;
  logout();
}

void MoreViewController::logout() {
  // The user centre below hears of the logout while this screen is still being told of the tap.
  auto keepAlive = shared_from_this();
  LoginViewController::sharedInstance().logout();
  if (tableView()) tableView()->reloadData();
  auto* nav = navigationController();
  if (nav == nullptr || nav->viewControllers().empty() ||
      nav->viewControllers().front().get() == this || nav->topViewController() != this) {
    return;
  }
  nav->popViewController(true);
}

}  // namespace lk

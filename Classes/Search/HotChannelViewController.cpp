#include "Classes/Search/HotChannelViewController.h"

#include "Classes/Account/HelpViewController.h"
#include "Classes/LocalState/CacheCenter.h"
#include "Classes/Location/LKLocation.h"
#include "Classes/Location/LocationNotifications.h"
#include "Classes/Location/LocationService.h"
#include "Classes/Records/DirectoryDecoder.h"
#include "Classes/Search/MainObjectViewController.h"
#include "Classes/Search/ProvincePickerViewController.h"
#include "Classes/Search/SearchResultsViewController.h"
#include "Classes/Search/SearchViewController.h"
#include "Classes/ServiceClient/HttpRequest.h"
#include "Classes/ServiceClient/ServiceAnswer.h"
#include "Classes/ServiceClient/ServiceEndpoints.h"
#include "Classes/Toolkit/AlertCenter.h"
#include "Platform/Device/DeviceInfo.h"
#include "Platform/Location/LocationSource.h"
#include "Platform/Log/Log.h"
#include "Platform/Storage/UserDefaults.h"
#include "Platform/UI/AlertView.h"
#include "Platform/UI/BarButtonItem.h"
#include "Platform/UI/Image.h"
#include "Platform/UI/ImageView.h"
#include "Platform/UI/NavigationController.h"
#include "Platform/UI/TabBarController.h"
#include "Platform/UI/TableView.h"
#include "Platform/UI/TableViewCell.h"

namespace lk {

namespace {

constexpr const char* kAreaCellId = "HotAreaCell";
constexpr double kSearchBarHeight = 44;
// The last of the seven rows always reads "全部区域".
constexpr std::size_t kAllRowIndex = HotChannelViewController::kMaxAreaRows - 1;

std::shared_ptr<const Area> currentCity() {
  return CacheCenter::sharedInstance().currentCity();
}

int currentCityId() {
  const auto city = currentCity();
  return city ? city->id() : 0;
}

}  // namespace

HotChannelViewController::HotChannelViewController() = default;

HotChannelViewController::~HotChannelViewController() {
  if (searchBar_) searchBar_->delegate = nullptr;
  if (header_) header_->delegate = nullptr;
  if (promptAlert_) promptAlert_->setDelegate(nullptr);
  if (refusalAlert_) refusalAlert_->setDelegate(nullptr);
}

// ---------------------------------------------------------------------------------------------
// The hot districts

std::vector<std::string> HotChannelViewController::areaRows() const {
  const std::size_t n = areaList.size();
  if (n == 0) return {};
  const bool hot = CacheCenter::sharedInstance().isHotCityCurrent();
  const std::size_t count = std::min(hot ? n : n + 1, static_cast<std::size_t>(kMaxAreaRows));
  std::vector<std::string> rows;
  for (std::size_t i = 0; i < count; ++i) {
    if (i == n || i == kAllRowIndex) {
      rows.emplace_back(kAllAreaRow);
    } else {
      rows.push_back(areaList[i]->nameText());
    }
  }
  return rows;
}

void HotChannelViewController::redraw() {
  if (tableView()) tableView()->reloadData();
}

void HotChannelViewController::showHeader(std::vector<std::shared_ptr<Channel>> items) {
  channelList = items;
  if (header_) {
    header_->delegate = nullptr;
    header_->removeFromSuperview();
  }
  header_ = std::make_shared<HotChannelView>(ui::Rect{0, 0, 320, HotChannelView::kHeight},
                                             std::move(items));
  header_->delegate = this;
  if (tableView()) tableView()->setTableHeaderView(header_);
  header_->show();
}

// ---------------------------------------------------------------------------------------------
// Requests

void HotChannelViewController::cityCheck() {
  const auto current = currentCity();
  if (!current || (city_ && city_->isEqual(*current))) return;
  channelRequest_.reset();
  areaRequest_.reset();
  areaList.clear();
  channelList.clear();
  areaResultGot_ = false;
  city_ = std::make_shared<Area>(current->id(), current->name());
  requestHotChannel();
  if (CacheCenter::sharedInstance().isHotCityCurrent()) showHeader(Channel::mainChannelList());
  redraw();
}

void HotChannelViewController::hotAreaCheck() {
  // A request on its way answers for the districts already.
  if (channelRequest_ || areaRequest_) return;
  if (areaList.empty()) requestHotChannel();
}

void HotChannelViewController::requestHotChannel() {
  showLoading();
  std::string url = strprintf("%s/index/%d/area?xda_from=iPhone&xda_page=IndexInfo",
                              ServiceEndpoints::serviceURL().c_str(), currentCityId());
  auto& defaults = UserDefaults::standardUserDefaults();
  if (!defaults.objectForKey(kNewUserKey)) {
    url += "&xda_new=1";
    defaults.setString(kNewUserKey, DeviceInfo::uniqueIdentifier());
    (void)defaults.synchronize();
  }
  channelRequest_ = std::make_unique<HttpRequest>(this, kHotChannelRequest);
  channelRequest_->requestGETWithGZip(url);
}

void HotChannelViewController::requestHotArea() {
  areaRequest_ = std::make_unique<HttpRequest>(this, kHotAreaRequest);
  areaRequest_->requestGETWithGZip(strprintf(
      "%s/search/0/q?ci=%d&p=0&n=1", ServiceEndpoints::serviceURL().c_str(), currentCityId()));
}

void HotChannelViewController::requestSucceeded(HttpRequest& request) {
  if (&request == channelRequest_.get()) {
    hotChannelAnswered(request);
  } else if (&request == areaRequest_.get()) {
    hotAreaAnswered(request);
  }
}

void HotChannelViewController::hotChannelAnswered(HttpRequest& request) {
  auto answer = readJsonAnswer(request, AnswerEncoding::kCompressed);
  if (!answer.ok()) {
    if (!isAnswerStep(answer.error(), AnswerStep::kStatus))
      logf("Request shop info, error:%s", answer.error().description.c_str());
    // Nothing else will come for the districts: the list stays empty, not loading.
    areaResultGot_ = true;
    channelRequest_.reset();
    hideLoading();
    redraw();
    return;
  }
  const auto index = DirectoryDecoder::decodeCityIndex(boost::json::value(std::move(*answer)));
  if (CacheCenter::sharedInstance().isHotCityCurrent()) {
    areaList.clear();
    for (const auto& area : index.areas)
      areaList.push_back(std::make_shared<Area>(0, area->name()));
    areaResultGot_ = true;
    redraw();
    hideLoading();
  } else {
    requestHotArea();
    showHeader(Channel::getHotChannel(index.allCategories));
  }
  channelRequest_.reset();
}

void HotChannelViewController::hotAreaAnswered(HttpRequest& request) {
  auto answer = readJsonAnswer(request, AnswerEncoding::kCompressed);
  if (answer.ok()) {
    areaList = DirectoryDecoder::decodeSearchAreas(boost::json::value(std::move(*answer)));
  } else {
    areaList.clear();
    if (!isAnswerStep(answer.error(), AnswerStep::kStatus))
      logf("Request shop info, error:%s", answer.error().description.c_str());
  }
  redraw();
  areaResultGot_ = true;
  areaRequest_.reset();
  hideLoading();
}

void HotChannelViewController::requestFailed(HttpRequest& request, const PlatformError& error) {
  if (&request == channelRequest_.get()) {
    channelRequest_.reset();
  } else if (&request == areaRequest_.get()) {
    areaRequest_.reset();
  } else {
    return;
  }
  areaResultGot_ = true;
  hideLoading();
  redraw();
  AlertCenter::sharedInstance().showAlertWithErrorCode(error.code);
}

// ---------------------------------------------------------------------------------------------
// Actions

void HotChannelViewController::openSearchEntry(bool showHistory) {
  auto* stack = navigationController();
  if (stack == nullptr) return;
  if (searchBar_) searchBar_->resignFirstResponder();
  auto entry = std::make_shared<SearchViewController>();
  entry->showHistoryRightNow = showHistory;
  stack->pushViewController(entry, false);
}

void HotChannelViewController::searchBarDidBeginEditing(LKSearchBar& /*bar*/) {
  openSearchEntry(false);
}

void HotChannelViewController::showHistory(LKSearchBar& /*bar*/) {
  openSearchEntry(true);
}

void HotChannelViewController::goChannelSearch(const std::shared_ptr<Channel>& channel) {
  auto* stack = navigationController();
  if (stack == nullptr || !channel) return;
  if (channel->id() == Channel::kConvenienceId) {
    auto browser = std::make_shared<MainObjectViewController>();
    browser->type = MainObjectViewController::kChannelType;
    stack->pushViewController(browser, true);
    return;
  }
  auto results = std::make_shared<SearchResultsViewController>();
  results->channel = channel->nameText();
  results->channelId = channel->id();
  stack->pushViewController(results, true);
}

void HotChannelViewController::switchCity() {
  auto picker = std::make_shared<ProvincePickerViewController>();
  picker->setTitle(kSwitchCityTitle);
  picker->hasCancelButton = true;
  picker->isCascadeCity = true;
  picker->delegate = this;
  presentModalViewController(std::make_shared<ui::NavigationController>(picker), true);
}

void HotChannelViewController::pickerControllerPickData(LKPickerViewController& picker,
                                                        const std::shared_ptr<LKObject>& data) {
  // Changing the city rebuilds the tab set and pops every stack; this screen and the picker
  // stay alive until the change is through.
  auto keepAlive = shared_from_this();
  auto keepPicker = picker.shared_from_this();
  if (data) CacheCenter::sharedInstance().setCurrentCity(Area(data->id(), data->name()));
  // The picker's stack is presented over the whole window, not by this screen.
  picker.dismissModalViewController(true);
}

void HotChannelViewController::pickerControllerCancelled(LKPickerViewController& picker) {
  picker.dismissModalViewController(true);
}

void HotChannelViewController::updateCityButton() {
  const auto current = currentCity();
  navigationItem().rightBarButtonItem =
      buttonItemWithTitle(current ? current->nameText() : std::string(), [this] { switchCity(); });
}

// ---------------------------------------------------------------------------------------------
// Positioning

bool HotChannelViewController::isFrontScreen() const {
  if (!isShowing() || modalViewController() != nullptr) return false;
  const auto* stack = navigationController();
  if (stack == nullptr) return isVisible();
  if (stack->topViewController() != this || stack->modalViewController() != nullptr) return false;
  const auto* tabs = tabBarController();
  if (tabs == nullptr) return true;
  return tabs->selectedViewController() == stack && tabs->modalViewController() == nullptr;
}

void HotChannelViewController::locationSuccessed() {
  if (!isFrontScreen() || alreadyPromptCityChanged_) return;
  const auto& location = LocationService::sharedInstance().location();
  if (!location || location->cityId() <= 0 || location->cityName().empty()) return;
  if (location->cityId() == currentCityId()) return;
  alreadyPromptCityChanged_ = true;
  // The city offered is the one named in the prompt, whatever positioning finds meanwhile.
  promptedCity_.emplace(location->cityId(), location->cityName());
  const std::string name = location->cityName();
  if (promptAlert_) promptAlert_->setDelegate(nullptr);
  promptAlert_ = std::make_shared<ui::AlertView>(
      strprintf("定位到您在%s", name.c_str()), strprintf("您要切换城市到%s吗", name.c_str()),
      static_cast<ui::AlertViewDelegate*>(this), std::string(kNoThanks),
      std::vector<std::string>{kAgree});
  promptAlert_->show();
}

void HotChannelViewController::locationFailed(const Notification& notification) {
  if (!isFrontScreen()) return;
  const auto* error = std::any_cast<PlatformError>(&notification.object);
  const bool refused = error != nullptr && error->domain == kLocationErrorDomain &&
                       error->code == LocationError::kDenied;
  if (!refused) {
    AlertCenter::sharedInstance().showAlertWithTitle(std::nullopt, std::string(kFailedTitle));
    return;
  }
  if (refusalAlert_ && refusalAlert_->isVisible()) return;
  if (refusalAlert_) refusalAlert_->setDelegate(nullptr);
  refusalAlert_ = std::make_shared<ui::AlertView>(
      kFailedTitle, kRefusedMessage, static_cast<ui::AlertViewDelegate*>(this),
      std::string(kOkTitle), std::vector<std::string>{kHelpTitle});
  refusalAlert_->show();
}

void HotChannelViewController::alertViewClickedButtonAtIndex(ui::AlertView& alert, int index) {
  if (index == alert.cancelButtonIndex()) return;
  if (&alert == promptAlert_.get() && promptedCity_) {
    auto keepAlive = shared_from_this();
    CacheCenter::sharedInstance().setCurrentCity(*promptedCity_);
  } else if (&alert == refusalAlert_.get()) {
    openHelp();
  }
}

void HotChannelViewController::openHelp() {
  presentModalViewController(HelpViewController::inNavigationStack(), true);
}

// ---------------------------------------------------------------------------------------------
// Life cycle

void HotChannelViewController::loadView() {
  LKTableViewController::loadView();
  searchBar_ = std::make_shared<LKSearchBar>(ui::Rect{0, 0, 320, kSearchBarHeight}, this, nullptr);
  searchBar_->setPlaceHolder(kPlaceholder);
  searchBar_->isAlwaysShowHistoryButton = true;
  searchBar_->showHistoryButton();
  addSubview(searchBar_);
  if (tableView()) {
    tableView()->setFrame(ui::Rect{0, kSearchBarHeight, 320, 367 - kSearchBarHeight});
  }
  navigationItem().titleView =
      std::make_shared<ui::ImageView>(ui::Rect{0, 0, 120, 30}, ui::Image::named(kTitleImage));
}

void HotChannelViewController::viewDidLoad() {
  LKTableViewController::viewDidLoad();
  updateCityButton();
  auto& center = NotificationCenter::defaultCenter();
  observers_.clear();
  observers_.push_back(center.addObserver(kCityChanged, [this](const Notification&) {
    updateCityButton();
    cityCheck();
  }));
  observers_.push_back(
      center.addObserver(kLocationSuccessed, [this](const Notification&) { locationSuccessed(); }));
  observers_.push_back(
      center.addObserver(kLocationFailed, [this](const Notification& n) { locationFailed(n); }));
  LocationService::sharedInstance().startLocation();
}

void HotChannelViewController::viewWillAppear(bool animated) {
  LKTableViewController::viewWillAppear(animated);
  // The city first: a change there asks for the districts, which the check below then awaits.
  cityCheck();
  hotAreaCheck();
}

// ---------------------------------------------------------------------------------------------
// The list

int HotChannelViewController::numberOfSectionsInTableView(ui::TableView& /*tableView*/) {
  return areaList.empty() ? 0 : 1;
}

int HotChannelViewController::tableViewNumberOfRowsInSection(ui::TableView& /*tableView*/,
                                                             int /*section*/) {
  return static_cast<int>(areaRows().size());
}

std::shared_ptr<ui::TableViewCell> HotChannelViewController::tableViewCellForRowAtIndexPath(
    ui::TableView& tableView, ui::IndexPath ip) {
  auto cell = tableView.dequeueReusableCell(kAreaCellId);
  if (!cell)
    cell = std::make_shared<ui::TableViewCell>(ui::TableViewCell::Style::kDefault, kAreaCellId);
  const auto rows = areaRows();
  const auto row = static_cast<std::size_t>(ip.row);
  cell->textLabel()->setText(row < rows.size() ? rows[row] : std::string());
  cell->accessoryType = ui::TableViewCell::Accessory::kDisclosureIndicator;
  return cell;
}

std::optional<std::string> HotChannelViewController::tableViewTitleForHeaderInSection(
    ui::TableView& /*tableView*/, int /*section*/) {
  if (areaList.empty()) return std::nullopt;
  return kHotAreaSection;
}

void HotChannelViewController::tableViewDidSelectRowAtIndexPath(ui::TableView& /*tableView*/,
                                                                ui::IndexPath ip) {
  auto* stack = navigationController();
  const auto row = static_cast<std::size_t>(ip.row);
  if (stack == nullptr || row >= areaRows().size()) return;
  if (row == areaList.size() || row == kAllRowIndex) {
    auto browser = std::make_shared<MainObjectViewController>();
    browser->type = MainObjectViewController::kAreaType;
    stack->pushViewController(browser, true);
    return;
  }
  auto results = std::make_shared<SearchResultsViewController>();
  results->subArea = areaList[row]->nameText();
  stack->pushViewController(results, true);
}

}  // namespace lk

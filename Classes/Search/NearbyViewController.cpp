#include "Classes/Search/NearbyViewController.h"

#include "Classes/Account/HelpViewController.h"
#include "Classes/LocalState/CacheCenter.h"
#include "Classes/Location/LKLocation.h"
#include "Classes/Location/LocationNotifications.h"
#include "Classes/Location/LocationService.h"
#include "Classes/Records/Channel.h"
#include "Classes/Search/LocationDisplayLabel.h"
#include "Classes/Search/SearchResultsHeader.h"
#include "Classes/Search/SearchViewController.h"
#include "Classes/ServiceClient/FormValue.h"
#include "Classes/ServiceClient/ServiceEndpoints.h"
#include "Classes/Toolkit/AlertCenter.h"
#include "Classes/Toolkit/LKNavigationController.h"
#include "Classes/Toolkit/VSPickerView.h"
#include "Platform/Location/LocationSource.h"
#include "Platform/Log/Log.h"
#include "Platform/UI/AlertView.h"
#include "Platform/UI/BarButtonItem.h"
#include "Platform/UI/Image.h"
#include "Platform/UI/NavigationController.h"
#include "Platform/UI/TableView.h"

namespace lk {

namespace {

constexpr int kDistanceSortCode = 4;
constexpr const char* kOkTitle = "确定";

bool present(const std::optional<std::string>& text) {
  return text && !text->empty();
}

int currentCityId() {
  auto city = CacheCenter::sharedInstance().currentCity();
  return city ? city->id() : 0;
}

// The choice whose radius is `distance`, or the default.
int rowForDistance(float distance) {
  for (std::size_t row = 0; row < NearbyViewController::kDistanceList.size(); ++row) {
    if (NearbyViewController::kDistanceList[row].distance == distance) return static_cast<int>(row);
  }
  return NearbyViewController::kDefaultDistanceRow;
}

}  // namespace

NearbyViewController::NearbyViewController() = default;

NearbyViewController::~NearbyViewController() {
  locationObservers_.clear();
  if (refusalAlert_) {
    refusalAlert_->setDelegate(nullptr);
    if (refusalAlert_->isVisible()) refusalAlert_->removeFromSuperview();
  }
}

std::shared_ptr<NearbyViewController> NearbyViewController::shopsAround(double x, double y) {
  auto screen = std::make_shared<NearbyViewController>();
  screen->x = strprintf("%f", x);
  screen->y = strprintf("%f", y);
  screen->distance = kDistanceList[2].distance;
  screen->sort = kDistanceSortCode;
  screen->tabbarHidden = true;
  screen->hidesBottomBarWhenPushed = true;
  screen->headerHidden = true;
  screen->GPSDisabled = true;
  screen->hideLocation = true;
  return screen;
}

bool NearbyViewController::isNormalSearch() const {
  return present(where);
}

void NearbyViewController::newGPS() {
  LocationService::sharedInstance().startLocation();
}

// ---------------------------------------------------------------------------------------------
// Requests

std::string NearbyViewController::searchURL() const {
  // A typed place is searched as a place, not around the position's district.
  if (isNormalSearch()) return keywordSearchURL(false);
  std::string url = strprintf(
      "%s/search/0/q?ci=%d&x=%s&y=%s&sd=%f&sort=%d&p=%d&n=%d&xda_from=iPhone"
      "&xda_page=NearbyInfo",
      ServiceEndpoints::serviceURL().c_str(), cityId, FormValue::escape(x.value_or("")).c_str(),
      FormValue::escape(y.value_or("")).c_str(), static_cast<double>(distance), sort, currentPage(),
      kPageSize);
  if (present(what)) url += "&k=" + FormValue::escape(*what);
  if (sort == kDistanceSortCode) url += "&sortm=0";
  addFilterParametersToUrl(url);
  return url;
}

void NearbyViewController::searchRequest() {
  // A typed place needs no position.
  if (isNormalSearch()) {
    SearchResultsViewController::searchRequest();
    return;
  }
  if (currentPage() == 0) showLoading();
  if (!present(x) || !present(y)) {
    if (GPSDisabled) {
      // Only the opener gives this screen a point; the device's position is not for it.
      hideLoading();
      logLine("Nearby search without a point");
      return;
    }
    newGPS();  // the search follows the position notification
    return;
  }
  // A position without a city (or a screen told to ignore it) searches in the current city.
  cityId = GPSDisabled || positionCityId_ == 0 ? currentCityId() : positionCityId_;
  sendSearchRequest();
}

// ---------------------------------------------------------------------------------------------
// Position

void NearbyViewController::observeLocation() {
  locationObservers_.clear();
  auto& center = NotificationCenter::defaultCenter();
  locationObservers_.push_back(
      center.addObserver(kLocationSuccessed, [this](const Notification&) { locationSuccessed(); }));
  locationObservers_.push_back(
      center.addObserver(kLocationFailed, [this](const Notification& n) { locationFailed(n); }));
}

void NearbyViewController::locationSuccessed() {
  // The shops around a given point stay around it.
  if (GPSDisabled || !isShowing()) return;
  const auto& location = LocationService::sharedInstance().location();
  if (!location) return;
  x = location->x();
  y = location->y();
  positionCityId_ = location->cityId();
  cityId = positionCityId_;
  if (location->area().empty()) {
    area.reset();
  } else {
    area = location->area();
  }
  address_ = location->address();
  if (locationLabel_) locationLabel_->setAddress(address_);
  // A new place starts a new list.
  cleanAll();
  searchRequest();
}

void NearbyViewController::locationFailed(const Notification& notification) {
  if (GPSDisabled || !isShowing()) return;
  hideLoading();
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

void NearbyViewController::alertViewClickedButtonAtIndex(ui::AlertView& alert, int index) {
  if (&alert != refusalAlert_.get() || index == alert.cancelButtonIndex()) return;
  openHelp();
}

void NearbyViewController::openHelp() {
  presentModalViewController(HelpViewController::inNavigationStack(), true);
}

// ---------------------------------------------------------------------------------------------
// Buttons, titles and filters

void NearbyViewController::refresh() {
  what.reset();
  where.reset();
  // "优惠" is the last tab.
  const bool couponTabShown = header() && header()->selectedSortIndex() ==
                                              static_cast<int>(header()->sortTitles().size()) - 1;
  cleanChannelFilter();
  // The coupon-only flag is gone; the tab of the sort that stays is the one in force.
  if (couponTabShown) header()->selectSortItem(sort - 1);
  cleanAll();
  searchRequest();
}

void NearbyViewController::goSearch() {
  auto* stack = navigationController();
  if (stack == nullptr) return;
  auto entry = std::make_shared<SearchViewController>();
  entry->setTitle(kSearchTitle);
  entry->hideSegmentedControl = true;
  entry->foucesOn = SearchViewController::kKeywordField;
  entry->chooseCurrentLocation = true;
  entry->isNearbySearch = true;
  stack->pushViewController(entry, false);
}

std::string NearbyViewController::sectionTitle() const {
  if (!isSearchFinished()) return kTitle;
  if (present(what)) return strprintf("附近-%s[%d家商户]", what->c_str(), resultCount());
  return strprintf("附近%d家商户", resultCount());
}

void NearbyViewController::setDistanceRow(int row) {
  distanceRow_ = row;
  distance = kDistanceList[row].distance;
  if (header()) header()->setLeftTitle(kDistanceList[row].label);
}

void NearbyViewController::setPickerDefaultTitle() {
  if (!header()) return;
  header()->setLeftTitle(kDistanceList[distanceRow_].label);
  header()->setRightTitle(Channel::allChannel()->nameText());
}

void NearbyViewController::cleanChannelFilter() {
  SearchResultsViewController::cleanChannelFilter();
  distanceRow_ = kDefaultDistanceRow;
  distance = kDistanceList[kDefaultDistanceRow].distance;
  rightMainIndex = 0;
  setPickerDefaultTitle();
}

void NearbyViewController::selectLeft() {
  SearchResultsViewController::selectLeft();
  if (!picker() || !picker()->isShown() || picker()->tag() != kAreaPicker) return;
  picker()->selectRow(distanceRow_, 0, false);
  picker()->setSelectedIndexPath({distanceRow_});
}

// ---------------------------------------------------------------------------------------------
// The distance picker

void NearbyViewController::finishPick(VSPickerView& picker) {
  if (picker.tag() != kAreaPicker) {
    SearchResultsViewController::finishPick(picker);
    return;
  }
  picker.hideWithAnimation(true);
  const auto rows = picker.selectedIndexPath();
  const int row = rows.empty() ? distanceRow_ : rows[0];
  if (row < 0 || row >= static_cast<int>(kDistanceList.size())) return;
  setDistanceRow(row);
  cleanAll();
  searchRequest();
}

int NearbyViewController::numberOfComponentsInPickerView(ui::PickerView& picker) {
  if (picker.tag() != kAreaPicker) {
    return SearchResultsViewController::numberOfComponentsInPickerView(picker);
  }
  return 1;
}

int NearbyViewController::pickerViewNumberOfRowsInComponent(ui::PickerView& picker, int component) {
  if (picker.tag() != kAreaPicker) {
    return SearchResultsViewController::pickerViewNumberOfRowsInComponent(picker, component);
  }
  return component == 0 ? static_cast<int>(kDistanceList.size()) : 0;
}

std::string NearbyViewController::pickerViewTitleForRow(ui::PickerView& picker, int row,
                                                        int component) {
  if (picker.tag() != kAreaPicker) {
    return SearchResultsViewController::pickerViewTitleForRow(picker, row, component);
  }
  if (component != 0 || row < 0 || row >= static_cast<int>(kDistanceList.size())) return {};
  return kDistanceList[row].label;
}

void NearbyViewController::pickerViewDidSelectRow(ui::PickerView& picker, int row, int component) {
  // The distance counts only when "完成" is pressed.
  if (picker.tag() != kAreaPicker) {
    SearchResultsViewController::pickerViewDidSelectRow(picker, row, component);
  }
}

// ---------------------------------------------------------------------------------------------
// Life cycle

void NearbyViewController::loadView() {
  SearchResultsViewController::loadView();
  if (!hideLocation) {
    const double top = headerHidden ? 0 : SearchResultsHeader::kHeight;
    locationLabel_ = std::make_shared<LocationDisplayLabel>(
        ui::Rect{0, top, 320, LocationDisplayLabel::kHeight});
    locationLabel_->setAddress(address_);
    addSubview(locationLabel_);
  }
  auto* nav = navigationController();
  // A screen pushed on a stack keeps its back button on the left.
  const bool isRoot = nav == nullptr || nav->viewControllers().empty() ||
                      nav->viewControllers().front().get() == this;
  if (isRoot) {
    navigationItem().leftBarButtonItem = ui::BarButtonItem::withImage(
        ui::Image::named(kSearchImage), ui::BarButtonItem::Style::kPlain,
        [this](ui::BarButtonItem&) { goSearch(); });
  }
  navigationItem().rightBarButtonItem = ui::BarButtonItem::withImage(
      ui::Image::named(kRefreshImage), ui::BarButtonItem::Style::kPlain,
      [this](ui::BarButtonItem&) { refresh(); });
}

void NearbyViewController::initTableView() {
  SearchResultsViewController::initTableView();
  if (hideLocation) return;
  ui::Rect frame = tableView()->frame();
  tableView()->setFrame(ui::Rect{frame.x(), frame.y() + LocationDisplayLabel::kHeight,
                                 frame.width(), frame.height() - LocationDisplayLabel::kHeight});
}

void NearbyViewController::viewDidLoad() {
  if (title().empty()) setTitle(kTitle);
  if (distance == 0) distance = kDistanceList[kDefaultDistanceRow].distance;
  distanceRow_ = rowForDistance(distance);
  distance = kDistanceList[distanceRow_].distance;
  observeLocation();
  // Sets the header titles and makes the first request, which locates when there is no point.
  SearchResultsViewController::viewDidLoad();
}

void NearbyViewController::viewDidUnload() {
  locationLabel_.reset();
  SearchResultsViewController::viewDidUnload();
}

}  // namespace lk

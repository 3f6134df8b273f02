#include "Classes/Search/SearchViewController.h"

#include "Classes/LocalState/CacheCenter.h"
#include "Classes/Search/NearbyViewController.h"
#include "Classes/Search/SearchHistoryViewController.h"
#include "Classes/Search/SearchResultsHeader.h"
#include "Classes/Search/SearchResultsViewController.h"
#include "Classes/Util/TextTrimming.h"
#include "Platform/Log/Log.h"
#include "Platform/UI/BarButtonItem.h"
#include "Platform/UI/Label.h"
#include "Platform/UI/NavigationController.h"
#include "Platform/UI/TabBarController.h"
#include "Platform/UI/TableView.h"
#include "Platform/UI/TableViewCell.h"

namespace lk {

namespace {

constexpr double kBarHeight = 44;
constexpr const char* kEntryCellId = "SearchEntryCell";
constexpr std::size_t kNearbyTabIndex = 1;

std::shared_ptr<LKSearchBar> makeBar(double y, LKSearchBarDelegate* delegate, const char* label) {
  auto title = std::make_shared<ui::Label>(ui::Rect{}, label);
  auto bar = std::make_shared<LKSearchBar>(ui::Rect{0, y, 320, kBarHeight}, delegate, title);
  bar->isAlwaysShowHistoryButton = true;
  bar->showHistoryButton();
  return bar;
}

}  // namespace

SearchViewController::SearchViewController() = default;

SearchViewController::~SearchViewController() {
  if (searchBar_) searchBar_->delegate = nullptr;
  if (nearbyBar_) nearbyBar_->delegate = nullptr;
  if (segmentedControl_) segmentedControl_->setAction(nullptr);
}

bool SearchViewController::isAroundPlace() const {
  return hideSegmentedControl ||
         (segmentedControl_ && segmentedControl_->selectedSegmentIndex() == 1);
}

std::vector<std::string> SearchViewController::listedEntries() const {
  auto& cache = CacheCenter::sharedInstance();
  if (currentSearchType == kKeywordField) return cache.channelSearchHistory();
  std::vector<std::string> entries{kCurrentLocation};
  const auto& places = cache.areaSearchHistory();
  entries.insert(entries.end(), places.begin(), places.end());
  return entries;
}

LKSearchBar* SearchViewController::barOf(int searchType) const {
  return searchType == kKeywordField ? searchBar_.get() : nearbyBar_.get();
}

void SearchViewController::reloadList() {
  if (tableView()) tableView()->reloadData();
}

// ---------------------------------------------------------------------------------------------
// The fields

void SearchViewController::switchSearch() {
  if (isAroundPlace()) {
    showNearbyBar();
  } else {
    hideNearbyBar();
  }
  reloadList();
}

void SearchViewController::showNearbyBar() {
  if (!nearbyBar_) return;
  nearbyBar_->setHidden(false);
  if (tableView()) tableView()->setFrame(ui::Rect{0, 2 * kBarHeight, 320, 367 - 2 * kBarHeight});
}

void SearchViewController::hideNearbyBar() {
  if (!nearbyBar_) return;
  if (nearbyBar_->isFirstResponder()) searchBar_->becomeFirstResponder();
  nearbyBar_->setHidden(true);
  currentSearchType = kKeywordField;
  if (tableView()) tableView()->setFrame(ui::Rect{0, kBarHeight, 320, 367 - kBarHeight});
}

void SearchViewController::setPlaceText(const std::string& text, bool currentLocation) {
  chooseCurrentLocation = currentLocation;
  if (nearbyBar_) nearbyBar_->setSearchText(text);
}

void SearchViewController::setSearchText(const std::string& text) {
  if (currentSearchType == kPlaceField) {
    // A place from the history or the city's districts replaces the current position.
    setPlaceText(text, false);
  } else if (searchBar_) {
    searchBar_->setSearchText(text);
  }
}

void SearchViewController::searchBarDidBeginEditing(LKSearchBar& bar) {
  currentSearchType = &bar == nearbyBar_.get() ? kPlaceField : kKeywordField;
  reloadList();
}

void SearchViewController::searchBarDidChange(LKSearchBar& bar) {
  if (&bar == nearbyBar_.get()) chooseCurrentLocation = false;
}

void SearchViewController::searchBarCleared(LKSearchBar& bar) {
  if (&bar == nearbyBar_.get()) chooseCurrentLocation = false;
}

void SearchViewController::searchBarSearch(LKSearchBar& bar) {
  const std::string text = trimmedText(bar.textField()->text());
  if (text.empty()) return;
  auto& cache = CacheCenter::sharedInstance();
  if (&bar == searchBar_.get()) {
    cache.recordChannelSearch(text);
  } else if (!chooseCurrentLocation) {
    cache.recordAreaSearch(text);
  }
  goSearch();
}

void SearchViewController::showHistory(LKSearchBar& bar) {
  currentSearchType = &bar == nearbyBar_.get() ? kPlaceField : kKeywordField;
  presentHistory(currentSearchType == kKeywordField ? SearchHistoryViewController::kKeywordType
                                                    : SearchHistoryViewController::kPlaceType);
}

void SearchViewController::presentHistory(int controllerType) {
  auto history = std::make_shared<SearchHistoryViewController>();
  history->delegate = this;
  history->controllerType = controllerType;
  presentModalViewController(std::make_shared<ui::NavigationController>(history), true);
}

// ---------------------------------------------------------------------------------------------
// Searching

NearbyViewController* SearchViewController::nearbyScreen() const {
  ui::TabBarController* tabs = tabBarController();
  if (tabs == nullptr || tabs->viewControllers().size() <= kNearbyTabIndex) return nullptr;
  auto* stack =
      dynamic_cast<ui::NavigationController*>(tabs->viewControllers()[kNearbyTabIndex].get());
  if (stack == nullptr || stack->viewControllers().empty()) return nullptr;
  return dynamic_cast<NearbyViewController*>(stack->viewControllers().front().get());
}

void SearchViewController::goSearch() {
  const std::string keyword = searchBar_ ? trimmedText(searchBar_->textField()->text()) : "";
  const std::string place =
      isAroundPlace() && nearbyBar_ ? trimmedText(nearbyBar_->textField()->text()) : "";
  ui::NavigationController* stack = navigationController();
  // The keyboard goes with the search: typing afterwards must not reach a field out of sight.
  if (searchBar_) searchBar_->resignFirstResponder();
  if (nearbyBar_) nearbyBar_->resignFirstResponder();
  if (!isNearbySearch && !(chooseCurrentLocation && isAroundPlace())) {
    if (stack == nullptr) return;
    auto results = std::make_shared<SearchResultsViewController>();
    results->what = keyword;
    results->where = place;
    stack->pushViewController(results, true);
    return;
  }
  NearbyViewController* nearby = nearbyScreen();
  if (nearby == nullptr) return;
  nearby->cleanAll();
  nearby->what = keyword;
  if (chooseCurrentLocation) {
    nearby->where.reset();
  } else {
    nearby->where = place;
  }
  nearby->cleanChannelFilter();
  // The header shows "默认" again, so the order goes back to it too.
  nearby->sort = 1;
  if (nearby->header()) nearby->header()->resetSelectedSortItem();
  nearby->searchRequest();
  ui::TabBarController* tabs = tabBarController();
  ui::ViewController* nearbyStack = nearby->navigationController();
  // The entry screen may be popped below; keep it until this call has finished.
  auto keepAlive = shared_from_this();
  if (tabs != nullptr && tabs->selectedViewController() != nearbyStack) {
    // Chosen directly: the tab's own selection callback would locate the device again.
    tabs->setSelectedViewController(nearbyStack);
  } else if (stack != nullptr) {
    stack->popToRootViewController(true);
  }
}

void SearchViewController::cancel() {
  if (searchBar_) searchBar_->resignFirstResponder();
  if (nearbyBar_) nearbyBar_->resignFirstResponder();
  if (auto* stack = navigationController()) stack->popViewController(true);
}

// ---------------------------------------------------------------------------------------------
// Life cycle

void SearchViewController::initTableView() {
  LKTableViewController::initTableView();
  tableView()->setFrame(ui::Rect{0, 2 * kBarHeight, 320, 367 - 2 * kBarHeight});
}

void SearchViewController::loadView() {
  LKTableViewController::loadView();
  searchBar_ = makeBar(0, this, kKeywordLabel);
  searchBar_->setPlaceHolder(kKeywordPlaceholder);
  nearbyBar_ = makeBar(kBarHeight, this, kPlaceLabel);
  const auto city = CacheCenter::sharedInstance().currentCity();
  nearbyBar_->setPlaceHolder(strprintf("默认全%s", city ? city->nameText().c_str() : ""));
  addSubview(searchBar_);
  addSubview(nearbyBar_);
  if (!hideSegmentedControl) {
    segmentedControl_ = std::make_shared<ui::SegmentedControl>(
        std::vector<std::string>{kSearchSegment, kAroundSegment}, ui::Rect{0, 0, 160, 30});
    segmentedControl_->setSelectedSegmentIndex(0);
    segmentedControl_->setAction([this](ui::SegmentedControl&) { switchSearch(); });
    navigationItem().titleView = segmentedControl_;
  }
  navigationItem().rightBarButtonItem = ui::BarButtonItem::withTitle(
      kCancelTitle, ui::BarButtonItem::Style::kBordered, [this](ui::BarButtonItem&) { cancel(); });
  navigationItem().hidesBackButton = true;
}

void SearchViewController::viewDidLoad() {
  LKTableViewController::viewDidLoad();
  if (isNearbySearch) setPlaceText(kCurrentLocation, true);
  if (isAroundPlace()) {
    showNearbyBar();
  } else {
    hideNearbyBar();
  }
}

void SearchViewController::viewDidAppear(bool animated) {
  LKTableViewController::viewDidAppear(animated);
  if (foucesOn == kKeywordField || !isAroundPlace()) {
    searchBar_->becomeFirstResponder();
    currentSearchType = kKeywordField;
  } else {
    nearbyBar_->becomeFirstResponder();
    currentSearchType = kPlaceField;
  }
  reloadList();
  if (showHistoryRightNow) {
    showHistoryRightNow = false;
    currentSearchType = kKeywordField;
    presentHistory(SearchHistoryViewController::kKeywordType);
  }
}

// ---------------------------------------------------------------------------------------------
// The list

int SearchViewController::tableViewNumberOfRowsInSection(ui::TableView& /*tableView*/,
                                                         int /*section*/) {
  return static_cast<int>(listedEntries().size());
}

std::shared_ptr<ui::TableViewCell> SearchViewController::tableViewCellForRowAtIndexPath(
    ui::TableView& tableView, ui::IndexPath ip) {
  auto cell = tableView.dequeueReusableCell(kEntryCellId);
  if (!cell)
    cell = std::make_shared<ui::TableViewCell>(ui::TableViewCell::Style::kDefault, kEntryCellId);
  const auto entries = listedEntries();
  const auto row = static_cast<std::size_t>(ip.row);
  cell->textLabel()->setText(row < entries.size() ? entries[row] : std::string());
  return cell;
}

void SearchViewController::tableViewDidSelectRowAtIndexPath(ui::TableView& /*tableView*/,
                                                            ui::IndexPath ip) {
  const auto entries = listedEntries();
  const auto row = static_cast<std::size_t>(ip.row);
  if (row >= entries.size()) return;
  if (currentSearchType == kKeywordField) {
    searchBar_->setSearchText(entries[row]);
    searchBar_->becomeFirstResponder();
  } else {
    setPlaceText(entries[row], row == 0);
    nearbyBar_->becomeFirstResponder();
  }
}

}  // namespace lk

#include "Classes/Search/SearchResultsViewController.h"

#include <algorithm>
#include <cctype>

#include "Classes/Account/AddShopViewController.h"
#include "Classes/Json/JsonValue.h"
#include "Classes/LocalState/CacheCenter.h"
#include "Classes/Records/Area.h"
#include "Classes/Records/Channel.h"
#include "Classes/Records/DirectoryDecoder.h"
#include "Classes/Records/ShopInfo.h"
#include "Classes/Search/SearchNotifications.h"
#include "Classes/Search/SearchResultCellView.h"
#include "Classes/Search/SearchResultsHeader.h"
#include "Classes/ServiceClient/FormValue.h"
#include "Classes/ServiceClient/HttpRequest.h"
#include "Classes/ServiceClient/ServiceAnswer.h"
#include "Classes/ServiceClient/ServiceEndpoints.h"
#include "Classes/Shop/ShopInfoViewController.h"
#include "Classes/Toolkit/CustomCell.h"
#include "Platform/Log/Log.h"
#include "Platform/UI/NavigationController.h"
#include "Platform/UI/TableViewCell.h"

namespace lk {

namespace {

constexpr const char* kDash = "－";
constexpr const char* kShopCellId = "SearchResultCell";
constexpr const char* kAddShopCellId = "AddShopCell";
constexpr const char* kWholeEntryTitle = "全部";

bool present(const std::optional<std::string>& text) {
  return text && !text->empty();
}

std::string textOf(const std::optional<std::string>& text) {
  return text.value_or(std::string());
}

// Trims white space and line breaks (ASCII and the ideographic space).
bool blankAfterTrimming(const std::string& text) {
  std::string_view rest = text;
  for (;;) {
    if (rest.empty()) return true;
    if (std::isspace(static_cast<unsigned char>(rest.front())) != 0) {
      rest.remove_prefix(1);
    } else if (rest.starts_with("\u3000")) {
      rest.remove_prefix(3);
    } else {
      return false;
    }
  }
}

int currentCityId() {
  auto city = CacheCenter::sharedInstance().currentCity();
  return city ? city->id() : 0;
}

}  // namespace

SearchResultsViewController::SearchResultsViewController() = default;

SearchResultsViewController::~SearchResultsViewController() {
  observers_.clear();
  request_.reset();
  leftRequest_.reset();
  rightRequest_.reset();
  if (picker_) {
    picker_->setTarget(nullptr);
    picker_->setDataSource(nullptr);
    picker_->setPickerDelegate(nullptr);
    picker_->hideWithAnimation(false);
  }
}

// ---------------------------------------------------------------------------------------------
// Requests

std::string SearchResultsViewController::searchURL() const {
  return keywordSearchURL(true);
}

std::string SearchResultsViewController::keywordSearchURL(bool withAreaName) const {
  std::string url = strprintf(
      "%s/search/0/q?k=%s&r=%s&ci=%d&sort=%d&p=%d&n=%d&xda_from=iPhone&xda_page=SearchInfo",
      ServiceEndpoints::serviceURL().c_str(), FormValue::escape(textOf(what)).c_str(),
      FormValue::escape(textOf(where)).c_str(), cityId, sort, currentPage_, kPageSize);
  addFilterParameters(url, withAreaName);
  return url;
}

void SearchResultsViewController::addFilterParametersToUrl(std::string& url) const {
  addFilterParameters(url, true);
}

void SearchResultsViewController::addFilterParameters(std::string& url, bool withAreaName) const {
  const auto number = [&url](const char* key, int value) {
    if (value != 0) url += strprintf("&%s=%d", key, value);
  };
  const auto text = [&url](const char* key, const std::optional<std::string>& value) {
    if (present(value)) url += strprintf("&%s=%s", key, FormValue::escape(*value).c_str());
  };
  number("rc", areaId);
  if (withAreaName) text("rn", area);
  number("zi", subAreaId);
  text("z", subArea);
  number("sc", channelId);
  text("chn", channel);
  number("c", categoryId);
  text("cn", category);
  if (showCouponOnly) url += "&ex=1";
}

void SearchResultsViewController::searchRequest() {
  if (currentPage_ == 0) showLoading();
  cityId = currentCityId();
  sendSearchRequest();
}

void SearchResultsViewController::sendSearchRequest() {
  request_ = std::make_unique<HttpRequest>(this, kSearchRequest);
  request_->requestGETWithGZip(searchURL());
}

void SearchResultsViewController::setResultList(std::vector<std::shared_ptr<ShopInfo>> shops) {
  resultList_ = std::move(shops);
}

void SearchResultsViewController::appendResults(
    const std::vector<std::shared_ptr<ShopInfo>>& shops) {
  resultList_.insert(resultList_.end(), shops.begin(), shops.end());
}

void SearchResultsViewController::startLoadingData() {
  searchRequest();
}

void SearchResultsViewController::requestLeftPickerData() {
  leftRequest_ = std::make_unique<HttpRequest>(this, kAreaTreeRequest);
  leftRequest_->requestGETWithGZip(
      strprintf("%s/index/%d/citymore", ServiceEndpoints::serviceURL().c_str(), currentCityId()));
}

void SearchResultsViewController::requestRightPickerData() {
  rightRequest_ = std::make_unique<HttpRequest>(this, kCategoryTreeRequest);
  rightRequest_->requestGETWithGZip(
      strprintf("%s/index/%d/catmore", ServiceEndpoints::serviceURL().c_str(), currentCityId()));
}

void SearchResultsViewController::cleanAll() {
  resultCount_ = 0;
  isSearchFinished_ = false;
  isPullLoadMore = true;
  request_.reset();
  currentPage_ = 0;
  resultList_.clear();
  if (tableView()) {
    tableView()->reloadData();
    // A new list starts at its top, not where the old one was scrolled to.
    tableView()->setContentOffset({0, tableView()->minOffsetY()});
    updateScrollButton();
  }
}

void SearchResultsViewController::cleanChannelFilter() {
  channel.reset();
  category.reset();
  channelId = 0;
  categoryId = 0;
  showCouponOnly = false;
}

void SearchResultsViewController::setPickerDefaultTitle() {
  if (!header_) return;
  header_->setLeftTitle(Area::allArea()->nameText());
  header_->setRightTitle(Channel::allChannel()->nameText());
}

void SearchResultsViewController::setHeaderTitles() {
  setPickerDefaultTitle();
  if (!header_) return;
  // Without the area filter the left button is not about districts.
  if (requestsAreaTree() && present(subArea)) {
    header_->setLeftTitle(*subArea);
  } else if (requestsAreaTree() && present(area)) {
    header_->setLeftTitle(*area);
  }
  if (present(category)) {
    header_->setRightTitle(*category);
  } else if (present(channel)) {
    header_->setRightTitle(*channel);
  }
}

// ---------------------------------------------------------------------------------------------
// Answers

void SearchResultsViewController::requestSucceeded(HttpRequest& request) {
  const auto tag = request.tag();
  if (&request == request_.get() && tag == kSearchRequest) {
    searchAnswered(request);
  } else if (&request == leftRequest_.get()) {
    treeAnswered(request, true);
  } else if (&request == rightRequest_.get()) {
    treeAnswered(request, false);
  }
}

void SearchResultsViewController::searchAnswered(HttpRequest& request) {
  const auto answer = readJsonDocument(request, AnswerEncoding::kCompressed);
  if (answer.ok() || !isAnswerStep(answer.error(), AnswerStep::kStatus)) {
    // Only an answer of the service finishes a search: a failed first page is not "no shops".
    isSearchFinished_ = true;
    if (!answer.ok()) {
      noMoreData();
      logf("Request shop info, error:%s", answer.error().description.c_str());
    } else {
      const json::Node root = answer->root();
      // A count below zero is a fault of the service; the title would show "[-5家商户]".
      resultCount_ = std::max(0, json::intMember(root, "total"));
      geoarealist_ = DirectoryDecoder::decodeSearchAreas(root);
      channellist_ = DirectoryDecoder::decodeSearchChannels(root);
      std::size_t count = 0;
      for (const json::Node item : json::arrayMember(root, "searchlist").elements()) {
        resultList_.push_back(ShopInfo::fromSearchItem(item));
        ++count;
      }
      if (count == static_cast<std::size_t>(kPageSize)) {
        addPullLoadMore();
      } else {
        noMoreData();
      }
      if (currentPage_ == 0) {
        if (requestsAreaTree()) requestLeftPickerData();
        requestRightPickerData();
      }
      ++currentPage_;
      if (tableView()) tableView()->reloadData();
    }
  }
  request_.reset();
  scheduleFinishLoadingData();
  if (currentPage_ <= 1) hideLoading();
}

void SearchResultsViewController::requestFailed(HttpRequest& request,
                                                const PlatformError& /*error*/) {
  if (&request == request_.get()) {
    request_.reset();
    scheduleFinishLoadingData();
    if (currentPage_ == 0) hideLoading();
  } else if (&request == leftRequest_.get()) {
    leftRequest_.reset();
  } else if (&request == rightRequest_.get()) {
    rightRequest_.reset();
  }
}

void SearchResultsViewController::treeAnswered(HttpRequest& request, bool areas) {
  const auto answer = readJsonDocument(request, AnswerEncoding::kCompressed);
  // Released first: nothing below touches the request.
  (areas ? leftRequest_ : rightRequest_).reset();
  if (!answer.ok()) return;
  const json::Node root = answer->root();

  const int pickerTag = areas ? kAreaPicker : kCategoryPicker;
  auto& tree = treeFor(pickerTag);
  const std::optional<std::string>& mainName = areas ? area : channel;
  const std::optional<std::string>& subName = areas ? subArea : category;
  const auto make = [areas](int id, std::optional<std::string> name) -> std::shared_ptr<LKObject> {
    if (areas) return std::make_shared<Area>(id, std::move(name));
    return std::make_shared<Channel>(id, std::move(name));
  };
  // Only the districts (categories) in which the latest search found shops.
  const auto found = [&](int id) {
    const auto hasId = [id](const auto& facet) { return facet->id() == id; };
    return areas ? std::any_of(geoarealist_.begin(), geoarealist_.end(), hasId)
                 : std::any_of(channellist_.begin(), channellist_.end(), hasId);
  };
  std::vector<std::shared_ptr<LKObject>> nodes;
  if (areas) {
    const auto districts = DirectoryDecoder::decodeAreaTree(root);
    nodes.assign(districts.begin(), districts.end());
  } else {
    const auto categories = DirectoryDecoder::decodeChannelTree(root);
    nodes.assign(categories.begin(), categories.end());
  }

  tree.clear();
  int mainRow = 0;
  int subRow = 0;
  for (const auto& node : nodes) {
    if (!found(node->id())) continue;
    auto entry = make(node->id(), node->name());
    // The first child stands for the whole district (category).
    std::vector<std::shared_ptr<LKObject>> children{make(node->id(), node->name())};
    const bool isChosen = mainName && node->name() == mainName;
    for (const auto& child : node->children()) {
      if (isChosen && subName && child->name() == subName) {
        subRow = static_cast<int>(children.size());
      }
      children.push_back(child);
    }
    entry->setChildren(std::move(children));
    tree.push_back(std::move(entry));
    // Counted with the leading "all" entry inserted below.
    if (isChosen) mainRow = static_cast<int>(tree.size());
  }
  tree.insert(tree.begin(), areas ? std::shared_ptr<LKObject>(Area::allArea())
                                  : std::shared_ptr<LKObject>(Channel::allChannel()));
  mainIndexFor(pickerTag) = mainRow;
  subIndexFor(pickerTag) = subRow;

  if (picker_ && picker_->tag() == pickerTag) {
    picker_->reloadAllComponents();
    if (picker_->numberOfComponents() == 2) {
      picker_->selectRow(mainRow, 0, false);
      picker_->reloadComponent(1);
      picker_->selectRow(subRow, 1, false);
      picker_->setSelectedIndexPath({mainRow, subRow});
    }
  }
}

// ---------------------------------------------------------------------------------------------
// Sorting and filters

void SearchResultsViewController::sortTermChanged(int sortCode) {
  cleanAll();
  const bool couponTab = hasDistanceSort() ? sortCode == 5 : sortCode == 4;
  if (couponTab) {
    showCouponOnly = true;  // the sort stays as it was
  } else {
    showCouponOnly = false;
    sort = sortCode;
  }
  searchRequest();
}

std::vector<std::shared_ptr<LKObject>>& SearchResultsViewController::treeFor(int pickerTag) {
  return pickerTag == kAreaPicker ? leftData_ : rightData_;
}

int& SearchResultsViewController::mainIndexFor(int pickerTag) {
  return pickerTag == kAreaPicker ? leftMainIndex : rightMainIndex;
}

int& SearchResultsViewController::subIndexFor(int pickerTag) {
  return pickerTag == kAreaPicker ? leftSubIndex_ : rightSubIndex_;
}

void SearchResultsViewController::selectLeft() {
  openPicker(kAreaPicker);
}

void SearchResultsViewController::selectRight() {
  openPicker(kCategoryPicker);
}

void SearchResultsViewController::openPicker(int tag) {
  if (!isViewLoaded()) return;
  if (!picker_) {
    picker_ = std::make_shared<VSPickerView>();
    picker_->setTarget(this);
    picker_->setDataSource(this);
    picker_->setPickerDelegate(this);
  }
  picker_->setTag(tag);
  mainIndexAtOpen_ = mainIndexFor(tag);
  picker_->reloadAllComponents();
  if (!treeFor(tag).empty()) {
    picker_->selectRow(mainIndexFor(tag), 0, false);
    picker_->reloadComponent(1);
    picker_->selectRow(subIndexFor(tag), 1, false);
  }
  // Cancel returns the wheels to what is in force now.
  picker_->setSelectedIndexPath({std::max(0, picker_->selectedRowInComponent(0)),
                                 std::max(0, picker_->selectedRowInComponent(1))});
  picker_->showInView(*view(), true);
}

int SearchResultsViewController::numberOfComponentsInPickerView(ui::PickerView& /*picker*/) {
  return 2;
}

int SearchResultsViewController::pickerViewNumberOfRowsInComponent(ui::PickerView& picker,
                                                                   int component) {
  const auto& tree = treeFor(picker.tag());
  if (component == 0) return static_cast<int>(tree.size());
  const int main = mainIndexFor(picker.tag());
  if (main < 0 || main >= static_cast<int>(tree.size())) return 0;
  // Row 0 stands for the whole entry, even for the "all" entry that has no children.
  return std::max<int>(1, static_cast<int>(tree[main]->children().size()));
}

std::string SearchResultsViewController::pickerViewTitleForRow(ui::PickerView& picker, int row,
                                                               int component) {
  const auto& tree = treeFor(picker.tag());
  if (component == 0) {
    if (row < 0 || row >= static_cast<int>(tree.size())) return {};
    return tree[row]->nameText();
  }
  if (row == 0) return kWholeEntryTitle;
  const int main = mainIndexFor(picker.tag());
  if (main < 0 || main >= static_cast<int>(tree.size())) return {};
  const auto& children = tree[main]->children();
  if (row < 0 || row >= static_cast<int>(children.size())) return {};
  return children[row]->nameText();
}

void SearchResultsViewController::pickerViewDidSelectRow(ui::PickerView& picker, int row,
                                                         int component) {
  if (component != 0 || treeFor(picker.tag()).empty()) return;
  mainIndexFor(picker.tag()) = row;
  picker.reloadComponent(1);
  picker.selectRow(0, 1, false);
}

void SearchResultsViewController::cancelPick(VSPickerView& picker) {
  mainIndexFor(picker.tag()) = mainIndexAtOpen_;
  picker.hideWithAnimation(true);
}

void SearchResultsViewController::finishPick(VSPickerView& picker) {
  picker.hideWithAnimation(true);
  const int tag = picker.tag();
  const bool areas = tag == kAreaPicker;
  auto& tree = treeFor(tag);
  if (tree.empty()) {
    if (areas) {
      requestLeftPickerData();
    } else {
      requestRightPickerData();
    }
    return;
  }
  const auto rows = picker.selectedIndexPath();
  const int m = rows.size() > 0 ? rows[0] : 0;
  const int c = rows.size() > 1 ? rows[1] : 0;
  // A row outside the tree (or outside the entry's children) selects nothing.
  if (m < 0 || m >= static_cast<int>(tree.size())) {
    mainIndexFor(tag) = mainIndexAtOpen_;
    return;
  }
  const std::shared_ptr<LKObject> entry = tree[m];
  const auto& children = entry->children();
  if (c < 0 || (c > 0 && c >= static_cast<int>(children.size()))) {
    mainIndexFor(tag) = mainIndexAtOpen_;
    return;
  }
  auto& mainName = areas ? area : channel;
  auto& mainId = areas ? areaId : channelId;
  auto& subName = areas ? subArea : category;
  auto& subId = areas ? subAreaId : categoryId;
  if (m > 0) {
    mainName = entry->name();
    mainId = entry->id();
  } else {
    mainName.reset();
    mainId = 0;
  }
  std::string title;
  if (c > 0) {
    subName = children[c]->name();
    subId = children[c]->id();
    title = children[c]->nameText();
  } else {
    subName.reset();
    subId = 0;
    title = entry->nameText();
  }
  mainIndexFor(tag) = m;
  subIndexFor(tag) = c;
  if (header_) {
    if (areas) {
      header_->setLeftTitle(title);
    } else {
      header_->setRightTitle(title);
    }
  }
  cleanAll();
  searchRequest();
}

// ---------------------------------------------------------------------------------------------
// Titles

std::string SearchResultsViewController::sectionTitle() const {
  const std::string count = resultCount_ != 0 ? strprintf("[%d家商户]", resultCount_) : "";
  const std::string w = textOf(what);
  const std::string p = textOf(where);
  if (w.empty() && !p.empty()) return "搜索" + std::string(kDash) + p + count;
  if (w.empty()) {
    std::string t = present(subArea) ? *subArea : textOf(area);
    const std::string kind = present(category) ? *category : textOf(channel);
    if (!kind.empty()) t += (t.empty() ? "" : " ") + kind;
    return t.empty() ? count : "搜索" + std::string(kDash) + t + count;
  }
  if (p.empty()) return "搜索" + std::string(kDash) + w + count;
  return "搜索" + std::string(kDash) + w + kDash + p + count;
}

bool SearchResultsViewController::showDistance() const {
  return where && !blankAfterTrimming(*where);
}

// ---------------------------------------------------------------------------------------------
// Life cycle

void SearchResultsViewController::loadView() {
  isPullLoadMore = true;
  LKTableViewController::loadView();
  if (!headerHidden) {
    header_ = std::make_shared<SearchResultsHeader>(hasDistanceSort());
    addSubview(header_);
  }
  scrollButton_ = std::make_shared<ui::Button>(ui::Rect{270, 300, 40, 40});
  scrollButton_->setImage(ui::Image::named(kScrollTopImage, {40, 40}));
  scrollButton_->setAction([this](ui::Button&) { scrollToTop(); });
  scrollButton_->setHidden(true);
  addSubview(scrollButton_);
}

void SearchResultsViewController::initTableView() {
  LKTableViewController::initTableView();
  const double top = headerHidden ? 0 : SearchResultsHeader::kHeight;
  const double height = (tabbarHidden ? 416 : 367) - top;
  tableView()->setFrame(ui::Rect{0, top, 320, height});
}

void SearchResultsViewController::viewDidLoad() {
  LKTableViewController::viewDidLoad();
  if (title().empty()) setTitle("搜索结果");
  if (sort == 0) sort = 1;
  showAddShop = true;
  resultList_.clear();
  leftData_.clear();
  rightData_.clear();
  setHeaderTitles();
  searchRequest();
}

void SearchResultsViewController::viewDidUnload() {
  cleanAll();
  if (picker_) {
    picker_->setTarget(nullptr);
    picker_->setDataSource(nullptr);
    picker_->setPickerDelegate(nullptr);
    picker_->hideWithAnimation(false);
    picker_.reset();
  }
  scrollButton_.reset();
  header_.reset();
  leftData_.clear();
  rightData_.clear();
  LKTableViewController::viewDidUnload();
}

void SearchResultsViewController::viewDidAppear(bool animated) {
  LKTableViewController::viewDidAppear(animated);
  observeNotifications();
}

void SearchResultsViewController::viewWillDisappear(bool animated) {
  observers_.clear();
  if (picker_ && picker_->isShown()) picker_->hideWithAnimation(false);
  LKTableViewController::viewWillDisappear(animated);
}

bool SearchResultsViewController::isTopOfStack() const {
  auto* nav = navigationController();
  return nav != nullptr && nav->topViewController() == this;
}

void SearchResultsViewController::observeNotifications() {
  observers_.clear();
  auto& center = NotificationCenter::defaultCenter();
  observers_.push_back(center.addObserver(kSearchSelectLeft, [this](const Notification&) {
    if (isTopOfStack()) selectLeft();
  }));
  observers_.push_back(center.addObserver(kSearchSelectRight, [this](const Notification&) {
    if (isTopOfStack()) selectRight();
  }));
  observers_.push_back(center.addObserver(kSearchSortTermChanged, [this](const Notification& n) {
    if (!isTopOfStack()) return;
    if (const int* code = n.info<int>(kSearchSortKey)) sortTermChanged(*code);
  }));
}

// ---------------------------------------------------------------------------------------------
// The list

int SearchResultsViewController::tableViewNumberOfRowsInSection(ui::TableView& /*tableView*/,
                                                                int /*section*/) {
  const int n = static_cast<int>(resultList_.size());
  if (n > 0 && n == resultCount_ && showAddShop) return n + 1;
  if (showAddShop && isSearchFinished_ && n == 0) return 1;
  return n;
}

std::shared_ptr<ui::TableViewCell> SearchResultsViewController::tableViewCellForRowAtIndexPath(
    ui::TableView& tableView, ui::IndexPath ip) {
  if (ip.row >= 0 && ip.row < static_cast<int>(resultList_.size())) {
    auto cell = std::dynamic_pointer_cast<CustomCell>(tableView.dequeueReusableCell(kShopCellId));
    if (!cell) {
      cell = std::make_shared<CustomCell>(ui::TableViewCell::Style::kDefault, kShopCellId);
      cell->setCellView(std::make_shared<SearchResultCellView>());
    }
    if (auto view = std::dynamic_pointer_cast<SearchResultCellView>(cell->cellView())) {
      view->showDistance = showDistance();
      view->setDataModel(resultList_[ip.row]);
      view->setNeedsDisplay();
    }
    return cell;
  }
  auto cell = tableView.dequeueReusableCell(kAddShopCellId);
  if (!cell) {
    cell = std::make_shared<ui::TableViewCell>(ui::TableViewCell::Style::kSubtitle, kAddShopCellId);
    cell->textLabel()->setText(kAddShopTitle);
    cell->detailTextLabel()->setText(kAddShopSubtitle);
    cell->accessoryType = ui::TableViewCell::Accessory::kDisclosureIndicator;
  }
  return cell;
}

std::optional<double> SearchResultsViewController::tableViewHeightForRowAtIndexPath(
    ui::TableView& /*tableView*/, ui::IndexPath ip) {
  if (ip.row >= 0 && ip.row < static_cast<int>(resultList_.size())) {
    return SearchResultCellView::heightOfCell(*resultList_[ip.row], showDistance());
  }
  return kAddShopRowHeight;
}

std::optional<std::string> SearchResultsViewController::tableViewTitleForHeaderInSection(
    ui::TableView& /*tableView*/, int /*section*/) {
  std::string title = sectionTitle();
  if (title.empty()) return std::nullopt;
  return title;
}

void SearchResultsViewController::tableViewDidSelectRowAtIndexPath(ui::TableView& tableView,
                                                                   ui::IndexPath ip) {
  tableView.deselectRowAtIndexPath(ip, true);
  if (ip.row >= 0 && ip.row < static_cast<int>(resultList_.size())) {
    openShop(resultList_[ip.row]);
  } else {
    openAddShop();
  }
}

void SearchResultsViewController::openShop(const std::shared_ptr<ShopInfo>& shop) {
  auto* nav = navigationController();
  if (nav == nullptr || shop->shopId().empty()) return;
  auto screen = std::make_shared<ShopInfoViewController>();
  screen->hidesBottomBarWhenPushed = true;
  screen->setShopInfo(shop);
  nav->pushViewController(screen, true);
}

void SearchResultsViewController::openAddShop() {
  auto* nav = navigationController();
  if (nav == nullptr) return;
  nav->pushViewController(std::make_shared<AddShopViewController>(textOf(what)), true);
}

void SearchResultsViewController::scrollViewDidEndDragging(ui::ScrollView& scrollView,
                                                           bool decelerate) {
  LKTableViewController::scrollViewDidEndDragging(scrollView, decelerate);
  updateScrollButton();
}

void SearchResultsViewController::scrollViewDidEndDecelerating(ui::ScrollView& /*scrollView*/) {
  updateScrollButton();
}

void SearchResultsViewController::scrollViewDidEndScrollingAnimation(
    ui::ScrollView& /*scrollView*/) {
  updateScrollButton();
}

void SearchResultsViewController::updateScrollButton() {
  if (!scrollButton_ || !tableView()) return;
  scrollButton_->setHidden(tableView()->contentOffset().y <= kScrollTopThreshold);
}

void SearchResultsViewController::scrollToTop() {
  if (!tableView() || tableView()->numberOfSections() == 0 ||
      tableView()->numberOfRowsInSection(0) == 0) {
    return;
  }
  tableView()->scrollToRowAtIndexPath({0, 0}, ui::TableView::ScrollPosition::kTop, true);
}

}  // namespace lk

#include "Classes/Search/SearchHistoryViewController.h"

#include "Classes/LocalState/CacheCenter.h"
#include "Classes/Records/DirectoryDecoder.h"
#include "Classes/Search/SearchHistoryDelegate.h"
#include "Classes/ServiceClient/HttpRequest.h"
#include "Classes/ServiceClient/ServiceAnswer.h"
#include "Classes/ServiceClient/ServiceEndpoints.h"
#include "Platform/Log/Log.h"
#include "Platform/UI/ActionSheet.h"
#include "Platform/UI/BarButtonItem.h"
#include "Platform/UI/TableView.h"
#include "Platform/UI/TableViewCell.h"

namespace lk {

namespace {

constexpr const char* kRowCellId = "SearchHistoryCell";

int currentCityId() {
  const auto city = CacheCenter::sharedInstance().currentCity();
  return city ? city->id() : 0;
}

}  // namespace

SearchHistoryViewController::SearchHistoryViewController() = default;

SearchHistoryViewController::~SearchHistoryViewController() {
  if (sheet_) sheet_->setDelegate(nullptr);
  if (segmentedControl_) segmentedControl_->setAction(nullptr);
}

const std::vector<std::string>& SearchHistoryViewController::history() const {
  auto& cache = CacheCenter::sharedInstance();
  return controllerType == kKeywordType ? cache.channelSearchHistory() : cache.areaSearchHistory();
}

bool SearchHistoryViewController::showsDirectory() const {
  return segmentedControl_ && segmentedControl_->selectedSegmentIndex() == kDirectorySegment;
}

std::vector<SearchHistoryViewController::Section> SearchHistoryViewController::sections() const {
  std::vector<Section> out;
  const auto add = [&out](std::string title, std::vector<std::string> rows) {
    if (!rows.empty()) out.push_back({std::move(title), std::move(rows)});
  };
  if (!showsDirectory()) {
    add(kRecentTitle, history());
  } else if (controllerType == kKeywordType) {
    add(kHotChannelTitle, hotChannel);
    add(kAllChannelTitle, allChannel);
  } else {
    std::vector<std::string> names;
    for (const auto& area : areaList)
      names.push_back(area->nameText());
    add(kAllAreaTitle, std::move(names));
  }
  return out;
}

void SearchHistoryViewController::updateBar() {
  if (!showsDirectory()) {
    setTitle(kRecentTitle);
    navigationItem().rightBarButtonItem =
        ui::BarButtonItem::withTitle(kClearTitle, ui::BarButtonItem::Style::kBordered,
                                     [this](ui::BarButtonItem&) { clearHistory(); });
  } else {
    setTitle(controllerType == kKeywordType ? kAllChannelTitle : kAllAreaTitle);
    navigationItem().rightBarButtonItem.reset();
  }
}

void SearchHistoryViewController::switchSegment() {
  updateBar();
  if (showsDirectory()) {
    request_.reset();
    const bool empty = controllerType == kKeywordType ? allChannel.empty() && hotChannel.empty()
                                                      : areaList.empty();
    if (empty) requestDirectory();
  }
  if (tableView()) tableView()->reloadData();
}

void SearchHistoryViewController::requestDirectory() {
  const int tag = controllerType == kKeywordType ? 1 : 0;
  request_ = std::make_unique<HttpRequest>(this, tag);
  const char* path = controllerType == kKeywordType ? "area" : "citymore";
  request_->requestGETWithGZip(
      strprintf("%s/index/%d/%s", ServiceEndpoints::serviceURL().c_str(), currentCityId(), path));
}

void SearchHistoryViewController::clearHistory() {
  sheet_ = std::make_shared<ui::ActionSheet>(kClearQuestion, this, kCancelButton, kClearButton,
                                             std::vector<std::string>{});
  sheet_->showInView(view().get());
}

void SearchHistoryViewController::actionSheetClickedButtonAtIndex(ui::ActionSheet& sheet,
                                                                  int index) {
  if (index != sheet.destructiveButtonIndex()) return;
  auto& cache = CacheCenter::sharedInstance();
  if (controllerType == kKeywordType) {
    cache.clearChannelSearchHistory();
  } else {
    cache.clearAreaSearchHistory();
  }
  if (tableView()) tableView()->reloadData();
}

void SearchHistoryViewController::choose(const std::string& text) {
  if (delegate != nullptr) delegate->setSearchText(text);
  dismissModalViewController(true);
}

void SearchHistoryViewController::goBack() {
  dismissModalViewController(true);
}

// ---------------------------------------------------------------------------------------------
// Life cycle

void SearchHistoryViewController::loadView() {
  LKTableViewController::loadView();
  const char* directory = controllerType == kKeywordType ? kAllChannelTitle : kAllAreaTitle;
  segmentedControl_ = std::make_shared<ui::SegmentedControl>(
      std::vector<std::string>{kRecentTitle, directory}, ui::Rect{0, 0, 160, 30});
  segmentedControl_->setSelectedSegmentIndex(kRecentSegment);
  segmentedControl_->setAction([this](ui::SegmentedControl&) { switchSegment(); });
  navigationItem().titleView = segmentedControl_;
  navigationItem().leftBarButtonItem = ui::BarButtonItem::withTitle(
      kBackTitle, ui::BarButtonItem::Style::kBordered, [this](ui::BarButtonItem&) { goBack(); });
}

void SearchHistoryViewController::viewDidLoad() {
  LKTableViewController::viewDidLoad();
  updateBar();
  if (tableView()) tableView()->reloadData();
}

// ---------------------------------------------------------------------------------------------
// The list

int SearchHistoryViewController::numberOfSectionsInTableView(ui::TableView& /*tableView*/) {
  return static_cast<int>(sections().size());
}

int SearchHistoryViewController::tableViewNumberOfRowsInSection(ui::TableView& /*tableView*/,
                                                                int section) {
  const auto all = sections();
  if (section < 0 || static_cast<std::size_t>(section) >= all.size()) return 0;
  return static_cast<int>(all[static_cast<std::size_t>(section)].rows.size());
}

std::shared_ptr<ui::TableViewCell> SearchHistoryViewController::tableViewCellForRowAtIndexPath(
    ui::TableView& tableView, ui::IndexPath ip) {
  auto cell = tableView.dequeueReusableCell(kRowCellId);
  if (!cell)
    cell = std::make_shared<ui::TableViewCell>(ui::TableViewCell::Style::kDefault, kRowCellId);
  const auto all = sections();
  std::string text;
  if (static_cast<std::size_t>(ip.section) < all.size()) {
    const auto& rows = all[static_cast<std::size_t>(ip.section)].rows;
    if (static_cast<std::size_t>(ip.row) < rows.size())
      text = rows[static_cast<std::size_t>(ip.row)];
  }
  cell->textLabel()->setText(text);
  return cell;
}

std::optional<std::string> SearchHistoryViewController::tableViewTitleForHeaderInSection(
    ui::TableView& /*tableView*/, int section) {
  const auto all = sections();
  if (section < 0 || static_cast<std::size_t>(section) >= all.size()) return std::nullopt;
  return all[static_cast<std::size_t>(section)].title;
}

void SearchHistoryViewController::tableViewDidSelectRowAtIndexPath(ui::TableView& /*tableView*/,
                                                                   ui::IndexPath ip) {
  const auto all = sections();
  if (static_cast<std::size_t>(ip.section) >= all.size()) return;
  const auto& rows = all[static_cast<std::size_t>(ip.section)].rows;
  if (static_cast<std::size_t>(ip.row) >= rows.size()) return;
  choose(rows[static_cast<std::size_t>(ip.row)]);
}

// ---------------------------------------------------------------------------------------------
// Answers

void SearchHistoryViewController::requestSucceeded(HttpRequest& request) {
  if (&request != request_.get()) return;
  auto answer = readJsonAnswer(request, AnswerEncoding::kCompressed);
  if (!answer.ok()) {
    if (!isAnswerStep(answer.error(), AnswerStep::kStatus))
      logf("Request shop info, error:%s", answer.error().description.c_str());
  } else {
    const boost::json::value root(std::move(*answer));
    if (request.tag() == 1) {
      auto index = DirectoryDecoder::decodeCityIndex(root);
      hotChannel = std::move(index.hotCategories);
      allChannel = std::move(index.allCategories);
    } else {
      areaList = DirectoryDecoder::decodeAreaTree(root);
      for (const auto& district : areaList) {
        std::vector<std::shared_ptr<Area>> circles;
        for (const auto& child : district->children()) {
          if (auto area = std::dynamic_pointer_cast<Area>(child)) circles.push_back(area);
        }
        if (!circles.empty()) subAreaList[district->nameText()] = std::move(circles);
      }
    }
    if (tableView()) tableView()->reloadData();
  }
  request_.reset();
}

void SearchHistoryViewController::requestFailed(HttpRequest& request,
                                                const PlatformError& /*error*/) {
  if (&request == request_.get()) request_.reset();
}

}  // namespace lk

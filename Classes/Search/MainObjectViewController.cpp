#include "Classes/Search/MainObjectViewController.h"

#include "Classes/LocalState/CacheCenter.h"
#include "Classes/Records/DirectoryDecoder.h"
#include "Classes/Search/SearchResultsViewController.h"
#include "Classes/Search/SubObjectViewController.h"
#include "Classes/ServiceClient/HttpRequest.h"
#include "Classes/ServiceClient/ServiceAnswer.h"
#include "Classes/ServiceClient/ServiceEndpoints.h"
#include "Platform/Log/Log.h"
#include "Platform/UI/NavigationController.h"
#include "Platform/UI/TableView.h"
#include "Platform/UI/TableViewCell.h"

namespace lk {

namespace {

constexpr const char* kObjectCellId = "MainObjectCell";

int currentCityId() {
  const auto city = CacheCenter::sharedInstance().currentCity();
  return city ? city->id() : 0;
}

}  // namespace

MainObjectViewController::MainObjectViewController() = default;

MainObjectViewController::~MainObjectViewController() {
  if (segmentedControl_) segmentedControl_->setAction(nullptr);
}

int MainObjectViewController::selectedType() const {
  return segmentedControl_ ? segmentedControl_->selectedSegmentIndex() : type;
}

void MainObjectViewController::switchSelect() {
  loadData();
}

void MainObjectViewController::loadData() {
  if (selectedType() == kAreaType) {
    if (areaList.empty()) {
      requestArea();
      return;
    }
  } else if (channelList.empty()) {
    requestChannel();
    return;
  }
  if (tableView()) tableView()->reloadData();
}

void MainObjectViewController::requestArea() {
  areaRequest_ = std::make_unique<HttpRequest>(this, kAreaRequest);
  areaRequest_->requestGETWithGZip(
      strprintf("%s/index/%d/citymore", ServiceEndpoints::serviceURL().c_str(), currentCityId()));
  if (tableView()) tableView()->reloadData();
}

void MainObjectViewController::requestChannel() {
  channelRequest_ = std::make_unique<HttpRequest>(this, kChannelRequest);
  channelRequest_->requestGETWithGZip(strprintf(
      "%s/search/0/q?ci=%d&p=0&n=1", ServiceEndpoints::serviceURL().c_str(), currentCityId()));
  if (tableView()) tableView()->reloadData();
}

void MainObjectViewController::loadView() {
  LKTableViewController::loadView();
  segmentedControl_ = std::make_shared<ui::SegmentedControl>(
      std::vector<std::string>{kChannelSegment, kAreaSegment}, ui::Rect{0, 0, 180, 30});
  segmentedControl_->setSelectedSegmentIndex(type == kAreaType ? kAreaType : kChannelType);
  segmentedControl_->setAction([this](ui::SegmentedControl&) { switchSelect(); });
  navigationItem().titleView = segmentedControl_;
}

void MainObjectViewController::viewDidLoad() {
  LKTableViewController::viewDidLoad();
  setBackTitle(kDefaultBackTitle);
  loadData();
}

// ---------------------------------------------------------------------------------------------
// The list

int MainObjectViewController::tableViewNumberOfRowsInSection(ui::TableView& /*tableView*/,
                                                             int /*section*/) {
  return static_cast<int>(selectedType() == kAreaType ? areaList.size() : channelList.size());
}

std::shared_ptr<ui::TableViewCell> MainObjectViewController::tableViewCellForRowAtIndexPath(
    ui::TableView& tableView, ui::IndexPath ip) {
  auto cell = tableView.dequeueReusableCell(kObjectCellId);
  if (!cell)
    cell = std::make_shared<ui::TableViewCell>(ui::TableViewCell::Style::kDefault, kObjectCellId);
  const auto row = static_cast<std::size_t>(ip.row);
  cell->accessoryType = ui::TableViewCell::Accessory::kNone;
  cell->textLabel()->setText("");
  if (selectedType() == kAreaType) {
    if (row < areaList.size()) {
      cell->textLabel()->setText(areaList[row]->nameText());
      if (areaList[row]->hasChildren())
        cell->accessoryType = ui::TableViewCell::Accessory::kDisclosureIndicator;
    }
  } else if (row < channelList.size()) {
    cell->textLabel()->setText(channelList[row]->nameText());
  }
  return cell;
}

void MainObjectViewController::tableViewDidSelectRowAtIndexPath(ui::TableView& /*tableView*/,
                                                                ui::IndexPath ip) {
  auto* stack = navigationController();
  if (stack == nullptr) return;
  const auto row = static_cast<std::size_t>(ip.row);
  if (selectedType() == kAreaType) {
    if (row >= areaList.size()) return;
    const auto& district = areaList[row];
    if (district->hasChildren()) {
      auto sub = std::make_shared<SubObjectViewController>();
      sub->type = SubObjectViewController::kAreaType;
      for (const auto& circle : subAreaList[district->nameText()])
        sub->objectList.push_back(circle);
      stack->pushViewController(sub, true);
      return;
    }
    auto results = std::make_shared<SearchResultsViewController>();
    results->area = district->nameText();
    results->areaId = district->id();
    stack->pushViewController(results, true);
    return;
  }
  if (row >= channelList.size()) return;
  auto results = std::make_shared<SearchResultsViewController>();
  results->channel = channelList[row]->nameText();
  results->channelId = channelList[row]->id();
  stack->pushViewController(results, true);
}

// ---------------------------------------------------------------------------------------------
// Answers

void MainObjectViewController::requestSucceeded(HttpRequest& request) {
  const bool isArea = &request == areaRequest_.get();
  if (!isArea && &request != channelRequest_.get()) return;
  auto answer = readJsonAnswer(request, AnswerEncoding::kCompressed);
  if (!answer.ok()) {
    if (!isAnswerStep(answer.error(), AnswerStep::kStatus))
      logf("Request shop info, error:%s", answer.error().description.c_str());
  } else {
    const boost::json::value root(std::move(*answer));
    if (isArea) {
      areaList = DirectoryDecoder::decodeAreaTree(root);
      subAreaList.clear();
      for (const auto& district : areaList) {
        std::vector<std::shared_ptr<Area>> circles;
        for (const auto& child : district->children()) {
          if (auto area = std::dynamic_pointer_cast<Area>(child)) circles.push_back(area);
        }
        if (!circles.empty()) subAreaList[district->nameText()] = std::move(circles);
      }
    } else {
      channelList = DirectoryDecoder::decodeSearchChannels(root);
    }
  }
  if (isArea) {
    areaRequest_.reset();
  } else {
    channelRequest_.reset();
  }
  if (tableView()) tableView()->reloadData();
}

void MainObjectViewController::requestFailed(HttpRequest& request, const PlatformError& /*error*/) {
  if (&request == areaRequest_.get()) areaRequest_.reset();
  if (&request == channelRequest_.get()) channelRequest_.reset();
}

}  // namespace lk

#include "Classes/Search/LKPickerViewController.h"

#include "Classes/Search/LKPickerDelegate.h"
#include "Classes/ServiceClient/HttpRequest.h"
#include "Classes/ServiceClient/ServiceAnswer.h"
#include "Classes/Toolkit/LoadingView.h"
#include "Platform/Log/Log.h"
#include "Platform/UI/NavigationController.h"
#include "Platform/UI/TableView.h"
#include "Platform/UI/TableViewCell.h"

namespace lk {

namespace {

constexpr const char* kPickerCellId = "PickerCell";

}  // namespace

LKPickerViewController::LKPickerViewController() = default;

LKPickerViewController::~LKPickerViewController() = default;

std::vector<LKPickerViewController::Section> LKPickerViewController::shownSections() const {
  auto all = sections();
  std::erase_if(all, [](const Section& s) { return s.rows.empty(); });
  return all;
}

void LKPickerViewController::viewDidLoad() {
  LKTableViewController::viewDidLoad();
  if (title().empty()) setTitle(defaultTitle());
  if (hasCancelButton) {
    navigationItem().leftBarButtonItem = buttonItemWithTitle(kCancelTitle, [this] { cancel(); });
  } else if (navigationController() != nullptr &&
             navigationController()->viewControllers().size() > 1) {
    setBackTitle(kDefaultBackTitle);
  }
  showLoading();
  _loadDataSource();
}

void LKPickerViewController::cancel() {
  if (delegate != nullptr) delegate->pickerControllerCancelled(*this);
}

void LKPickerViewController::_dataSourceReady() {
  hideLoading();
  if (tableView()) tableView()->reloadData();
}

void LKPickerViewController::startRequest(const std::string& url) {
  request_ = std::make_unique<HttpRequest>(this, 0);
  request_->requestGETWithGZip(url);
}

void LKPickerViewController::pick(const std::shared_ptr<LKObject>& data) {
  if (delegate != nullptr && data) delegate->pickerControllerPickData(*this, data);
}

void LKPickerViewController::didChoose(const Section& /*section*/,
                                       const std::shared_ptr<LKObject>& row) {
  pick(row);
}

// ---------------------------------------------------------------------------------------------
// The list

int LKPickerViewController::numberOfSectionsInTableView(ui::TableView& /*tableView*/) {
  return static_cast<int>(shownSections().size());
}

int LKPickerViewController::tableViewNumberOfRowsInSection(ui::TableView& /*tableView*/,
                                                           int section) {
  const auto all = shownSections();
  if (section < 0 || static_cast<std::size_t>(section) >= all.size()) return 0;
  return static_cast<int>(all[static_cast<std::size_t>(section)].rows.size());
}

std::shared_ptr<ui::TableViewCell> LKPickerViewController::tableViewCellForRowAtIndexPath(
    ui::TableView& tableView, ui::IndexPath ip) {
  auto cell = tableView.dequeueReusableCell(kPickerCellId);
  if (!cell)
    cell = std::make_shared<ui::TableViewCell>(ui::TableViewCell::Style::kDefault, kPickerCellId);
  const auto all = shownSections();
  cell->accessoryType = ui::TableViewCell::Accessory::kNone;
  cell->textLabel()->setText("");
  if (static_cast<std::size_t>(ip.section) >= all.size()) return cell;
  const Section& section = all[static_cast<std::size_t>(ip.section)];
  if (static_cast<std::size_t>(ip.row) >= section.rows.size()) return cell;
  const auto& row = section.rows[static_cast<std::size_t>(ip.row)];
  cell->textLabel()->setText(row ? row->nameText() : section.placeholder);
  if (section.disclosure) cell->accessoryType = ui::TableViewCell::Accessory::kDisclosureIndicator;
  return cell;
}

std::optional<std::string> LKPickerViewController::tableViewTitleForHeaderInSection(
    ui::TableView& /*tableView*/, int section) {
  const auto all = shownSections();
  if (section < 0 || static_cast<std::size_t>(section) >= all.size()) return std::nullopt;
  const auto& title = all[static_cast<std::size_t>(section)].title;
  if (title.empty()) return std::nullopt;
  return title;
}

void LKPickerViewController::tableViewDidSelectRowAtIndexPath(ui::TableView& /*tableView*/,
                                                              ui::IndexPath ip) {
  const auto all = shownSections();
  if (static_cast<std::size_t>(ip.section) >= all.size()) return;
  const Section& section = all[static_cast<std::size_t>(ip.section)];
  if (static_cast<std::size_t>(ip.row) >= section.rows.size()) return;
  // The delegate may close this picker: it stays alive until the choice is handled.
  auto keepAlive = shared_from_this();
  didChoose(section, section.rows[static_cast<std::size_t>(ip.row)]);
}

// ---------------------------------------------------------------------------------------------
// Answers

void LKPickerViewController::requestSucceeded(HttpRequest& request) {
  if (&request != request_.get()) return;
  auto answer = readJsonAnswer(request, AnswerEncoding::kCompressed);
  if (answer.ok()) {
    decodeAnswer(boost::json::value(std::move(*answer)));
  } else if (!isAnswerStep(answer.error(), AnswerStep::kStatus)) {
    logf("Request shop info, error:%s", answer.error().description.c_str());
  }
  request_.reset();
  _dataSourceReady();
}

void LKPickerViewController::requestFailed(HttpRequest& request, const PlatformError& /*error*/) {
  if (&request != request_.get()) return;
  request_.reset();
  _dataSourceReady();
}

}  // namespace lk

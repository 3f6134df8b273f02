#include "Classes/Search/SubObjectViewController.h"

#include "Classes/Search/SearchResultsViewController.h"
#include "Platform/UI/NavigationController.h"
#include "Platform/UI/TableView.h"
#include "Platform/UI/TableViewCell.h"

namespace lk {

namespace {

constexpr const char* kObjectCellId = "SubObjectCell";

}  // namespace

void SubObjectViewController::viewDidLoad() {
  LKTableViewController::viewDidLoad();
  setTitle(type == kAreaType ? kAreaTitle : kChannelTitle);
  setBackTitle(kDefaultBackTitle);
}

int SubObjectViewController::tableViewNumberOfRowsInSection(ui::TableView& /*tableView*/,
                                                            int /*section*/) {
  return static_cast<int>(objectList.size());
}

std::shared_ptr<ui::TableViewCell> SubObjectViewController::tableViewCellForRowAtIndexPath(
    ui::TableView& tableView, ui::IndexPath ip) {
  auto cell = tableView.dequeueReusableCell(kObjectCellId);
  if (!cell)
    cell = std::make_shared<ui::TableViewCell>(ui::TableViewCell::Style::kDefault, kObjectCellId);
  const auto row = static_cast<std::size_t>(ip.row);
  cell->textLabel()->setText(row < objectList.size() ? objectList[row]->nameText() : "");
  return cell;
}

void SubObjectViewController::tableViewDidSelectRowAtIndexPath(ui::TableView& /*tableView*/,
                                                               ui::IndexPath ip) {
  const auto row = static_cast<std::size_t>(ip.row);
  if (row >= objectList.size()) return;
  auto results = std::make_shared<SearchResultsViewController>();
  if (type == kAreaType) {
    results->subArea = objectList[row]->nameText();
  } else {
    results->channel = objectList[row]->nameText();
  }
  if (auto* stack = navigationController()) stack->pushViewController(results, true);
}

}  // namespace lk

#pragma once

#include <memory>
#include <vector>

#include "Classes/Records/LKObject.h"
#include "Classes/Toolkit/LKTableViewController.h"

namespace lk {

// The business circles of a district (type 0) or sub-categories (otherwise); each opens a
// search by its name.
class SubObjectViewController : public LKTableViewController {
 public:
  static constexpr int kAreaType = 0;
  static constexpr const char* kAreaTitle = "选择区域";
  static constexpr const char* kChannelTitle = "选择分类";

  int type = kAreaType;
  std::vector<std::shared_ptr<LKObject>> objectList;

  void viewDidLoad() override;
  int tableViewNumberOfRowsInSection(ui::TableView& tableView, int section) override;
  std::shared_ptr<ui::TableViewCell> tableViewCellForRowAtIndexPath(ui::TableView& tableView,
                                                                    ui::IndexPath ip) override;
  void tableViewDidSelectRowAtIndexPath(ui::TableView& tableView, ui::IndexPath ip) override;
};

}  // namespace lk

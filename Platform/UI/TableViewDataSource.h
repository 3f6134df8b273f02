#pragma once

#include <memory>
#include <optional>
#include <string>

#include "Platform/UI/IndexPath.h"

namespace lk::ui {

class TableView;
class TableViewCell;

// Supplies a table's rows. Every callback has a default (one section, no rows).
class TableViewDataSource {
 public:
  TableViewDataSource() = default;
  TableViewDataSource(const TableViewDataSource&) = delete;
  TableViewDataSource& operator=(const TableViewDataSource&) = delete;
  virtual ~TableViewDataSource() = default;

  virtual int numberOfSectionsInTableView(TableView& /*tableView*/) { return 1; }
  virtual int tableViewNumberOfRowsInSection(TableView& /*tableView*/, int /*section*/) {
    return 0;
  }
  // A null cell shows an empty row.
  virtual std::shared_ptr<TableViewCell> tableViewCellForRowAtIndexPath(TableView& /*tableView*/,
                                                                        IndexPath /*indexPath*/) {
    return nullptr;
  }
  virtual std::optional<std::string> tableViewTitleForHeaderInSection(TableView& /*tableView*/,
                                                                      int /*section*/) {
    return std::nullopt;
  }
  virtual std::optional<std::string> tableViewTitleForFooterInSection(TableView& /*tableView*/,
                                                                      int /*section*/) {
    return std::nullopt;
  }
};

}  // namespace lk::ui

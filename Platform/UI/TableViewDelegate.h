#pragma once

#include <memory>
#include <optional>

#include "Platform/UI/IndexPath.h"
#include "Platform/UI/ScrollViewDelegate.h"

namespace lk::ui {

class TableView;
class TableViewCell;
class View;

// Told of a table's selections and asked for its sizes; it hears the table's scrolling too.
// Every callback is optional: no answer means the table's defaults.
class TableViewDelegate : public ScrollViewDelegate {
 public:
  virtual std::optional<double> tableViewHeightForRowAtIndexPath(TableView& /*tableView*/,
                                                                 IndexPath /*indexPath*/) {
    return std::nullopt;
  }
  virtual std::optional<double> tableViewHeightForHeaderInSection(TableView& /*tableView*/,
                                                                  int /*section*/) {
    return std::nullopt;
  }
  virtual std::optional<double> tableViewHeightForFooterInSection(TableView& /*tableView*/,
                                                                  int /*section*/) {
    return std::nullopt;
  }
  virtual std::shared_ptr<View> tableViewViewForHeaderInSection(TableView& /*tableView*/,
                                                                int /*section*/) {
    return nullptr;
  }
  virtual std::shared_ptr<View> tableViewViewForFooterInSection(TableView& /*tableView*/,
                                                                int /*section*/) {
    return nullptr;
  }
  // Return nullopt to refuse the selection, or another row to select that one instead.
  virtual std::optional<IndexPath> tableViewWillSelectRowAtIndexPath(TableView& /*tableView*/,
                                                                     IndexPath indexPath) {
    return indexPath;
  }
  virtual void tableViewDidSelectRowAtIndexPath(TableView& /*tableView*/, IndexPath /*indexPath*/) {
  }
  virtual void tableViewWillDisplayCell(TableView& /*tableView*/, TableViewCell& /*cell*/,
                                        IndexPath /*indexPath*/) {}
};

}  // namespace lk::ui

#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "Platform/UI/IndexPath.h"
#include "Platform/UI/ScrollView.h"
#include "Platform/UI/TableViewCell.h"
#include "Platform/UI/TableViewDataSource.h"
#include "Platform/UI/TableViewDelegate.h"

namespace lk::ui {

// A scrolling list of sections and rows. Cells exist only for the rows inside the visible
// area; cells that scroll out go to a pool by reuse identifier and are handed out again by
// dequeueReusableCell. Other subviews (pull footers, overlays) live beside the cells.
class TableView : public ScrollView {
 public:
  enum class Style { kPlain, kGrouped };
  enum class SeparatorStyle { kNone, kSingleLine };
  enum class ScrollPosition { kNone, kTop, kMiddle, kBottom };

  explicit TableView(Rect frame = {}, Style style = Style::kPlain);
  ~TableView() override;

  // Both must outlive the table or be cleared.
  void setDataSource(TableViewDataSource* dataSource) { dataSource_ = dataSource; }
  void setTableDelegate(TableViewDelegate* delegate);
  [[nodiscard]] TableViewDataSource* dataSource() const { return dataSource_; }
  [[nodiscard]] TableViewDelegate* tableDelegate() const { return tableDelegate_; }

  [[nodiscard]] Style style() const { return style_; }
  SeparatorStyle separatorStyle = SeparatorStyle::kSingleLine;
  double rowHeight = 44;
  // Defaults when the delegate gives none; grouped tables space their sections by these.
  double sectionHeaderHeight;
  double sectionFooterHeight;
  bool allowsSelection = true;

  [[nodiscard]] const std::shared_ptr<View>& tableHeaderView() const { return headerView_; }
  void setTableHeaderView(std::shared_ptr<View> view);
  [[nodiscard]] const std::shared_ptr<View>& tableFooterView() const { return footerView_; }
  void setTableFooterView(std::shared_ptr<View> view);

  // Asks the data source again for everything and lays out the visible rows.
  void reloadData();
  [[nodiscard]] int numberOfSections() const { return static_cast<int>(sections_.size()); }
  [[nodiscard]] int numberOfRowsInSection(int section) const;
  [[nodiscard]] std::optional<Rect> rectForRowAtIndexPath(IndexPath indexPath) const;
  [[nodiscard]] std::optional<Rect> rectForHeaderInSection(int section) const;
  // The title of a section's header (when it has no header view of its own) or footer.
  [[nodiscard]] std::optional<std::string> titleForHeaderInSection(int section) const;
  [[nodiscard]] std::optional<std::string> titleForFooterInSection(int section) const;
  [[nodiscard]] std::optional<Rect> rectForFooterInSection(int section) const;
  // The cell of a visible row.
  [[nodiscard]] std::shared_ptr<TableViewCell> cellForRowAtIndexPath(IndexPath indexPath) const;
  [[nodiscard]] std::optional<IndexPath> indexPathForCell(const TableViewCell* cell) const;
  [[nodiscard]] std::vector<IndexPath> indexPathsForVisibleRows() const;
  [[nodiscard]] std::vector<std::shared_ptr<TableViewCell>> visibleCells() const;
  std::shared_ptr<TableViewCell> dequeueReusableCell(const std::string& identifier);

  void scrollToRowAtIndexPath(IndexPath indexPath, ScrollPosition position, bool animated);
  [[nodiscard]] std::optional<IndexPath> indexPathForSelectedRow() const { return selected_; }
  void selectRowAtIndexPath(IndexPath indexPath, bool animated);
  void deselectRowAtIndexPath(IndexPath indexPath, bool animated);
  // Whether the last deselect was asked to animate.
  [[nodiscard]] bool lastDeselectAnimated() const { return lastDeselectAnimated_; }

  // A finger's tap on a row: highlight, the delegate's will-select and did-select.
  bool tapRow(IndexPath indexPath);

  void setFrame(const Rect& frame) override;
  void dump(DumpWriter& out) const override;
  // Every row of the list, not only the visible ones, in the notation of dump(): section titles,
  // "row S.R" with what the cell shows, footer notes. Rows that show on screen are marked
  // " (on screen)". A row off screen is drawn with a cell the data source lends for the moment
  // (from the reuse pool, as scrolling would) and that goes back to the pool afterwards.
  void dumpAllRows(DumpWriter& out);
  // Whether some of the row shows in the visible area.
  [[nodiscard]] bool isRowOnScreen(IndexPath indexPath) const;

 protected:
  void contentOffsetDidChange() override;

 private:
  struct Section {
    double headerTop = 0;
    double headerHeight = 0;
    std::optional<std::string> headerTitle;
    std::shared_ptr<View> headerView;
    std::vector<double> rowTops;
    std::vector<double> rowHeights;
    double footerTop = 0;
    double footerHeight = 0;
    std::optional<std::string> footerTitle;
  };

  void layoutVisibleRows();
  // The rows of `section` that may meet `area` (a range to check, found by binary search).
  static std::pair<int, int> rowsIn(const Section& section, const Rect& area);
  void recycle(const IndexPath& indexPath);
  [[nodiscard]] bool isCell(const View* view) const;
  [[nodiscard]] Rect visibleRect() const;

  Style style_;
  TableViewDataSource* dataSource_ = nullptr;
  TableViewDelegate* tableDelegate_ = nullptr;
  std::shared_ptr<View> headerView_;
  std::shared_ptr<View> footerView_;
  std::vector<Section> sections_;
  std::map<IndexPath, std::shared_ptr<TableViewCell>> visible_;
  std::map<std::string, std::vector<std::shared_ptr<TableViewCell>>> reusePool_;
  std::optional<IndexPath> selected_;
  bool lastDeselectAnimated_ = false;
  bool laying_ = false;
};

}  // namespace lk::ui

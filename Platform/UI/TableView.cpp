#include "Platform/UI/TableView.h"

#include <algorithm>

#include "Platform/UI/DumpWriter.h"

namespace lk::ui {

namespace {
constexpr double kPlainTitleHeight = 22;
constexpr double kGroupedTitleHeight = 36;
}  // namespace

TableView::TableView(Rect frame, Style style)
    : ScrollView(frame),
      sectionHeaderHeight(style == Style::kGrouped ? 10 : 0),
      sectionFooterHeight(style == Style::kGrouped ? 10 : 0),
      style_(style) {}

TableView::~TableView() = default;

void TableView::setTableDelegate(TableViewDelegate* delegate) {
  tableDelegate_ = delegate;
  setDelegate(delegate);
}

void TableView::setTableHeaderView(std::shared_ptr<View> view) {
  if (headerView_) headerView_->removeFromSuperview();
  headerView_ = std::move(view);
  if (headerView_) addSubview(headerView_);
  reloadData();
}

void TableView::setTableFooterView(std::shared_ptr<View> view) {
  if (footerView_) footerView_->removeFromSuperview();
  footerView_ = std::move(view);
  if (footerView_) addSubview(footerView_);
  reloadData();
}

int TableView::numberOfRowsInSection(int section) const {
  if (section < 0 || section >= numberOfSections()) return 0;
  return static_cast<int>(sections_[section].rowTops.size());
}

void TableView::recycle(const IndexPath& indexPath) {
  auto it = visible_.find(indexPath);
  if (it == visible_.end()) return;
  auto cell = it->second;
  visible_.erase(it);
  if (!cell) return;
  cell->removeFromSuperview();
  if (!cell->reuseIdentifier().empty()) reusePool_[cell->reuseIdentifier()].push_back(cell);
}

std::shared_ptr<TableViewCell> TableView::dequeueReusableCell(const std::string& identifier) {
  auto it = reusePool_.find(identifier);
  if (it == reusePool_.end() || it->second.empty()) return nullptr;
  auto cell = it->second.back();
  it->second.pop_back();
  cell->prepareForReuse();
  return cell;
}

void TableView::reloadData() {
  if (laying_) return;
  auto keep = weak_from_this().lock();
  std::vector<IndexPath> shown;
  for (const auto& entry : visible_)
    shown.push_back(entry.first);
  for (const auto& ip : shown)
    recycle(ip);
  for (auto& section : sections_) {
    if (section.headerView) section.headerView->removeFromSuperview();
  }
  sections_.clear();

  double width = frame().width();
  double y = 0;
  if (headerView_) {
    headerView_->setFrame(Rect{0, 0, width, headerView_->frame().height()});
    y = headerView_->frame().height();
  }
  int count =
      dataSource_ != nullptr ? std::max(0, dataSource_->numberOfSectionsInTableView(*this)) : 0;
  for (int s = 0; s < count; ++s) {
    Section section;
    section.headerTop = y;
    if (dataSource_ != nullptr) {
      section.headerTitle = dataSource_->tableViewTitleForHeaderInSection(*this, s);
      section.footerTitle = dataSource_->tableViewTitleForFooterInSection(*this, s);
    }
    if (tableDelegate_ != nullptr) {
      section.headerView = tableDelegate_->tableViewViewForHeaderInSection(*this, s);
    }
    std::optional<double> headerHeight;
    if (tableDelegate_ != nullptr)
      headerHeight = tableDelegate_->tableViewHeightForHeaderInSection(*this, s);
    if (!headerHeight) {
      if (section.headerView) {
        headerHeight = section.headerView->frame().height();
      } else if (section.headerTitle) {
        headerHeight = style_ == Style::kGrouped ? kGroupedTitleHeight : kPlainTitleHeight;
      } else {
        headerHeight = sectionHeaderHeight;
      }
    }
    section.headerHeight = std::max(0.0, *headerHeight);
    if (section.headerView) {
      section.headerView->setFrame(Rect{0, y, width, section.headerHeight});
      addSubview(section.headerView);
    }
    y += section.headerHeight;
    int rows = dataSource_ != nullptr
                   ? std::max(0, dataSource_->tableViewNumberOfRowsInSection(*this, s))
                   : 0;
    for (int r = 0; r < rows; ++r) {
      std::optional<double> h;
      if (tableDelegate_ != nullptr)
        h = tableDelegate_->tableViewHeightForRowAtIndexPath(*this, IndexPath{s, r});
      double height = std::max(0.0, h.value_or(rowHeight));
      section.rowTops.push_back(y);
      section.rowHeights.push_back(height);
      y += height;
    }
    std::optional<double> footerHeight;
    if (tableDelegate_ != nullptr)
      footerHeight = tableDelegate_->tableViewHeightForFooterInSection(*this, s);
    section.footerTop = y;
    section.footerHeight = std::max(
        0.0, footerHeight.value_or(section.footerTitle ? kPlainTitleHeight : sectionFooterHeight));
    y += section.footerHeight;
    sections_.push_back(std::move(section));
  }
  if (footerView_) {
    footerView_->setFrame(Rect{0, y, width, footerView_->frame().height()});
    y += footerView_->frame().height();
  }
  setContentSize(Size{width, y});
  if (selected_ && (selected_->section >= numberOfSections() ||
                    selected_->row >= numberOfRowsInSection(selected_->section))) {
    selected_.reset();
  }
  layoutVisibleRows();
}

std::pair<int, int> TableView::rowsIn(const Section& section, const Rect& area) {
  // Rows are stored top to bottom: the first one ending below the area's top, up to the first
  // one starting at or below its bottom.
  const auto& tops = section.rowTops;
  auto begin = std::upper_bound(tops.begin(), tops.end(), area.y());
  if (begin != tops.begin()) --begin;
  auto end = std::lower_bound(begin, tops.end(), area.maxY());
  return {static_cast<int>(begin - tops.begin()), static_cast<int>(end - tops.begin())};
}

Rect TableView::visibleRect() const {
  return Rect{contentOffset(), frame().size};
}

void TableView::layoutVisibleRows() {
  if (laying_) return;
  laying_ = true;
  Rect visible = visibleRect();
  std::vector<IndexPath> gone;
  for (const auto& entry : visible_) {
    auto rect = rectForRowAtIndexPath(entry.first);
    if (!rect || !rect->intersects(visible)) gone.push_back(entry.first);
  }
  for (const auto& ip : gone)
    recycle(ip);
  for (int s = 0; s < numberOfSections(); ++s) {
    const Section& section = sections_[s];
    auto [first, last] = rowsIn(section, visible);
    for (int r = first; r < last; ++r) {
      Rect rect{0, section.rowTops[r], frame().width(), section.rowHeights[r]};
      IndexPath ip{s, r};
      if (!rect.intersects(visible) || visible_.count(ip) != 0) continue;
      std::shared_ptr<TableViewCell> cell =
          dataSource_ != nullptr ? dataSource_->tableViewCellForRowAtIndexPath(*this, ip) : nullptr;
      visible_[ip] = cell;
      if (!cell) continue;
      cell->setFrame(rect);
      insertSubview(cell, 0);
      if (selected_ == ip) cell->setSelected(true, false);
      if (tableDelegate_ != nullptr) tableDelegate_->tableViewWillDisplayCell(*this, *cell, ip);
    }
  }
  laying_ = false;
}

void TableView::contentOffsetDidChange() {
  layoutVisibleRows();
}

void TableView::setFrame(const Rect& frame) {
  ScrollView::setFrame(frame);
  layoutVisibleRows();
}

std::optional<Rect> TableView::rectForRowAtIndexPath(IndexPath ip) const {
  if (ip.section < 0 || ip.section >= numberOfSections()) return std::nullopt;
  const Section& section = sections_[ip.section];
  if (ip.row < 0 || ip.row >= static_cast<int>(section.rowTops.size())) return std::nullopt;
  return Rect{0, section.rowTops[ip.row], frame().width(), section.rowHeights[ip.row]};
}

std::optional<Rect> TableView::rectForHeaderInSection(int s) const {
  if (s < 0 || s >= numberOfSections()) return std::nullopt;
  return Rect{0, sections_[s].headerTop, frame().width(), sections_[s].headerHeight};
}

std::optional<Rect> TableView::rectForFooterInSection(int s) const {
  if (s < 0 || s >= numberOfSections()) return std::nullopt;
  return Rect{0, sections_[s].footerTop, frame().width(), sections_[s].footerHeight};
}

std::optional<std::string> TableView::titleForHeaderInSection(int s) const {
  if (s < 0 || s >= numberOfSections() || sections_[s].headerView) return std::nullopt;
  return sections_[s].headerTitle;
}

std::optional<std::string> TableView::titleForFooterInSection(int s) const {
  if (s < 0 || s >= numberOfSections()) return std::nullopt;
  return sections_[s].footerTitle;
}

std::shared_ptr<TableViewCell> TableView::cellForRowAtIndexPath(IndexPath ip) const {
  auto it = visible_.find(ip);
  return it == visible_.end() ? nullptr : it->second;
}

std::optional<IndexPath> TableView::indexPathForCell(const TableViewCell* cell) const {
  for (const auto& entry : visible_) {
    if (entry.second.get() == cell) return entry.first;
  }
  return std::nullopt;
}

std::vector<IndexPath> TableView::indexPathsForVisibleRows() const {
  std::vector<IndexPath> out;
  for (const auto& entry : visible_)
    out.push_back(entry.first);
  return out;
}

std::vector<std::shared_ptr<TableViewCell>> TableView::visibleCells() const {
  std::vector<std::shared_ptr<TableViewCell>> out;
  for (const auto& entry : visible_) {
    if (entry.second) out.push_back(entry.second);
  }
  return out;
}

void TableView::scrollToRowAtIndexPath(IndexPath ip, ScrollPosition position, bool animated) {
  auto rect = rectForRowAtIndexPath(ip);
  if (!rect) return;
  double h = frame().height();
  double y = contentOffset().y;
  switch (position) {
    case ScrollPosition::kTop:
      y = rect->y();
      break;
    case ScrollPosition::kMiddle:
      y = rect->y() - (h - rect->height()) / 2;
      break;
    case ScrollPosition::kBottom:
      y = rect->maxY() - h;
      break;
    case ScrollPosition::kNone:
      if (rect->y() < y)
        y = rect->y();
      else if (rect->maxY() > y + h)
        y = rect->maxY() - h;
      break;
  }
  y = std::clamp(y, minOffsetY(), maxOffsetY());
  setContentOffset(Point{contentOffset().x, y}, animated);
}

void TableView::selectRowAtIndexPath(IndexPath ip, bool animated) {
  if (!rectForRowAtIndexPath(ip)) return;
  if (selected_ && *selected_ != ip) deselectRowAtIndexPath(*selected_, animated);
  selected_ = ip;
  if (auto cell = cellForRowAtIndexPath(ip)) cell->setSelected(true, animated);
}

void TableView::deselectRowAtIndexPath(IndexPath ip, bool animated) {
  lastDeselectAnimated_ = animated;
  if (selected_ == ip) selected_.reset();
  if (auto cell = cellForRowAtIndexPath(ip)) cell->setSelected(false, animated);
}

bool TableView::tapRow(IndexPath ip) {
  if (!allowsSelection || !isUserInteractionEnabled() || !rectForRowAtIndexPath(ip)) return false;
  auto keep = weak_from_this().lock();
  std::optional<IndexPath> target = ip;
  if (tableDelegate_ != nullptr)
    target = tableDelegate_->tableViewWillSelectRowAtIndexPath(*this, ip);
  if (!target || !rectForRowAtIndexPath(*target)) return false;
  selectRowAtIndexPath(*target, false);
  if (tableDelegate_ != nullptr) tableDelegate_->tableViewDidSelectRowAtIndexPath(*this, *target);
  return true;
}

bool TableView::isCell(const View* view) const {
  for (const auto& entry : visible_) {
    if (entry.second.get() == view) return true;
  }
  return false;
}

void TableView::dump(DumpWriter& out) const {
  if (isHidden() || alpha() <= 0) return;
  Rect visible = visibleRect();
  // Everything the table shows, in order from top to bottom of its content.
  struct Item {
    double y;
    int order;
    std::function<void()> write;
  };
  std::vector<Item> items;
  int order = 0;
  for (int s = 0; s < numberOfSections(); ++s) {
    const Section& section = sections_[s];
    Rect header{0, section.headerTop, frame().width(), section.headerHeight};
    if (!section.headerView && section.headerTitle && header.intersects(visible)) {
      items.push_back(
          {header.y(), order++, [&out, t = *section.headerTitle] { out.line("section: " + t); }});
    }
    auto [first, last] = rowsIn(section, visible);
    for (int r = first; r < last; ++r) {
      IndexPath ip{s, r};
      Rect rect{0, section.rowTops[r], frame().width(), section.rowHeights[r]};
      if (!rect.intersects(visible)) continue;
      auto cell = cellForRowAtIndexPath(ip);
      items.push_back({rect.y(), order++, [&out, ip, cell] {
                         if (!cell) {
                           out.line("row " + ip.text() + " (empty)");
                           return;
                         }
                         if (cell->isHidden() || cell->alpha() <= 0) return;
                         out.line("row " + ip.text() + cell->dumpLine());
                         out.indent();
                         for (const auto& child : cell->subviews())
                           child->dump(out);
                         out.outdent();
                       }});
    }
    Rect footer{0, section.footerTop, frame().width(), section.footerHeight};
    if (section.footerTitle && footer.intersects(visible)) {
      items.push_back(
          {footer.y(), order++, [&out, t = *section.footerTitle] { out.line("note: " + t); }});
    }
  }
  for (const auto& child : subviews()) {
    if (isCell(child.get())) continue;
    if (!child->frame().intersects(visible)) continue;
    items.push_back({child->frame().y(), order++, [&out, child] { child->dump(out); }});
  }
  std::stable_sort(items.begin(), items.end(), [](const Item& a, const Item& b) {
    return a.y < b.y || (a.y == b.y && a.order < b.order);
  });
  for (const auto& item : items)
    item.write();
}

bool TableView::isRowOnScreen(IndexPath ip) const {
  auto rect = rectForRowAtIndexPath(ip);
  return rect && rect->intersects(visibleRect());
}

void TableView::dumpAllRows(DumpWriter& out) {
  if (laying_) return;
  auto keep = weak_from_this().lock();
  const auto writeCell = [&out](const TableViewCell& cell, const std::string& head,
                                const char* mark) {
    out.line(head + cell.dumpLine() + mark);
    out.indent();
    for (const auto& child : cell.subviews())
      child->dump(out);
    out.outdent();
  };
  for (int s = 0; s < numberOfSections(); ++s) {
    if (sections_[s].headerTitle) out.line("section: " + *sections_[s].headerTitle);
    for (int r = 0; r < numberOfRowsInSection(s); ++r) {
      const IndexPath ip{s, r};
      const std::string head = "row " + ip.text();
      if (auto shown = cellForRowAtIndexPath(ip)) {
        writeCell(*shown, head, " (on screen)");
        continue;
      }
      if (visible_.count(ip) != 0) {
        out.line(head + " (empty) (on screen)");
        continue;
      }
      // Lending a cell must not lay out the table again in the middle of the walk.
      laying_ = true;
      std::shared_ptr<TableViewCell> cell =
          dataSource_ != nullptr ? dataSource_->tableViewCellForRowAtIndexPath(*this, ip) : nullptr;
      laying_ = false;
      if (!cell) {
        out.line(head + " (empty)");
        continue;
      }
      cell->setFrame(*rectForRowAtIndexPath(ip));
      if (selected_ == ip) cell->setSelected(true, false);
      writeCell(*cell, head, "");
      if (selected_ == ip) cell->setSelected(false, false);
      if (!cell->reuseIdentifier().empty()) reusePool_[cell->reuseIdentifier()].push_back(cell);
    }
    if (sections_[s].footerTitle) out.line("note: " + *sections_[s].footerTitle);
  }
}

}  // namespace lk::ui

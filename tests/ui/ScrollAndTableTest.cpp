#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Platform/UI/Label.h"
#include "Platform/UI/ScrollView.h"
#include "Platform/UI/TableView.h"
#include "tests/support/TestSupport.h"

namespace lk::ui {
namespace {

class ScrollLog : public ScrollViewDelegate {
 public:
  void scrollViewDidScroll(ScrollView& sv) override {
    events.push_back("scroll " + std::to_string(static_cast<int>(sv.contentOffset().y)) +
                     (sv.isDragging() ? " dragging" : ""));
  }
  void scrollViewWillBeginDragging(ScrollView&) override { events.push_back("begin"); }
  void scrollViewDidEndDragging(ScrollView&, bool decelerate) override {
    events.push_back(decelerate ? "end decelerate" : "end");
  }
  void scrollViewDidEndDecelerating(ScrollView&) override { events.push_back("stopped"); }
  std::vector<std::string> events;
};

TEST(ScrollViewDrag, FingerMovesContentOneToOneInSmallSteps) {
  test::ScopedMainLoop loop;
  auto sv = std::make_shared<ScrollView>(Rect{0, 0, 320, 100});
  sv->setContentSize({320, 300});
  ScrollLog log;
  sv->setDelegate(&log);
  sv->drag(-12);  // finger up: content moves up by 12 inside the range
  EXPECT_EQ(log.events,
            (std::vector<std::string>{"begin", "scroll 5 dragging", "scroll 10 dragging",
                                      "scroll 12 dragging", "end"}));
  EXPECT_EQ(sv->contentOffset().y, 12);
  EXPECT_FALSE(sv->isDragging());
}

TEST(ScrollViewDrag, PullBeyondTheEdgeBouncesBackOnTheRunLoopClock) {
  test::ScopedMainLoop loop;
  auto sv = std::make_shared<ScrollView>(Rect{0, 0, 320, 100});
  sv->setContentSize({320, 300});
  ScrollLog log;
  sv->setDelegate(&log);
  sv->drag(30);  // pulled down past the top
  EXPECT_EQ(sv->contentOffset().y, -30);
  EXPECT_EQ(log.events.back(), "end decelerate");
  EXPECT_TRUE(sv->isDecelerating());
  loop->runFor(seconds(0.1));
  EXPECT_LT(sv->contentOffset().y, 0);
  EXPECT_GT(sv->contentOffset().y, -30);
  loop->runFor(seconds(0.3));
  EXPECT_EQ(sv->contentOffset().y, 0);
  EXPECT_EQ(log.events.back(), "stopped");
  EXPECT_FALSE(sv->isDecelerating());
}

TEST(ScrollViewDrag, InsetsWidenTheRangeTheContentSettlesIn) {
  test::ScopedMainLoop loop;
  auto sv = std::make_shared<ScrollView>(Rect{0, 0, 320, 100});
  sv->setContentSize({320, 300});
  sv->setContentOffset({0, 200});
  sv->drag(-80);  // 80 beyond the end
  EXPECT_DOUBLE_EQ(sv->pullUpDistance(), 80);
  sv->setContentInset(EdgeInsets{0, 0, 60, 0});  // while settling: no jump
  EXPECT_DOUBLE_EQ(sv->pullUpDistance(), 80);
  loop->runFor(seconds(1));
  EXPECT_DOUBLE_EQ(sv->pullUpDistance(), 60) << "settles with the inset still showing";
  sv->setContentInset({});
  EXPECT_DOUBLE_EQ(sv->contentOffset().y, 200) << "clamped back once the inset goes";
}

TEST(ScrollViewDrag, AnimatedInsetsArriveAfterTheirDuration) {
  test::ScopedMainLoop loop;
  auto sv = std::make_shared<ScrollView>(Rect{0, 0, 320, 100});
  sv->setContentSize({320, 300});
  sv->animateContentInset(EdgeInsets{60, 0, 0, 0}, 0.2);
  EXPECT_EQ(sv->contentInset().top, 0);
  loop->runFor(seconds(0.1));
  EXPECT_GT(sv->contentInset().top, 0);
  EXPECT_LT(sv->contentInset().top, 60);
  loop->runFor(seconds(0.1));
  EXPECT_EQ(sv->contentInset().top, 60);
}

TEST(ScrollViewDrag, ShortContentStillPullsAndReturnsToTop) {
  test::ScopedMainLoop loop;
  auto sv = std::make_shared<ScrollView>(Rect{0, 0, 320, 367});
  sv->setContentSize({320, 100});
  sv->drag(-70);
  EXPECT_DOUBLE_EQ(sv->pullUpDistance(), 70 + 267);
  loop->runFor(seconds(1));
  EXPECT_EQ(sv->contentOffset().y, 0);
}

// A list of `rows` rows in one or more sections, counting the cells it builds.
class Rows : public TableViewDataSource, public TableViewDelegate {
 public:
  int sections = 1;
  int rows = 0;
  int built = 0;
  int reused = 0;
  std::vector<std::string> selected;
  std::optional<std::string> title;
  int numberOfSectionsInTableView(TableView&) override { return sections; }
  int tableViewNumberOfRowsInSection(TableView&, int) override { return rows; }
  std::shared_ptr<TableViewCell> tableViewCellForRowAtIndexPath(TableView& t,
                                                                IndexPath ip) override {
    auto cell = t.dequeueReusableCell("row");
    if (cell) {
      ++reused;
    } else {
      ++built;
      cell = std::make_shared<TableViewCell>(TableViewCell::Style::kDefault, "row");
    }
    cell->textLabel()->setText("item " + ip.text());
    return cell;
  }
  std::optional<std::string> tableViewTitleForHeaderInSection(TableView&, int s) override {
    return title ? std::optional<std::string>(*title + std::to_string(s)) : std::nullopt;
  }
  void tableViewDidSelectRowAtIndexPath(TableView& t, IndexPath ip) override {
    selected.push_back(ip.text());
    t.deselectRowAtIndexPath(ip, true);
  }
};

TEST(TableViewRows, OnlyVisibleRowsHaveCellsAndScrolledOutCellsAreReused) {
  test::ScopedMainLoop loop;
  auto table = std::make_shared<TableView>(Rect{0, 0, 320, 100});
  Rows rows;
  rows.rows = 50;
  table->setDataSource(&rows);
  table->setTableDelegate(&rows);
  table->reloadData();
  EXPECT_EQ(table->contentSize().height, 50 * 44);
  EXPECT_EQ(table->visibleCells().size(), 3u);  // 0..43, 44..87, 88..131
  EXPECT_EQ(table->dumpText(),
            "row 0.0\n  label: item 0.0\nrow 0.1\n  label: item 0.1\nrow 0.2\n  label: item 0.2\n");
  table->drag(-440);
  loop->runFor(seconds(1));
  EXPECT_EQ(table->visibleCells().size(), 3u);
  EXPECT_LE(rows.built, 5);
  EXPECT_GT(rows.reused, 0);
  EXPECT_NE(table->dumpText().find("label: item 0.10"), std::string::npos);
}

// Rows of 10, 20, 30, ... points.
class GrowingRows : public Rows {
 public:
  std::optional<double> tableViewHeightForRowAtIndexPath(TableView&, IndexPath ip) override {
    return 10.0 * (ip.row + 1);
  }
};

TEST(TableViewRows, VisibleRowsFollowVaryingHeightsExactly) {
  auto table = std::make_shared<TableView>(Rect{0, 0, 320, 100});
  GrowingRows rows;
  rows.rows = 30;
  table->setDataSource(&rows);
  table->setTableDelegate(&rows);
  table->reloadData();
  // Row r starts at 5 r (r + 1): row 9 spans 450..550, row 10 550..660, row 11 660..780.
  table->setContentOffset({0, 549});
  std::vector<IndexPath> expected{{0, 9}, {0, 10}};
  EXPECT_EQ(table->indexPathsForVisibleRows(), expected);
  table->setContentOffset({0, 550});
  expected = {{0, 10}};
  EXPECT_EQ(table->indexPathsForVisibleRows(), expected) << "row 9 ends where the view starts";
  table->setContentOffset({0, 561});
  expected = {{0, 10}, {0, 11}};
  EXPECT_EQ(table->indexPathsForVisibleRows(), expected);
}

TEST(TableViewRows, SectionHeadersAndGroupedSpacing) {
  auto table = std::make_shared<TableView>(Rect{0, 0, 320, 400}, TableView::Style::kGrouped);
  Rows rows;
  rows.sections = 2;
  rows.rows = 1;
  rows.title = "区";
  table->setDataSource(&rows);
  table->reloadData();
  // grouped: 36 title + 44 row + 10 footer, twice.
  EXPECT_EQ(table->contentSize().height, 2 * (36 + 44 + 10));
  EXPECT_EQ(table->dumpText(),
            "section: 区0\nrow 0.0\n  label: item 0.0\nsection: 区1\nrow "
            "1.0\n  label: item 1.0\n");
}

TEST(TableViewRows, TapSelectsTellsTheDelegateAndAnimatedDeselectIsRecorded) {
  auto table = std::make_shared<TableView>(Rect{0, 0, 320, 200});
  Rows rows;
  rows.rows = 3;
  table->setDataSource(&rows);
  table->setTableDelegate(&rows);
  table->reloadData();
  EXPECT_TRUE(table->tapRow({0, 2}));
  EXPECT_EQ(rows.selected, std::vector<std::string>{"0.2"});
  EXPECT_TRUE(table->lastDeselectAnimated());
  EXPECT_FALSE(table->indexPathForSelectedRow());
  EXPECT_FALSE(table->tapRow({0, 3}));
  table->allowsSelection = false;
  EXPECT_FALSE(table->tapRow({0, 0}));
}

TEST(TableViewRows, ReloadWithFewerRowsDropsSelectionAndCells) {
  auto table = std::make_shared<TableView>(Rect{0, 0, 320, 200});
  Rows rows;
  rows.rows = 5;
  table->setDataSource(&rows);
  table->reloadData();
  table->selectRowAtIndexPath({0, 4}, false);
  rows.rows = 2;
  table->reloadData();
  EXPECT_FALSE(table->indexPathForSelectedRow());
  EXPECT_EQ(table->visibleCells().size(), 2u);
  EXPECT_EQ(table->contentSize().height, 88);
}

TEST(TableViewRows, ScrollToRowKeepsTheOffsetInRange) {
  auto table = std::make_shared<TableView>(Rect{0, 0, 320, 100});
  Rows rows;
  rows.rows = 10;
  table->setDataSource(&rows);
  table->reloadData();
  table->scrollToRowAtIndexPath({0, 5}, TableView::ScrollPosition::kTop, false);
  EXPECT_EQ(table->contentOffset().y, 220);
  table->scrollToRowAtIndexPath({0, 9}, TableView::ScrollPosition::kTop, false);
  EXPECT_EQ(table->contentOffset().y, 440 - 100) << "the last rows cannot go to the top";
  ASSERT_TRUE(table->cellForRowAtIndexPath({0, 9}));
}

TEST(TableViewRows, OtherSubviewsDumpWhereTheySitInTheContent) {
  auto table = std::make_shared<TableView>(Rect{0, 0, 320, 200});
  Rows rows;
  rows.rows = 2;
  table->setDataSource(&rows);
  table->reloadData();
  table->addSubview(std::make_shared<Label>(Rect{0, 88, 320, 60}, "上拉载入更多"));
  table->addSubview(std::make_shared<Label>(Rect{0, -200, 320, 200}, "下拉刷新"));
  EXPECT_EQ(table->dumpText(),
            "row 0.0\n  label: item 0.0\nrow 0.1\n  label: item 0.1\nlabel: 上拉载入更多\n");
  table->setContentOffset({0, -50});
  EXPECT_EQ(table->dumpText().substr(0, 20), "label: 下拉刷新\n");
}

}  // namespace
}  // namespace lk::ui

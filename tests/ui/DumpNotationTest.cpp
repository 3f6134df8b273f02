// The text dump as a person reads it: service text cannot forge or break its lines, pickers show
// their wheels, and a list can be printed whole.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Platform/UI/DumpWriter.h"
#include "Platform/UI/Label.h"
#include "Platform/UI/PickerView.h"
#include "Platform/UI/TableView.h"
#include "tests/support/TestSupport.h"

namespace lk::ui {
namespace {

TEST(DumpWriterVisible, ControlCharactersShowAsEscapes) {
  EXPECT_EQ(DumpWriter::visible("火锅 (店) | [x] <y>"), "火锅 (店) | [x] <y>");
  EXPECT_EQ(DumpWriter::visible("a\nrow 9.9\r\tb"), "a\\nrow 9.9\\r\\tb");
  EXPECT_EQ(DumpWriter::visible("\x1b[2J\x1b]0;title\x07"), "\\x1B[2J\\x1B]0;title\\x07");
  EXPECT_EQ(DumpWriter::visible(std::string("a\0b\x7f", 4)), "a\\x00b\\x7F");
  // C1 controls in UTF-8 (NEL, CSI) and the Unicode line and paragraph separators.
  EXPECT_EQ(DumpWriter::visible("x\xc2\x85y\xc2\x9b"
                                "2J"),
            "x\\u0085y\\u009B2J");
  EXPECT_EQ(DumpWriter::visible("a\xe2\x80\xa8"
                                "b\xe2\x80\xa9"),
            "a\\u2028b\\u2029");
  EXPECT_EQ(DumpWriter::visible("\xc2\xa0"), "\xc2\xa0") << "U+00A0 is text";
}

TEST(DumpWriterVisible, BytesThatAreNotUtf8ShowAsHex) {
  // A lone C1 byte, a cut sequence, an overlong slash, a surrogate.
  EXPECT_EQ(DumpWriter::visible("\x9b"
                                "2J"),
            "\\x9B2J");
  EXPECT_EQ(DumpWriter::visible("\xe7\x81"), "\\xE7\\x81");
  EXPECT_EQ(DumpWriter::visible("\xc0\xaf"), "\\xC0\\xAF");
  EXPECT_EQ(DumpWriter::visible("\xed\xa0\x80"), "\\xED\\xA0\\x80");
}

TEST(DumpWriterVisible, EveryLineOfADumpIsTheWritersOwn) {
  auto label = std::make_shared<Label>(Rect{0, 0, 100, 20});
  label->setText("店\nrow 9.9\n  drawn: fake");
  EXPECT_EQ(label->dumpText(), "label: 店\\nrow 9.9\\n  drawn: fake\n");
}

class Wheels : public PickerViewDataSource, public PickerViewDelegate {
 public:
  std::vector<std::vector<std::string>> columns;
  int numberOfComponentsInPickerView(PickerView&) override {
    return static_cast<int>(columns.size());
  }
  int pickerViewNumberOfRowsInComponent(PickerView&, int c) override {
    return static_cast<int>(columns[c].size());
  }
  std::string pickerViewTitleForRow(PickerView&, int row, int c) override {
    return columns[c][row];
  }
};

std::vector<std::string> rowNames(int n) {
  std::vector<std::string> out;
  for (int i = 0; i < n; ++i)
    out.push_back("区" + std::to_string(i));
  return out;
}

TEST(PickerDump, ShortWheelsShowEveryRowWithTheSelectionMarked) {
  Wheels wheels;
  wheels.columns = {{"全部区域", "东城区"}, {}};
  auto picker = std::make_shared<PickerView>();
  picker->setDataSource(&wheels);
  picker->setPickerDelegate(&wheels);
  picker->reloadAllComponents();
  picker->selectRow(1, 0, false);
  EXPECT_EQ(picker->dumpText(),
            "picker: 东城区 | (none)\n"
            "  wheel 0: 2 rows\n    0 全部区域\n    1 东城区 (selected)\n"
            "  wheel 1: 0 rows\n");
}

TEST(PickerDump, LongWheelsAreCutAroundTheSelectionWithCounts) {
  Wheels wheels;
  wheels.columns = {rowNames(PickerView::kDumpAllRows), rowNames(30)};
  auto picker = std::make_shared<PickerView>();
  picker->setDataSource(&wheels);
  picker->setPickerDelegate(&wheels);
  picker->reloadAllComponents();
  const auto wheelLines = [&](int c) {
    const std::string dump = picker->dumpText();
    const auto from = dump.find("  wheel " + std::to_string(c));
    const auto to = dump.find("  wheel " + std::to_string(c + 1), from + 1);
    return dump.substr(from, to == std::string::npos ? std::string::npos : to - from);
  };
  EXPECT_EQ(wheelLines(0).find("more"), std::string::npos) << "eleven rows are shown whole";
  // At the top: the first nine rows and a count of the rest.
  EXPECT_EQ(wheelLines(1),
            "  wheel 1: 30 rows\n    0 区0 (selected)\n    1 区1\n    2 区2\n"
            "    3 区3\n    4 区4\n    5 区5\n    6 区6\n    7 区7\n    8 区8\n"
            "    (21 more below)\n");
  picker->selectRow(15, 1, false);
  EXPECT_EQ(wheelLines(1),
            "  wheel 1: 30 rows\n    (11 more above)\n    11 区11\n    12 区12\n"
            "    13 区13\n    14 区14\n    15 区15 (selected)\n    16 区16\n"
            "    17 区17\n    18 区18\n    19 区19\n    (10 more below)\n");
  picker->selectRow(29, 1, false);
  const std::string last = wheelLines(1);
  EXPECT_NE(last.find("(21 more above)\n    21 区21\n"), std::string::npos) << last;
  EXPECT_NE(last.find("29 区29 (selected)\n"), std::string::npos) << last;
  EXPECT_EQ(last.find("below"), std::string::npos);
}

// Rows of 44 points with one label each; the cells are counted so that lending can be checked.
class Rows : public TableViewDataSource {
 public:
  int count = 20;
  int made = 0;
  int numberOfSectionsInTableView(TableView&) override { return 1; }
  int tableViewNumberOfRowsInSection(TableView&, int) override { return count; }
  std::optional<std::string> tableViewTitleForHeaderInSection(TableView&, int) override {
    return "店铺";
  }
  std::shared_ptr<TableViewCell> tableViewCellForRowAtIndexPath(TableView& table,
                                                                IndexPath ip) override {
    auto cell = table.dequeueReusableCell("row");
    if (!cell) {
      ++made;
      cell = std::make_shared<TableViewCell>(TableViewCell::Style::kDefault, "row");
    }
    cell->textLabel()->setText("店" + std::to_string(ip.row));
    return cell;
  }
};

TEST(TableDumpAllRows, EveryRowMarkedOnScreenOrNotWithoutDisturbingTheTable) {
  test::ScopedMainLoop loop;
  Rows rows;
  auto table = std::make_shared<TableView>(Rect{0, 0, 320, 100});
  table->setDataSource(&rows);
  table->reloadData();
  table->setContentOffset({0, 22 + 44 * 5});  // rows 5 and 6, and a little of 7, on screen
  const auto before = table->dumpText();
  const int madeBefore = rows.made;
  DumpWriter out;
  table->dumpAllRows(out);
  const std::string all = out.text();
  EXPECT_EQ(all.rfind("section: 店铺\nrow 0.0\n  label: 店0\nrow 0.1\n", 0), 0u) << all;
  EXPECT_NE(all.find("row 0.5 (on screen)\n  label: 店5\n"), std::string::npos) << all;
  EXPECT_NE(all.find("row 0.7 (on screen)\n"), std::string::npos);
  EXPECT_NE(all.find("row 0.8\n  label: 店8\n"), std::string::npos);
  EXPECT_NE(all.find("row 0.19\n  label: 店19\n"), std::string::npos);
  EXPECT_EQ(table->dumpText(), before) << "the screen is as it was";
  EXPECT_LE(rows.made - madeBefore, 1) << "lent cells go back to the pool";
  EXPECT_TRUE(table->isRowOnScreen({0, 5}));
  EXPECT_FALSE(table->isRowOnScreen({0, 8}));
  EXPECT_FALSE(table->isRowOnScreen({0, 20}));
}

}  // namespace
}  // namespace lk::ui

// Scrolling a long list through the headless toolkit: cells reused by identifier beside cells
// built anew for every row that scrolls in, and the cost of one screen dump of the same list.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "Classes/Toolkit/CustomCell.h"
#include "Classes/Toolkit/CustomCellView.h"
#include "Platform/UI/TableView.h"

namespace lk {
namespace {

class RowView : public CustomCellView {
 public:
  void drawRect(ui::Canvas& canvas, const ui::Rect& rect) const override {
    canvas.fillRect(rect, ui::Color::white());
    if (auto name = dataModel<std::string>()) {
      canvas.drawText(*name, ui::Rect{10, 8, 300, 20}, ui::Font::boldSystem(16));
      canvas.drawWrappedText("人均 ¥85 · 川菜 · 距离 500 米", ui::Rect{10, 30, 300, 0},
                             ui::Font::system(13));
    }
  }
};

class Rows : public ui::TableViewDataSource {
 public:
  Rows(int count, bool reuse) : reuse_(reuse) {
    for (int i = 0; i < count; ++i)
      names_.push_back(std::make_shared<std::string>("店" + std::to_string(i)));
  }
  int tableViewNumberOfRowsInSection(ui::TableView&, int) override {
    return static_cast<int>(names_.size());
  }
  std::shared_ptr<ui::TableViewCell> tableViewCellForRowAtIndexPath(ui::TableView& table,
                                                                    ui::IndexPath ip) override {
    std::shared_ptr<CustomCell> cell;
    if (reuse_) cell = std::static_pointer_cast<CustomCell>(table.dequeueReusableCell("row"));
    if (!cell) {
      ++built;
      cell = std::make_shared<CustomCell>(ui::TableViewCell::Style::kDefault, reuse_ ? "row" : "");
      cell->setCellView(std::make_shared<RowView>());
    }
    cell->setDataModel(names_[static_cast<std::size_t>(ip.row)]);
    return cell;
  }
  long built = 0;

 private:
  bool reuse_;
  std::vector<std::shared_ptr<std::string>> names_;
};

void scrollThrough(benchmark::State& state, bool reuse) {
  constexpr int kRows = 1000;
  long built = 0;
  for (auto _ : state) {
    auto table = std::make_shared<ui::TableView>(ui::Rect{0, 0, 320, 367});
    table->rowHeight = 60;
    Rows rows(kRows, reuse);
    table->setDataSource(&rows);
    table->reloadData();
    for (double y = 0; y <= table->maxOffsetY(); y += 10)
      table->setContentOffset({0, y});
    built += rows.built;
    table->setDataSource(nullptr);
  }
  state.SetItemsProcessed(state.iterations() * kRows);
  state.counters["cells_built_per_scroll"] =
      benchmark::Counter(static_cast<double>(built) / static_cast<double>(state.iterations()));
}

void BM_ListScrollReusingCells(benchmark::State& state) {
  scrollThrough(state, true);
}
BENCHMARK(BM_ListScrollReusingCells)->Unit(benchmark::kMillisecond);

void BM_ListScrollBuildingCells(benchmark::State& state) {
  scrollThrough(state, false);
}
BENCHMARK(BM_ListScrollBuildingCells)->Unit(benchmark::kMillisecond);

void BM_ListScreenDump(benchmark::State& state) {
  auto table = std::make_shared<ui::TableView>(ui::Rect{0, 0, 320, 367});
  table->rowHeight = 60;
  Rows rows(1000, true);
  table->setDataSource(&rows);
  table->reloadData();
  for (auto _ : state)
    benchmark::DoNotOptimize(table->dumpText());
  table->setDataSource(nullptr);
}
BENCHMARK(BM_ListScreenDump)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace lk

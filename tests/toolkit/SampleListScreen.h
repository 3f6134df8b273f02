#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Classes/Toolkit/CustomCell.h"
#include "Classes/Toolkit/CustomCellView.h"
#include "Classes/Toolkit/LKRefreshTableHeaderView.h"
#include "Classes/Toolkit/LKTableViewController.h"
#include "Platform/RunLoop/RunLoop.h"

namespace lk::test {

// A shop of the sample list.
struct SampleShop {
  std::string name;
};

// Draws one shop: its name and a fixed line under it.
class SampleShopView : public CustomCellView {
 public:
  using CustomCellView::CustomCellView;
  void drawRect(ui::Canvas& canvas, const ui::Rect& rect) const override;
  static double heightOfCell(const SampleShop&) { return 60; }
};

// A paging list screen as the search results build it: pages of `pageSize` shops from an
// in-memory catalogue of `total` shops, each page answered `latency` seconds after it was asked
// for. With `refreshable` it also has a pull-down refresh header.
class SampleListScreen : public LKTableViewController, public LKRefreshTableHeaderDelegate {
 public:
  SampleListScreen(int total, bool refreshable = false);

  int total;
  int pageSize = 15;
  double latency = 0.2;
  bool failNext = false;
  std::optional<std::chrono::system_clock::time_point> lastUpdated;

  int currentPage = 0;
  std::vector<int> requestedPages;
  std::vector<std::shared_ptr<SampleShop>> shops;
  std::shared_ptr<LKRefreshTableHeaderView> refreshHeader;

  // Starts over from page 0 (a new filter).
  void restart();
  [[nodiscard]] bool isRequestPending() const { return pending_.isActive(); }

  void loadView() override;
  void viewDidLoad() override;
  void startLoadingData() override;
  int tableViewNumberOfRowsInSection(ui::TableView& tableView, int section) override;
  std::shared_ptr<ui::TableViewCell> tableViewCellForRowAtIndexPath(ui::TableView& tableView,
                                                                    ui::IndexPath ip) override;
  std::optional<double> tableViewHeightForRowAtIndexPath(ui::TableView& tableView,
                                                         ui::IndexPath ip) override;
  void scrollViewDidScroll(ui::ScrollView& scrollView) override;
  void scrollViewDidEndDragging(ui::ScrollView& scrollView, bool decelerate) override;

  void refreshTableHeaderDidTriggerRefresh(LKRefreshTableHeaderView& view) override;
  bool refreshTableHeaderDataSourceIsLoading(LKRefreshTableHeaderView& view) override;
  std::optional<std::chrono::system_clock::time_point> refreshTableHeaderDataSourceLastUpdated(
      LKRefreshTableHeaderView& view) override;

 private:
  void request(int page);
  void answer(int page);

  bool refreshable_;
  bool refreshing_ = false;
  ScopedTimer pending_;
};

}  // namespace lk::test

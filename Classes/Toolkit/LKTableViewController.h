#pragma once

#include <chrono>
#include <memory>
#include <optional>
#include <string>

#include "Classes/Toolkit/LKNavigationController.h"
#include "Classes/Toolkit/LKNodataView.h"
#include "Classes/Toolkit/LKRefreshTableFooterView.h"
#include "Classes/Toolkit/LoadingView.h"
#include "Platform/RunLoop/RunLoop.h"
#include "Platform/UI/TableView.h"

namespace lk {

// The base of every list screen: the table, the loading and no-data overlays, and the pull-up
// footer that asks the subclass for the next page.
//
// Paging contract: a paging subclass sets isPullLoadMore in its loadView before calling the
// base; when a page arrives it calls addPullLoadMore (a full page) or noMoreData (a short one),
// reloads the table and schedules finishLoadingData 0.01 s later; the footer's trigger calls
// startLoadingData for the next page.
class LKTableViewController : public LKNavigationController,
                              public ui::TableViewDataSource,
                              public ui::TableViewDelegate,
                              public LKRefreshTableFooterDelegate {
 public:
  static constexpr const char* kDefaultLoadingUpText = "上拉载入更多15家商户";
  static constexpr const char* kDefaultLoadingReleaseText = "松开载入更多15家商户";
  static constexpr const char* kDefaultLoadingText = "正在载入…";
  // The delay of the calls that follow a page (finishLoadingData, removeFooterView).
  static constexpr double kAfterPageSeconds = 0.01;

  LKTableViewController();
  ~LKTableViewController() override;

  [[nodiscard]] const std::shared_ptr<ui::TableView>& tableView() const { return tableView_; }
  std::shared_ptr<LKNodataView> nodataView;
  std::shared_ptr<LoadingView> loadingView;
  bool isPullLoadMore = false;
  bool isLoading = false;
  [[nodiscard]] const std::shared_ptr<LKRefreshTableFooterView>& refreshFooterView() const {
    return refreshFooterView_;
  }
  // The footer's texts; unset gives the defaults above.
  std::optional<std::string> loadingUpText;
  std::optional<std::string> loadingReleaseText;
  std::optional<std::string> loadingText;

  void loadView() override;
  void viewDidUnload() override;
  // Builds the table: (0, 0, 320, 367), grouped, no separators, clear, this as its delegate and
  // data source. Subclasses may build another.
  virtual void initTableView();
  void setTableView(std::shared_ptr<ui::TableView> table) { tableView_ = std::move(table); }

  // Hooks every list supplies.
  int tableViewNumberOfRowsInSection(ui::TableView& tableView, int section) override = 0;
  std::shared_ptr<ui::TableViewCell> tableViewCellForRowAtIndexPath(ui::TableView& tableView,
                                                                    ui::IndexPath ip) override = 0;
  // Fetches the next page. Paging screens supply it; the base stops with "Must be implemented
  // by subclass".
  virtual void startLoadingData();

  void showLoading();
  void hideLoading();
  void addPullLoadMore();
  void finishLoadingData();
  void noMoreData();
  void removeFooterView();

  // Runs finishLoadingData after kAfterPageSeconds (what a subclass does after each answer).
  void scheduleFinishLoadingData();

  // Scrolling reaches the footer while more pages may follow.
  void scrollViewDidScroll(ui::ScrollView& scrollView) override;
  void scrollViewDidEndDragging(ui::ScrollView& scrollView, bool decelerate) override;

  void refreshTableFooterDidTriggerRefresh(LKRefreshTableFooterView& view) override;
  bool refreshTableFooterDataSourceIsLoading(LKRefreshTableFooterView& view) override;
  std::optional<std::chrono::system_clock::time_point> refreshTableFooterDataSourceLastUpdated(
      LKRefreshTableFooterView& view) override;

 private:
  void resetInsets();

  std::shared_ptr<ui::TableView> tableView_;
  std::shared_ptr<LKRefreshTableFooterView> refreshFooterView_;
  ScopedTimer removeFooterTimer_;
  ScopedTimer finishTimer_;
};

}  // namespace lk

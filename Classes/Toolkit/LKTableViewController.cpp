#include "Classes/Toolkit/LKTableViewController.h"

#include <cassert>

#include "Platform/Log/Log.h"

namespace lk {

LKTableViewController::LKTableViewController() = default;

LKTableViewController::~LKTableViewController() {
  // The table and footer may outlive the screen (a front end still holds the tree).
  if (tableView_) {
    tableView_->setDataSource(nullptr);
    tableView_->setTableDelegate(nullptr);
  }
  if (refreshFooterView_) refreshFooterView_->delegate = nullptr;
}

void LKTableViewController::loadView() {
  LKNavigationController::loadView();
  initTableView();
  if (tableView_) addSubview(tableView_);
}

void LKTableViewController::viewDidUnload() {
  LKNavigationController::viewDidUnload();
  if (tableView_) {
    tableView_->setDataSource(nullptr);
    tableView_->setTableDelegate(nullptr);
  }
  tableView_.reset();
  // The footer lived inside the table; the next full page builds a new one.
  if (refreshFooterView_) refreshFooterView_->delegate = nullptr;
  refreshFooterView_.reset();
  removeFooterTimer_.cancel();
}

void LKTableViewController::initTableView() {
  auto table =
      std::make_shared<ui::TableView>(ui::Rect{0, 0, 320, 367}, ui::TableView::Style::kGrouped);
  table->separatorStyle = ui::TableView::SeparatorStyle::kNone;
  table->setBackgroundColor(ui::Color::clear());
  table->setDataSource(this);
  table->setTableDelegate(this);
  tableView_ = std::move(table);
}

void LKTableViewController::startLoadingData() {
  logLine("Must be implemented by subclass");
  assert(false && "Must be implemented by subclass");
}

void LKTableViewController::showLoading() {
  if (!loadingView) loadingView = std::make_shared<LoadingView>();
  view()->addSubview(loadingView);
}

void LKTableViewController::hideLoading() {
  if (loadingView) loadingView->removeFromSuperview();
}

void LKTableViewController::addPullLoadMore() {
  // A restart that asks for the footer again wins over a removal still pending.
  if (isPullLoadMore) removeFooterTimer_.cancel();
  if (!isPullLoadMore || refreshFooterView_ || !tableView_) return;
  const ui::Rect& frame = tableView_->frame();
  auto footer = std::make_shared<LKRefreshTableFooterView>(
      ui::Rect{0, frame.height(), frame.width(), tableView_->bounds().height()});
  footer->delegate = this;
  footer->upText = loadingUpText.value_or(kDefaultLoadingUpText);
  footer->releaseText = loadingReleaseText.value_or(kDefaultLoadingReleaseText);
  footer->loadingText = loadingText.value_or(kDefaultLoadingText);
  footer->setState(kLKPullNormal);
  tableView_->addSubview(footer);
  refreshFooterView_ = std::move(footer);
}

void LKTableViewController::resetInsets() {
  if (tableView_ && tableView_->contentInset() != ui::EdgeInsets{}) {
    tableView_->animateContentInset(ui::EdgeInsets{}, 0.3);
  }
}

void LKTableViewController::finishLoadingData() {
  isLoading = false;
  if (!refreshFooterView_ || !tableView_) {
    // The footer already went (no more pages): still give back the space it held while loading.
    resetInsets();
    return;
  }
  ui::Rect f = refreshFooterView_->frame();
  f.origin.y = tableView_->contentSize().height;
  refreshFooterView_->setFrame(f);
  refreshFooterView_->refreshScrollViewDataSourceDidFinishedLoading(*tableView_);
}

void LKTableViewController::scheduleFinishLoadingData() {
  finishTimer_.start(seconds(kAfterPageSeconds), [this] { finishLoadingData(); });
}

void LKTableViewController::noMoreData() {
  isPullLoadMore = false;
  // Re-checked when it runs: a restart may have asked for paging again in between.
  removeFooterTimer_.start(seconds(kAfterPageSeconds), [this] {
    if (!isPullLoadMore) removeFooterView();
  });
}

void LKTableViewController::removeFooterView() {
  removeFooterTimer_.cancel();
  if (refreshFooterView_) {
    refreshFooterView_->delegate = nullptr;
    refreshFooterView_->removeFromSuperview();
    refreshFooterView_.reset();
  }
  resetInsets();
}

void LKTableViewController::scrollViewDidScroll(ui::ScrollView& sv) {
  if (isPullLoadMore && refreshFooterView_) refreshFooterView_->refreshScrollViewDidScroll(sv);
}

void LKTableViewController::scrollViewDidEndDragging(ui::ScrollView& sv, bool /*decelerate*/) {
  if (isPullLoadMore && refreshFooterView_) refreshFooterView_->refreshScrollViewDidEndDragging(sv);
}

void LKTableViewController::refreshTableFooterDidTriggerRefresh(LKRefreshTableFooterView&) {
  isLoading = true;
  startLoadingData();
}

bool LKTableViewController::refreshTableFooterDataSourceIsLoading(LKRefreshTableFooterView&) {
  return isLoading;
}

std::optional<std::chrono::system_clock::time_point>
LKTableViewController::refreshTableFooterDataSourceLastUpdated(LKRefreshTableFooterView&) {
  return std::chrono::system_clock::now();
}

}  // namespace lk

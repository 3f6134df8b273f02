#include "tests/toolkit/SampleListScreen.h"

#include <algorithm>

namespace lk::test {

void SampleShopView::drawRect(ui::Canvas& canvas, const ui::Rect& rect) const {
  canvas.fillRect(rect, isHighlighted() ? ui::Color::gray(0.8) : ui::Color::white());
  if (auto shop = dataModel<SampleShop>()) {
    canvas.drawText(shop->name, ui::Rect{10, 8, 300, 20}, ui::Font::boldSystem(16));
  }
}

SampleListScreen::SampleListScreen(int totalShops, bool refreshable)
    : total(totalShops), refreshable_(refreshable) {
  setTitle("商户");
}

void SampleListScreen::loadView() {
  isPullLoadMore = true;
  LKTableViewController::loadView();
}

void SampleListScreen::viewDidLoad() {
  if (refreshable_) {
    const auto& table = tableView();
    refreshHeader = std::make_shared<LKRefreshTableHeaderView>(
        ui::Rect{0, -table->bounds().height(), table->frame().width(), table->bounds().height()});
    refreshHeader->delegate = this;
    refreshHeader->downText = "下拉刷新";
    refreshHeader->releaseText = "松开刷新";
    refreshHeader->loadingText = "正在载入…";
    refreshHeader->setState(kLKPullNormal);
    table->addSubview(refreshHeader);
    refreshHeader->refreshLastUpdatedDate();
  }
  request(0);
}

void SampleListScreen::restart() {
  shops.clear();
  currentPage = 0;
  isPullLoadMore = true;
  tableView()->reloadData();
  request(0);
}

void SampleListScreen::startLoadingData() {
  request(currentPage);
}

void SampleListScreen::request(int page) {
  requestedPages.push_back(page);
  if (page == 0 && !refreshing_) showLoading();
  pending_.start(seconds(latency), [this, page] { answer(page); });
}

void SampleListScreen::answer(int page) {
  hideLoading();
  if (failNext) {
    failNext = false;
    refreshing_ = false;
    scheduleFinishLoadingData();
    return;
  }
  if (page == 0) shops.clear();
  int first = page * pageSize;
  int count = std::clamp(total - first, 0, pageSize);
  for (int i = 0; i < count; ++i) {
    shops.push_back(std::make_shared<SampleShop>(SampleShop{"店" + std::to_string(first + i)}));
  }
  if (count == pageSize) {
    addPullLoadMore();
  } else {
    noMoreData();
  }
  ++currentPage;
  tableView()->reloadData();
  scheduleFinishLoadingData();
  if (shops.empty()) {
    if (!nodataView) {
      nodataView = std::make_shared<LKNodataView>(ui::Rect{0, 0, 320, 367}, "没有找到商户");
    }
    addSubview(nodataView);
  } else if (nodataView) {
    nodataView->removeFromSuperview();
  }
  if (refreshing_) {
    refreshing_ = false;
    refreshHeader->refreshScrollViewDataSourceDidFinishedLoading(*tableView());
  }
}

int SampleListScreen::tableViewNumberOfRowsInSection(ui::TableView&, int) {
  return static_cast<int>(shops.size());
}

std::shared_ptr<ui::TableViewCell> SampleListScreen::tableViewCellForRowAtIndexPath(
    ui::TableView& table, ui::IndexPath ip) {
  auto cell = std::static_pointer_cast<CustomCell>(table.dequeueReusableCell("shop"));
  if (!cell) {
    cell = std::make_shared<CustomCell>(ui::TableViewCell::Style::kDefault, "shop");
    cell->setCellView(std::make_shared<SampleShopView>());
  }
  cell->setDataModel(shops[static_cast<std::size_t>(ip.row)]);
  return cell;
}

std::optional<double> SampleListScreen::tableViewHeightForRowAtIndexPath(ui::TableView&,
                                                                         ui::IndexPath ip) {
  return SampleShopView::heightOfCell(*shops[static_cast<std::size_t>(ip.row)]);
}

void SampleListScreen::scrollViewDidScroll(ui::ScrollView& sv) {
  LKTableViewController::scrollViewDidScroll(sv);
  if (refreshHeader) refreshHeader->refreshScrollViewDidScroll(sv);
}

void SampleListScreen::scrollViewDidEndDragging(ui::ScrollView& sv, bool decelerate) {
  LKTableViewController::scrollViewDidEndDragging(sv, decelerate);
  if (refreshHeader) refreshHeader->refreshScrollViewDidEndDragging(sv);
}

void SampleListScreen::refreshTableHeaderDidTriggerRefresh(LKRefreshTableHeaderView&) {
  // The rows stay until the first page comes back.
  refreshing_ = true;
  currentPage = 0;
  isPullLoadMore = true;
  request(0);
}

bool SampleListScreen::refreshTableHeaderDataSourceIsLoading(LKRefreshTableHeaderView&) {
  return refreshing_;
}

std::optional<std::chrono::system_clock::time_point>
SampleListScreen::refreshTableHeaderDataSourceLastUpdated(LKRefreshTableHeaderView&) {
  return lastUpdated;
}

}  // namespace lk::test

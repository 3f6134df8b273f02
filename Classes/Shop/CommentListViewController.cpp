#include "Classes/Shop/CommentListViewController.h"

#include "Classes/Json/JsonValue.h"
#include "Classes/Records/Comment.h"
#include "Classes/Records/ShopInfo.h"
#include "Classes/ServiceClient/FormValue.h"
#include "Classes/ServiceClient/HttpRequest.h"
#include "Classes/ServiceClient/ServiceAnswer.h"
#include "Classes/ServiceClient/ServiceEndpoints.h"
#include "Classes/Shop/CommentCellView.h"
#include "Classes/Shop/CommentInfoViewController.h"
#include "Classes/Shop/ShopNotifications.h"
#include "Classes/Toolkit/CustomCell.h"
#include "Platform/Log/Log.h"
#include "Platform/UI/NavigationController.h"

namespace lk {

namespace {
constexpr const char* kCellId = "Cell";
}  // namespace

std::shared_ptr<CommentListViewController>
CommentListViewController::initCommentListControllerWithShop(std::shared_ptr<ShopInfo> shop) {
  auto list = std::make_shared<CommentListViewController>(std::move(shop));
  list->hidesBottomBarWhenPushed = !list->hasTabbar;
  return list;
}

CommentListViewController::CommentListViewController(std::shared_ptr<ShopInfo> shop)
    : shopInfo_(std::move(shop)) {
  loadMoreObserver_ = NotificationCenter::defaultCenter().addObserver(
      kCommentLoadMore, [this](const Notification&) { loadMoreFromDetail(); });
}

CommentListViewController::~CommentListViewController() {
  loadMoreObserver_.reset();
  request_.reset();
}

std::string CommentListViewController::commentListURL() const {
  return strprintf("%s/shop/%s/cmt?p=%d&n=%d&xda_from=iPhone&xda_page=CommentList",
                   ServiceEndpoints::serviceURL().c_str(),
                   FormValue::escape(shopInfo_->shopId()).c_str(), currentPage_, kPageSize);
}

void CommentListViewController::requestCommentList() {
  // One page at a time: a second ask (the pager's next pressed twice, a pull-up while the
  // pager's page loads) would fetch the same page twice and skip the one after.
  if (request_ || !shopInfo_ || shopInfo_->shopId().empty()) return;
  if (currentPage_ == 0 && isViewLoaded()) showLoading();
  request_ = std::make_unique<HttpRequest>(this, std::any());
  request_->requestGETWithGZip(commentListURL());
}

void CommentListViewController::startLoadingData() {
  requestCommentList();
}

void CommentListViewController::loadMoreFromDetail() {
  auto* nav = navigationController();
  if (nav == nullptr) return;
  const auto& stack = nav->viewControllers();
  if (stack.size() < 2 || stack[stack.size() - 2].get() != this) return;
  requestCommentList();
}

void CommentListViewController::loadView() {
  isPullLoadMore = true;
  LKTableViewController::loadView();
}

void CommentListViewController::initTableView() {
  LKTableViewController::initTableView();
  tableView()->setFrame(ui::Rect{0, 0, 320, hasTabbar ? 367.0 : 416.0});
}

void CommentListViewController::viewDidLoad() {
  LKTableViewController::viewDidLoad();
  setTitle(kTitle);
  loadingUpText = "上拉载入更多15篇点评";
  loadingReleaseText = "松开载入更多15篇点评";
  loadingText = "正在载入...";
  requestCommentList();
}

void CommentListViewController::requestSucceeded(HttpRequest& request) {
  if (&request != request_.get()) return;
  const std::unique_ptr<HttpRequest> done = std::move(request_);
  auto answer = readJsonAnswer(request, AnswerEncoding::kCompressed);
  if (!answer) {
    if (isAnswerStep(answer.error(), AnswerStep::kStatus)) {
      logf("Request failed, code = %d", request.statusCode());
    } else {
      logf("Error:%s", answer.error().description.c_str());
    }
    noMoreData();
  } else {
    totalCount_ = json::intMember(*answer, "total");
    const std::string base = json::textMember(*answer, "base");
    int count = 0;
    if (const auto* list = json::arrayMember(*answer, "cmtlist")) {
      for (const auto& entry : *list) {
        ++count;
        if (!entry.is_object()) continue;
        commentList_->push_back(Comment::fromReviewEntry(entry.get_object(), base));
      }
    }
    if (count == kPageSize) {
      addPullLoadMore();
    } else {
      noMoreData();
    }
    ++currentPage_;
    if (tableView()) tableView()->reloadData();
  }
  hideLoading();
  scheduleFinishLoadingData();
}

void CommentListViewController::requestFailed(HttpRequest& request,
                                              const PlatformError& /*error*/) {
  if (&request != request_.get()) return;
  const std::unique_ptr<HttpRequest> done = std::move(request_);
  hideLoading();
  scheduleFinishLoadingData();
}

int CommentListViewController::tableViewNumberOfRowsInSection(ui::TableView& /*tableView*/,
                                                              int /*section*/) {
  return static_cast<int>(commentList_->size());
}

std::shared_ptr<ui::TableViewCell> CommentListViewController::tableViewCellForRowAtIndexPath(
    ui::TableView& tableView, ui::IndexPath ip) {
  if (ip.row < 0 || ip.row >= static_cast<int>(commentList_->size())) return nullptr;
  auto cell = std::dynamic_pointer_cast<CustomCell>(tableView.dequeueReusableCell(kCellId));
  if (!cell) {
    cell = std::make_shared<CustomCell>(ui::TableViewCell::Style::kDefault, kCellId);
    cell->setCellView(std::make_shared<CommentCellView>());
    cell->setBackgroundColor(ui::Color::white());
    cell->selectionStyle = ui::TableViewCell::SelectionStyle::kGray;
  }
  cell->setDataModel((*commentList_)[static_cast<std::size_t>(ip.row)]);
  return cell;
}

std::optional<double> CommentListViewController::tableViewHeightForRowAtIndexPath(
    ui::TableView& /*tableView*/, ui::IndexPath ip) {
  if (ip.row < 0 || ip.row >= static_cast<int>(commentList_->size())) return std::nullopt;
  return CommentCellView::heightOfCell(*(*commentList_)[static_cast<std::size_t>(ip.row)]);
}

void CommentListViewController::tableViewDidSelectRowAtIndexPath(ui::TableView& tableView,
                                                                 ui::IndexPath ip) {
  tableView.deselectRowAtIndexPath(ip, true);
  if (ip.row < 0 || ip.row >= static_cast<int>(commentList_->size())) return;
  auto* nav = navigationController();
  if (nav == nullptr) return;
  auto pager = std::make_shared<CommentInfoViewController>(
      commentList_, CommentInfoViewController::Index{ip.row, shopInfo_->intCmtCount()});
  pager->setShopId(shopInfo_->shopId());
  pager->hidesBottomBarWhenPushed = !hasTabbar;
  nav->pushViewController(pager, true);
}

}  // namespace lk

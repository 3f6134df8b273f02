#include "Classes/Shop/CommentInfoViewController.h"

#include "Classes/Json/JsonValue.h"
#include "Classes/Records/Comment.h"
#include "Classes/ServiceClient/FormValue.h"
#include "Classes/ServiceClient/HttpRequest.h"
#include "Classes/ServiceClient/ServiceAnswer.h"
#include "Classes/ServiceClient/ServiceEndpoints.h"
#include "Classes/Shop/CommentInfoView.h"
#include "Classes/Shop/ShopNotifications.h"
#include "Classes/Toolkit/CustomCell.h"
#include "Platform/Log/Log.h"
#include "Platform/Notifications/NotificationCenter.h"

namespace lk {

namespace {
constexpr const char* kCellId = "CommentInfoCell";
}  // namespace

CommentInfoViewController::CommentInfoViewController(std::shared_ptr<CommentList> commentList,
                                                     Index index)
    : commentList_(std::move(commentList)), index_(index) {
  if (!commentList_) commentList_ = std::make_shared<CommentList>();
}

CommentInfoViewController::~CommentInfoViewController() {
  detailRequest_.reset();
  if (tableView_) {
    tableView_->setDataSource(nullptr);
    tableView_->setTableDelegate(nullptr);
  }
}

std::string CommentInfoViewController::currentTitle() const {
  return strprintf("%d/%d", index_.current + 1, index_.total);
}

std::shared_ptr<Comment> CommentInfoViewController::currentComment() const {
  if (index_.current < 0 || index_.current >= static_cast<int>(commentList_->size())) {
    return nullptr;
  }
  return (*commentList_)[static_cast<std::size_t>(index_.current)];
}

void CommentInfoViewController::loadView() {
  LKNavigationController::loadView();
  tableView_ = std::make_shared<ui::TableView>(ui::Rect{0, 0, 320, 416});
  tableView_->separatorStyle = ui::TableView::SeparatorStyle::kNone;
  tableView_->setDataSource(this);
  tableView_->setTableDelegate(this);
  addSubview(tableView_);

  navigationButton_ = std::make_shared<ui::View>(ui::Rect{0, 0, 80, 30});
  preButton_ = std::make_shared<ui::Button>(ui::Rect{0, 0, 38, 30});
  preButton_->setAction([this](ui::Button&) { previousPage(); });
  nxtButton_ = std::make_shared<ui::Button>(ui::Rect{42, 0, 38, 30});
  nxtButton_->setAction([this](ui::Button&) { nextPage(); });
  navigationButton_->addSubview(preButton_);
  navigationButton_->addSubview(nxtButton_);
}

void CommentInfoViewController::viewDidLoad() {
  LKNavigationController::viewDidLoad();
  setTitle(currentTitle());
  buttonAdjust();
  tableView_->reloadData();
  if (auto comment = currentComment(); comment && comment->isContentTrunc()) requestDetail();
}

void CommentInfoViewController::viewWillAppear(bool animated) {
  LKNavigationController::viewWillAppear(animated);
  if (!navigationItem().rightBarButtonItem) {
    navigationItem().rightBarButtonItem = ui::BarButtonItem::withCustomView(navigationButton_);
  }
}

void CommentInfoViewController::viewWillDisappear(bool animated) {
  navigationItem().rightBarButtonItem.reset();
  LKNavigationController::viewWillDisappear(animated);
}

void CommentInfoViewController::buttonAdjust() {
  if (!preButton_) return;
  const bool canGoBack = index_.current > 0;
  const bool canGoOn = index_.current < index_.total - 1;
  preButton_->setEnabled(canGoBack);
  preButton_->setImage(
      ui::Image::named(canGoBack ? kUpImage : std::string(kUpImage) + "_disabled"));
  nxtButton_->setEnabled(canGoOn);
  nxtButton_->setImage(
      ui::Image::named(canGoOn ? kDownImage : std::string(kDownImage) + "_disabled"));
}

void CommentInfoViewController::previousPage() {
  if (index_.current <= 0) return;
  --index_.current;
  pageChanged();
}

void CommentInfoViewController::nextPage() {
  if (index_.current >= index_.total - 1) return;
  if (index_.current >= static_cast<int>(commentList_->size()) - 1) {
    // The list below appends its next page to the shared list; the next press moves on.
    NotificationCenter::defaultCenter().post(kCommentLoadMore);
    buttonAdjust();
    return;
  }
  ++index_.current;
  pageChanged();
}

void CommentInfoViewController::pageChanged() {
  // A full text on its way belongs to the review that was showing.
  detailRequest_.reset();
  detailTarget_.reset();
  if (tableView_) tableView_->reloadData();
  setTitle(currentTitle());
  buttonAdjust();
  if (auto comment = currentComment(); comment && comment->isContentTrunc()) requestDetail();
}

std::string CommentInfoViewController::detailURL() const {
  return strprintf("%s/shop/%s/cmt?p=%d&n=1&xda_from=iPhone&xda_page=CmtInfo",
                   ServiceEndpoints::serviceURL().c_str(), FormValue::escape(shopId_).c_str(),
                   index_.current);
}

void CommentInfoViewController::requestDetail() {
  detailRequest_.reset();
  detailTarget_ = currentComment();
  if (!detailTarget_ || shopId_.empty()) return;
  detailRequest_ = std::make_unique<HttpRequest>(this, kDetailRequest);
  detailRequest_->requestGETWithGZip(detailURL());
}

void CommentInfoViewController::requestSucceeded(HttpRequest& request) {
  if (&request != detailRequest_.get()) return;
  const std::unique_ptr<HttpRequest> done = std::move(detailRequest_);
  const std::shared_ptr<Comment> target = std::move(detailTarget_);
  auto answer = readJsonAnswer(request, AnswerEncoding::kCompressed);
  if (!answer || !target) return;
  const auto* list = json::arrayMember(*answer, "cmtlist");
  if (list == nullptr || list->empty() || !(*list)[0].is_object()) return;
  const auto& entry = (*list)[0].get_object();
  // Only the review that was asked for takes the text, and only when the answer is about it.
  if (const auto* id = json::member(entry, "cmt_id")) {
    if (json::toString(*id).value_or("") != target->cmtId()) return;
  }
  target->setContent(json::textMember(entry, "content"));
  target->setIsContentTrunc(false);
  if (tableView_) tableView_->reloadData();
}

void CommentInfoViewController::requestFailed(HttpRequest& request,
                                              const PlatformError& /*error*/) {
  if (&request != detailRequest_.get()) return;
  const std::unique_ptr<HttpRequest> done = std::move(detailRequest_);
  detailTarget_.reset();
}

int CommentInfoViewController::tableViewNumberOfRowsInSection(ui::TableView& /*tableView*/,
                                                              int /*section*/) {
  return currentComment() ? 1 : 0;
}

std::shared_ptr<ui::TableViewCell> CommentInfoViewController::tableViewCellForRowAtIndexPath(
    ui::TableView& tableView, ui::IndexPath /*ip*/) {
  auto comment = currentComment();
  if (!comment) return nullptr;
  auto cell = std::dynamic_pointer_cast<CustomCell>(tableView.dequeueReusableCell(kCellId));
  if (!cell) {
    cell = std::make_shared<CustomCell>(ui::TableViewCell::Style::kDefault, kCellId);
    cell->setCellView(std::make_shared<CommentInfoView>());
    cell->setBackgroundColor(ui::Color::white());
    cell->selectionStyle = ui::TableViewCell::SelectionStyle::kNone;
  }
  cell->setDataModel(comment);
  if (cell->cellView()) cell->cellView()->setNeedsDisplay();
  return cell;
}

std::optional<double> CommentInfoViewController::tableViewHeightForRowAtIndexPath(
    ui::TableView& /*tableView*/, ui::IndexPath /*ip*/) {
  auto comment = currentComment();
  if (!comment) return std::nullopt;
  return CommentInfoView::heightOfCell(*comment);
}

}  // namespace lk

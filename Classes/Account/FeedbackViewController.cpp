#include "Classes/Account/FeedbackViewController.h"

#include "Classes/ServiceClient/AnswerErrNo.h"
#include "Classes/ServiceClient/HttpRequest.h"
#include "Classes/ServiceClient/ServiceAnswer.h"
#include "Classes/ServiceClient/ServiceEndpoints.h"
#include "Classes/Toolkit/LKLoadingView.h"
#include "Classes/Util/TextTrimming.h"
#include "Platform/Device/DeviceInfo.h"
#include "Platform/Log/Log.h"
#include "Platform/UI/Keyboard.h"
#include "Platform/UI/NavigationController.h"
#include "Platform/UI/TableViewCell.h"
#include "Platform/UI/TextField.h"
#include "Platform/UI/TextView.h"

namespace lk {

namespace {
constexpr const char* kContentCellId = "FeedbackContentCell";
constexpr const char* kEmailCellId = "FeedbackEmailCell";
}  // namespace

FeedbackViewController::FeedbackViewController() = default;

FeedbackViewController::~FeedbackViewController() {
  observers_.clear();
  popTimer_.cancel();
  request_.reset();
  if (tv_) tv_->setDelegate(nullptr);
  if (tf_) tf_->setDelegate(nullptr);
}

// ---------------------------------------------------------------------------------------------
// Building

void FeedbackViewController::loadView() {
  // The inputs exist before the table asks for its rows.
  tv_ = std::make_shared<ui::TextView>(ui::Rect{10, 5, 280, 140});
  tv_->setFont(ui::Font::system(16));
  tv_->setDelegate(this);
  tv_->setText(content_);
  tf_ = std::make_shared<ui::TextField>(ui::Rect{10, 10, 250, 40});
  tf_->setFont(ui::Font::system(16));
  tf_->keyboardType = 3;
  tf_->setDelegate(this);
  tf_->setText(email_);
  LKTableViewController::loadView();
}

void FeedbackViewController::initTableView() {
  LKTableViewController::initTableView();
  fullTableHeight_ = tableView()->frame().height();
}

void FeedbackViewController::viewDidLoad() {
  LKTableViewController::viewDidLoad();
  setTitle(isErrorReport() ? kErrorReportTitle : kFeedbackTitle);
  auto& center = NotificationCenter::defaultCenter();
  observers_.clear();
  observers_.push_back(center.addObserver(ui::kKeyboardDidShowNotification,
                                          [this](const Notification&) { keyboardShow(); }));
  observers_.push_back(center.addObserver(ui::kKeyboardWillHideNotification,
                                          [this](const Notification&) { keyboardHide(); }));
  updateSubmitButton();
  if (tableView()) tableView()->reloadData();
}

void FeedbackViewController::viewDidUnload() {
  observers_.clear();
  if (tv_) tv_->setDelegate(nullptr);
  if (tf_) tf_->setDelegate(nullptr);
  tv_.reset();
  tf_.reset();
  contentCell_.reset();
  emailCell_.reset();
  LKTableViewController::viewDidUnload();
}

// ---------------------------------------------------------------------------------------------
// The two rows

int FeedbackViewController::numberOfSectionsInTableView(ui::TableView& /*tableView*/) {
  return 2;
}

int FeedbackViewController::tableViewNumberOfRowsInSection(ui::TableView& /*tableView*/,
                                                           int /*section*/) {
  return 1;
}

std::shared_ptr<ui::TableViewCell> FeedbackViewController::tableViewCellForRowAtIndexPath(
    ui::TableView& /*tableView*/, ui::IndexPath ip) {
  // One cell for each input: the typed text lives in it.
  auto& cell = ip.section == 0 ? contentCell_ : emailCell_;
  if (!cell) {
    cell = std::make_shared<ui::TableViewCell>(ui::TableViewCell::Style::kDefault,
                                               ip.section == 0 ? kContentCellId : kEmailCellId);
    cell->selectionStyle = ui::TableViewCell::SelectionStyle::kNone;
    const auto& input = ip.section == 0 ? std::static_pointer_cast<ui::View>(tv_)
                                        : std::static_pointer_cast<ui::View>(tf_);
    if (input) cell->contentView()->addSubview(input);
  }
  return cell;
}

std::optional<std::string> FeedbackViewController::tableViewTitleForHeaderInSection(
    ui::TableView& /*tableView*/, int section) {
  if (section == 0) return isErrorReport() ? kErrorSection : kFeedbackSection;
  return kEmailSection;
}

std::optional<double> FeedbackViewController::tableViewHeightForRowAtIndexPath(
    ui::TableView& /*tableView*/, ui::IndexPath ip) {
  return ip.section == 0 ? kContentRowHeight : kEmailRowHeight;
}

std::optional<ui::IndexPath> FeedbackViewController::tableViewWillSelectRowAtIndexPath(
    ui::TableView& /*tableView*/, ui::IndexPath /*ip*/) {
  return std::nullopt;
}

// ---------------------------------------------------------------------------------------------
// Typing

void FeedbackViewController::textViewDidChange(ui::TextView& view) {
  content_ = trimmedText(view.text());
  updateSubmitButton();
}

void FeedbackViewController::textFieldDidChange(ui::TextField& field) {
  email_ = trimmedText(field.text());
  updateSubmitButton();
}

void FeedbackViewController::updateSubmitButton() {
  navigationItem().rightBarButtonItem =
      !content_.empty() && !email_.empty()
          ? buttonItemWithTitle(kSubmitTitle, &FeedbackViewController::submit, this)
          : nullptr;
}

// The keyboard takes the lower part of the screen; the heights are set, not added up, so that
// a show without its hide (or a hide without its show) cannot leave the table the wrong size.
void FeedbackViewController::keyboardShow() {
  setTableHeight(fullTableHeight_ - kKeyboardCover);
}

void FeedbackViewController::keyboardHide() {
  setTableHeight(fullTableHeight_);
}

void FeedbackViewController::setTableHeight(double height) {
  if (!tableView()) return;
  auto frame = tableView()->frame();
  tableView()->setFrame(ui::Rect{frame.x(), frame.y(), frame.width(), height});
}

// ---------------------------------------------------------------------------------------------
// Submitting

void FeedbackViewController::submit() {
  if (content_.empty() || email_.empty()) return;
  const bool replacing = request_ != nullptr;
  request_.reset();
  const std::string device = DeviceInfo::uniqueIdentifier();
  const std::string url = ServiceEndpoints::serviceURL() +
                          (isErrorReport() ? "/submit/0/reportError" : "/submit/0/reportInfo");
  const HttpParameters form =
      isErrorReport()
          ? HttpParameters{{"shop_id", *shopId},   {"content", content_},
                           {"email", email_},      {"xda_did", device},
                           {"xda_from", "iPhone"}, {"xda_page", "ReportError"}}
          : HttpParameters{
                {"mode", 3}, {"content", content_}, {"email", email_}, {"xda_did", device}};
  request_ = std::make_unique<HttpRequest>(static_cast<HttpRequestDelegate*>(this), kSubmitRequest);
  request_->requestPOST(url, form);
  if (tv_) tv_->resignFirstResponder();
  if (tf_) tf_->resignFirstResponder();
  // A submission that replaces one on its way keeps the box already showing.
  if (replacing && loading_) return;
  loading_ = std::make_unique<LKLoadingView>(view(), kSubmitting);
  loading_->show();
}

void FeedbackViewController::requestSucceeded(HttpRequest& request) {
  if (&request != request_.get()) return;
  const std::unique_ptr<HttpRequest> done = std::move(request_);
  const auto answer = readJsonAnswer(request, AnswerEncoding::kPlain);
  if (!answer) {
    if (isAnswerStep(answer.error(), AnswerStep::kStatus)) {
      logf("Request failed, code = %d", request.statusCode());
    } else {
      logf("Error:%s", answer.error().description.c_str());
    }
    finish(false);
    return;
  }
  finish(hasZeroErrNo(*answer));
}

void FeedbackViewController::requestFailed(HttpRequest& request, const PlatformError& /*error*/) {
  if (&request != request_.get()) return;
  request_.reset();
  finish(false);
}

void FeedbackViewController::finish(bool success) {
  // The box finishes its animation on its own.
  if (loading_) {
    loading_->hideWithStatus(success, success ? kSucceeded : kFailed);
    loading_.reset();
  }
  if (!success) return;
  popTimer_.start(seconds(kPopDelaySeconds), [this] { popIfOnTop(); });
}

void FeedbackViewController::popIfOnTop() {
  // The user may have gone back already, or opened something over this screen: only this
  // screen leaves, and only from the top of its stack.
  auto* nav = navigationController();
  if (nav == nullptr || nav->topViewController() != this) return;
  nav->popViewController(true);
}

}  // namespace lk

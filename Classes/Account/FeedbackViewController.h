#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Classes/ServiceClient/HttpRequestDelegate.h"
#include "Classes/Toolkit/LKTableViewController.h"
#include "Platform/Notifications/NotificationCenter.h"
#include "Platform/RunLoop/RunLoop.h"
#include "Platform/UI/TextFieldDelegate.h"
#include "Platform/UI/TextViewDelegate.h"

namespace lk {

class HttpRequest;
class LKLoadingView;

namespace ui {
class TableViewCell;
class TextField;
class TextView;
}  // namespace ui

// Feedback to the operator, or, with a shop id, an error report about that shop: what is wrong
// and an e-mail address, both required. "提交" shows once both are filled; a success pops the
// screen, a failure keeps the texts for another try.
class FeedbackViewController : public LKTableViewController,
                               public ui::TextViewDelegate,
                               public ui::TextFieldDelegate,
                               private HttpRequestDelegate {
 public:
  static constexpr const char* kFeedbackTitle = "意见反馈";
  static constexpr const char* kErrorReportTitle = "报错";
  static constexpr const char* kFeedbackSection = "您的意见";
  static constexpr const char* kErrorSection = "错误内容";
  static constexpr const char* kEmailSection = "您的邮箱";
  static constexpr const char* kSubmitTitle = "提交";
  static constexpr const char* kSubmitting = "正在提交";
  static constexpr const char* kSucceeded = "提交成功";
  static constexpr const char* kFailed = "提交失败";
  // The keyboard covers this much of the table.
  static constexpr double kKeyboardCover = 165;
  static constexpr double kContentRowHeight = 150;
  static constexpr double kEmailRowHeight = 40;
  // After a success the screen leaves this much later.
  static constexpr double kPopDelaySeconds = 0.3;
  static constexpr int kSubmitRequest = 0;

  FeedbackViewController();
  ~FeedbackViewController() override;

  // Set before the screen loads for a shop's error report.
  std::optional<std::string> shopId;
  // What is typed, trimmed of white space and line breaks at both ends.
  [[nodiscard]] const std::string& content() const { return content_; }
  [[nodiscard]] const std::string& email() const { return email_; }

  [[nodiscard]] bool isErrorReport() const { return shopId.has_value() && !shopId->empty(); }
  [[nodiscard]] const std::shared_ptr<ui::TextView>& tv() const { return tv_; }
  [[nodiscard]] const std::shared_ptr<ui::TextField>& tf() const { return tf_; }
  [[nodiscard]] const HttpRequest* request() const { return request_.get(); }
  [[nodiscard]] bool isPopScheduled() const { return popTimer_.isActive(); }
  // The table's height without the keyboard.
  [[nodiscard]] double fullTableHeight() const { return fullTableHeight_; }

  // Sends the texts; a submission still on its way is replaced.
  void submit();
  void keyboardShow();
  void keyboardHide();

  void loadView() override;
  void viewDidLoad() override;
  void viewDidUnload() override;
  void initTableView() override;

  int numberOfSectionsInTableView(ui::TableView& tableView) override;
  int tableViewNumberOfRowsInSection(ui::TableView& tableView, int section) override;
  std::shared_ptr<ui::TableViewCell> tableViewCellForRowAtIndexPath(ui::TableView& tableView,
                                                                    ui::IndexPath ip) override;
  std::optional<std::string> tableViewTitleForHeaderInSection(ui::TableView& tableView,
                                                              int section) override;
  std::optional<double> tableViewHeightForRowAtIndexPath(ui::TableView& tableView,
                                                         ui::IndexPath ip) override;
  std::optional<ui::IndexPath> tableViewWillSelectRowAtIndexPath(ui::TableView& tableView,
                                                                 ui::IndexPath ip) override;

  void textViewDidChange(ui::TextView& view) override;
  void textFieldDidChange(ui::TextField& field) override;

 private:
  void requestSucceeded(HttpRequest& request) override;
  void requestFailed(HttpRequest& request, const PlatformError& error) override;
  void updateSubmitButton();
  void finish(bool success);
  void popIfOnTop();
  void setTableHeight(double height);

  std::string content_;
  std::string email_;
  std::shared_ptr<ui::TextView> tv_;
  std::shared_ptr<ui::TextField> tf_;
  std::shared_ptr<ui::TableViewCell> contentCell_;
  std::shared_ptr<ui::TableViewCell> emailCell_;
  std::unique_ptr<LKLoadingView> loading_;
  std::unique_ptr<HttpRequest> request_;
  double fullTableHeight_ = 0;
  ScopedTimer popTimer_;
  std::vector<ObserverToken> observers_;
};

}  // namespace lk

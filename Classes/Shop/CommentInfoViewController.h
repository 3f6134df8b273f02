#pragma once

#include <memory>
#include <string>
#include <vector>

#include "Classes/ServiceClient/HttpRequestDelegate.h"
#include "Classes/Toolkit/LKNavigationController.h"
#include "Platform/UI/Button.h"
#include "Platform/UI/TableView.h"

namespace lk {

class Comment;
class HttpRequest;

// One review at a time, in full, titled with its position ("3/16"); up and down arrows in the
// bar page through the list's reviews. Paging past the last loaded one asks the list below for
// its next page. A shortened review's whole text is fetched on its own.
class CommentInfoViewController : public LKNavigationController,
                                  public ui::TableViewDataSource,
                                  public ui::TableViewDelegate,
                                  public HttpRequestDelegate {
 public:
  static constexpr int kDetailRequest = 1;
  static constexpr const char* kUpImage = "comment_arrow_up";
  static constexpr const char* kDownImage = "comment_arrow_down";

  using CommentList = std::vector<std::shared_ptr<Comment>>;
  struct Index {
    int current = 0;  // position of the shown review in the list
    int total = 0;    // the shop's number of reviews
  };

  CommentInfoViewController(std::shared_ptr<CommentList> commentList, Index index);
  ~CommentInfoViewController() override;

  void setShopId(std::string shopId) { shopId_ = std::move(shopId); }
  [[nodiscard]] const std::string& shopId() const { return shopId_; }
  [[nodiscard]] Index index() const { return index_; }
  [[nodiscard]] std::string currentTitle() const;
  [[nodiscard]] const std::shared_ptr<ui::Button>& preButton() const { return preButton_; }
  [[nodiscard]] const std::shared_ptr<ui::Button>& nxtButton() const { return nxtButton_; }
  [[nodiscard]] const HttpRequest* detailRequest() const { return detailRequest_.get(); }
  [[nodiscard]] const std::shared_ptr<ui::TableView>& tableView() const { return tableView_; }

  void previousPage();
  void nextPage();
  void buttonAdjust();
  // Asks for the whole text of the review shown now.
  void requestDetail();
  [[nodiscard]] std::string detailURL() const;

  void loadView() override;
  void viewDidLoad() override;
  void viewWillAppear(bool animated) override;
  void viewWillDisappear(bool animated) override;

  int tableViewNumberOfRowsInSection(ui::TableView& tableView, int section) override;
  std::shared_ptr<ui::TableViewCell> tableViewCellForRowAtIndexPath(ui::TableView& tableView,
                                                                    ui::IndexPath ip) override;
  std::optional<double> tableViewHeightForRowAtIndexPath(ui::TableView& tableView,
                                                         ui::IndexPath ip) override;

  void requestSucceeded(HttpRequest& request) override;
  void requestFailed(HttpRequest& request, const PlatformError& error) override;

 private:
  void pageChanged();
  [[nodiscard]] std::shared_ptr<Comment> currentComment() const;

  std::shared_ptr<CommentList> commentList_;
  Index index_;
  std::string shopId_;
  std::shared_ptr<ui::TableView> tableView_;
  std::shared_ptr<ui::Button> preButton_;
  std::shared_ptr<ui::Button> nxtButton_;
  std::shared_ptr<ui::View> navigationButton_;
  std::unique_ptr<HttpRequest> detailRequest_;
  // The review the pending full-text request is for.
  std::shared_ptr<Comment> detailTarget_;
};

}  // namespace lk

#pragma once

#include <memory>
#include <vector>

#include "Classes/ServiceClient/HttpRequestDelegate.h"
#include "Classes/Toolkit/LKTableViewController.h"
#include "Platform/Notifications/NotificationCenter.h"

namespace lk {

class Comment;
class HttpRequest;
class ShopInfo;

// The reviews of one shop ("点评"), 15 a page, the next page on pull-up. Choosing a review
// opens the pager over the same list; the pager's "kCommentLoadMore" loads the next page here.
class CommentListViewController : public LKTableViewController, public HttpRequestDelegate {
 public:
  static constexpr int kPageSize = 15;
  static constexpr const char* kTitle = "点评";

  using CommentList = std::vector<std::shared_ptr<Comment>>;

  static std::shared_ptr<CommentListViewController> initCommentListControllerWithShop(
      std::shared_ptr<ShopInfo> shop);
  explicit CommentListViewController(std::shared_ptr<ShopInfo> shop);
  ~CommentListViewController() override;

  [[nodiscard]] const std::shared_ptr<ShopInfo>& shopInfo() const { return shopInfo_; }
  // Shared with the pager, which sees pages loaded later.
  [[nodiscard]] const std::shared_ptr<CommentList>& commentList() const { return commentList_; }
  [[nodiscard]] int currentPage() const { return currentPage_; }
  [[nodiscard]] int totalCount() const { return totalCount_; }
  [[nodiscard]] const HttpRequest* request() const { return request_.get(); }
  bool hasTabbar = false;

  // Asks for page `currentPage`; does nothing while a page is on its way.
  void requestCommentList();
  [[nodiscard]] std::string commentListURL() const;
  void startLoadingData() override;
  // The pager asks for more: only the list directly below the top screen loads.
  void loadMoreFromDetail();

  void loadView() override;
  void initTableView() override;
  void viewDidLoad() override;

  int tableViewNumberOfRowsInSection(ui::TableView& tableView, int section) override;
  std::shared_ptr<ui::TableViewCell> tableViewCellForRowAtIndexPath(ui::TableView& tableView,
                                                                    ui::IndexPath ip) override;
  std::optional<double> tableViewHeightForRowAtIndexPath(ui::TableView& tableView,
                                                         ui::IndexPath ip) override;
  void tableViewDidSelectRowAtIndexPath(ui::TableView& tableView, ui::IndexPath ip) override;

  void requestSucceeded(HttpRequest& request) override;
  void requestFailed(HttpRequest& request, const PlatformError& error) override;

 private:
  std::shared_ptr<ShopInfo> shopInfo_;
  std::shared_ptr<CommentList> commentList_ = std::make_shared<CommentList>();
  int currentPage_ = 0;
  int totalCount_ = 0;
  std::unique_ptr<HttpRequest> request_;
  ObserverToken loadMoreObserver_;
};

}  // namespace lk

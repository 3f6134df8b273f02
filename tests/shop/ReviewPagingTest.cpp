#include <gtest/gtest.h>

#include <thread>

#include "Classes/Records/Comment.h"
#include "Classes/Shop/CommentInfoViewController.h"
#include "Classes/Shop/CommentListViewController.h"
#include "Classes/Shop/ShopNotifications.h"
#include "Platform/Notifications/NotificationCenter.h"
#include "Platform/UI/TableView.h"
#include "tests/shop/ShopScreenFixture.h"

namespace lk::test {
namespace {

using Answer = ScriptedShopService::Answer;

// The review list of a shop with `total` reviews, pushed on the test's stack.
class ReviewPaging : public ShopScreenTest {
 protected:
  void serveReviews(int total, bool truncated = false) {
    service.onReviews([total, truncated](const httplib::Request& req) {
      const int page = std::stoi(req.get_param_value("p"));
      const int size = std::stoi(req.get_param_value("n"));
      const int first = page * size;
      const int count = std::max(0, std::min(size, total - first));
      // The full-text request (n=1) gets the whole text.
      return Answer{200,
                    ScriptedShopService::reviewPage(total, first, count, truncated && size != 1)};
    });
  }
  void openList(int total) {
    auto shop = std::make_shared<ShopInfo>();
    shop->setShopId("42");
    shop->setIntCmtCount(total);
    list = CommentListViewController::initCommentListControllerWithShop(shop);
    nav->pushViewController(list, false);
  }
  void settleList() {
    ASSERT_TRUE(
        loop->runUntil([&] { return !list->request() && (!pager || !pager->detailRequest()); },
                       std::chrono::seconds(10)));
    loop->runFor(seconds(1));
  }
  void openReview(int row) {
    ASSERT_TRUE(list->tableView()->tapRow({0, row}));
    pager = std::dynamic_pointer_cast<CommentInfoViewController>(nav->viewControllers().back());
    ASSERT_NE(pager, nullptr);
  }
  std::vector<std::string> pages() { return service.targetsWith("xda_page=CommentList"); }
  std::vector<std::string> fullTexts() { return service.targetsWith("xda_page=CmtInfo"); }

  std::shared_ptr<CommentListViewController> list;
  std::shared_ptr<CommentInfoViewController> pager;
};

TEST_F(ReviewPaging, AFullPageKeepsLoadMoreAndAnEmptyOneEndsIt) {
  serveReviews(15);
  openList(15);
  settleList();
  EXPECT_EQ(pages().at(0),
            "/client/shop/42/cmt?p=0&n=15&xda_from=iPhone&xda_page=CommentList&tn=gz");
  EXPECT_EQ(list->commentList()->size(), 15u);
  EXPECT_NE(list->refreshFooterView(), nullptr);
  EXPECT_EQ(list->title(), "点评");
  list->startLoadingData();
  settleList();
  EXPECT_NE(pages().back().find("p=1&n=15"), std::string::npos);
  EXPECT_EQ(list->refreshFooterView(), nullptr) << "a page of 0 ends the paging";
  EXPECT_EQ(list->currentPage(), 2);
}

TEST_F(ReviewPaging, SixteenReviewsPageOnIntoTheSecondPage) {
  serveReviews(16);
  openList(16);
  settleList();
  openReview(14);
  EXPECT_EQ(pager->title(), "15/16");
  EXPECT_TRUE(pager->nxtButton()->isEnabled()) << "the shop has a 16th review";
  EXPECT_TRUE(pager->preButton()->isEnabled());

  pager->nextPage();  // past the last loaded review: the list below loads
  EXPECT_EQ(pager->title(), "15/16") << "stays on the review until the page is in";
  settleList();
  EXPECT_EQ(pages().size(), 2u);
  EXPECT_EQ(list->commentList()->size(), 16u);

  pager->nextPage();
  EXPECT_EQ(pager->title(), "16/16");
  EXPECT_FALSE(pager->nxtButton()->isEnabled());
  pager->nextPage();
  EXPECT_EQ(pager->title(), "16/16") << "nothing past the last review";
  EXPECT_EQ(pages().size(), 2u);
}

TEST_F(ReviewPaging, TheFirstReviewCannotGoBack) {
  serveReviews(3);
  openList(3);
  settleList();
  openReview(0);
  EXPECT_EQ(pager->title(), "1/3");
  EXPECT_FALSE(pager->preButton()->isEnabled());
  pager->previousPage();
  EXPECT_EQ(pager->title(), "1/3");
}

TEST_F(ReviewPaging, NextPressedTwiceAsksForThePageOnce) {
  serveReviews(40);
  openList(40);
  settleList();
  openReview(14);
  pager->nextPage();
  pager->nextPage();  // the page is still on its way
  settleList();
  ASSERT_EQ(pages().size(), 2u) << "one request for page 1";
  EXPECT_EQ(list->commentList()->size(), 30u);
  pager->nextPage();
  EXPECT_EQ(pager->title(), "16/40") << "page 1 was not skipped";
  EXPECT_EQ(list->currentPage(), 2);
}

TEST_F(ReviewPaging, OnlyTheListDirectlyBelowThePagerLoads) {
  serveReviews(40);
  openList(40);
  settleList();
  auto lower = list;
  openList(40);
  settleList();
  openReview(14);
  const auto before = pages().size();
  NotificationCenter::defaultCenter().post(kCommentLoadMore);
  settleList();
  EXPECT_EQ(pages().size(), before + 1);
  EXPECT_EQ(lower->currentPage(), 1) << "the list further down stays as it was";
  EXPECT_EQ(list->currentPage(), 2);
}

TEST_F(ReviewPaging, AShortenedReviewFetchesItsWholeText) {
  serveReviews(5, /*truncated=*/true);
  openList(5);
  settleList();
  EXPECT_TRUE(input.dump().find("点评0（节选）...") != std::string::npos) << input.dump();
  openReview(2);
  settleList();
  ASSERT_EQ(fullTexts().size(), 1u);
  EXPECT_EQ(fullTexts()[0], "/client/shop/42/cmt?p=2&n=1&xda_from=iPhone&xda_page=CmtInfo&tn=gz");
  const auto& review = *(*list->commentList())[2];
  EXPECT_EQ(review.content(), "点评2");
  EXPECT_FALSE(review.isContentTrunc());
}

TEST_F(ReviewPaging, ALateFullTextGoesOnlyToTheReviewItWasAskedFor) {
  serveReviews(5, /*truncated=*/true);
  openList(5);
  settleList();
  service.onReviews([](const httplib::Request& req) {
    // The full text of review 1 arrives slowly; pages are answered at once.
    if (req.get_param_value("n") == "1")
      std::this_thread::sleep_for(std::chrono::milliseconds(300));
    return Answer{200, ScriptedShopService::reviewPage(5, std::stoi(req.get_param_value("p")), 1)};
  });
  openReview(1);
  EXPECT_NE(pager->detailRequest(), nullptr);
  pager->nextPage();  // to review 2 before the answer for review 1 is in
  EXPECT_EQ(pager->title(), "3/5");
  settleList();
  const auto& comments = *list->commentList();
  EXPECT_EQ(comments[2]->content(), "点评2") << "review 2 got its own text";
  EXPECT_TRUE(comments[1]->isContentTrunc()) << "the cancelled answer for review 1 changed nothing";

  // An answer about another review (its id differs) is not written into the shown one.
  service.onReviews([](const httplib::Request&) {
    return Answer{200, ScriptedShopService::reviewPage(5, 4, 1)};
  });
  HttpRequestCacheCenter::sharedInstance().distoryCacheData();
  pager->previousPage();  // back to review 1, still shortened: asks again
  settleList();
  EXPECT_TRUE(comments[1]->isContentTrunc());
  EXPECT_EQ(comments[1]->content(), "点评1（节选）");
}

TEST_F(ReviewPaging, ThePagerCancelsItsFullTextWhenItGoes) {
  serveReviews(5, /*truncated=*/true);
  openList(5);
  settleList();
  openReview(0);
  ASSERT_NE(pager->detailRequest(), nullptr);
  nav->popViewController(false);
  pager.reset();
  loop->runFor(seconds(2));
  EXPECT_TRUE((*list->commentList())[0]->isContentTrunc());
}

}  // namespace
}  // namespace lk::test

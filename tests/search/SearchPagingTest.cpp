#include <gtest/gtest.h>

#include "Classes/Records/ShopInfo.h"
#include "Classes/Search/SearchResultsHeader.h"
#include "Classes/ServiceClient/HttpRequest.h"
#include "tests/search/SearchScreenFixture.h"

namespace lk::test {
namespace {

using Answer = ScriptedSearchService::Answer;
using Request = ScriptedSearchService::Request;

// Pages of a catalogue of `total` shops, 15 a page.
ScriptedSearchService::Script catalogue(int total) {
  return [total](const Request& req) {
    const int page = std::stoi(req.queryValue("p").value_or("0"));
    const int first = page * 15;
    const int count = std::max(0, std::min(15, total - first));
    return Answer{200, ScriptedSearchService::searchAnswer(total, first, count, {13101})};
  };
}

using SearchPaging = SearchScreenTest;

TEST_F(SearchPaging, FirstRequestCarriesKeywordPlaceCityAndPageInOrder) {
  open("火锅", "王府井");
  settle();
  ASSERT_EQ(searches().size(), 1u);
  EXPECT_EQ(searches()[0],
            "/client/search/0/q?k=%E7%81%AB%E9%94%85&r=%E7%8E%8B%E5%BA%9C%E4%BA%95&ci=131&sort=1"
            "&p=0&n=15&xda_from=iPhone&xda_page=SearchInfo&tn=gz");
}

TEST_F(SearchPaging, FullPagesOfferMoreAndAShortPageEndsPaging) {
  service.onSearch(catalogue(40));
  open("火锅");
  EXPECT_TRUE(shows("正在载入数据")) << "the first page loads under the overlay";
  settle();
  EXPECT_FALSE(shows("正在载入数据"));
  EXPECT_EQ(screen->resultList().size(), 15u);
  EXPECT_NE(screen->refreshFooterView(), nullptr) << "exactly 15 keeps load-more on";
  EXPECT_EQ(rows(), 15) << "more remain: no add-shop row yet";

  pullUp();
  settle();
  EXPECT_NE(searches().back().find("&p=1&n=15"), std::string::npos);
  EXPECT_NE(screen->refreshFooterView(), nullptr) << "a later page of 15 keeps it on";
  EXPECT_EQ(rows(), 30);

  pullUp();
  settle();
  EXPECT_NE(searches().back().find("&p=2&n=15"), std::string::npos);
  EXPECT_EQ(screen->resultList().size(), 40u);
  EXPECT_EQ(screen->refreshFooterView(), nullptr) << "10 shops end the paging";
  EXPECT_EQ(rows(), 41) << "all 40 loaded: the add-shop row follows the last shop";
  EXPECT_EQ(screen->currentPage(), 3);

  pullUp();
  settle();
  EXPECT_EQ(searches().size(), 3u) << "no footer, no further page";
}

TEST_F(SearchPaging, FourteenShopsEndPagingWithTheAddShopRow) {
  service.onSearch(catalogue(14));
  open("火锅");
  settle();
  EXPECT_EQ(screen->refreshFooterView(), nullptr);
  ASSERT_EQ(rows(), 15);
  screen->tableView()->scrollToRowAtIndexPath({0, 14}, ui::TableView::ScrollPosition::kBottom,
                                              false);
  EXPECT_TRUE(shows("row 0.14")) << dump();
  EXPECT_TRUE(shows(" 你要找的商户不在列表里?"));
  EXPECT_TRUE(shows(" 赶快添加商户!"));
}

TEST_F(SearchPaging, AShortPageOfAServiceThatCountsMoreShowsNoAddShopRow) {
  service.onSearch([](const Request&) {
    return Answer{200, ScriptedSearchService::searchAnswer(20, 0, 14)};
  });
  open("火锅");
  settle();
  EXPECT_EQ(screen->refreshFooterView(), nullptr);
  EXPECT_EQ(rows(), 14) << "the add-shop row follows only when all counted shops are shown";
}

TEST_F(SearchPaging, NoShopsShowsOnlyTheAddShopRowOnceAnswered) {
  open("没有这种店");
  EXPECT_EQ(rows(), 0) << "nothing while the answer is on its way";
  EXPECT_FALSE(shows("你要找的商户"));
  settle();
  EXPECT_TRUE(screen->isSearchFinished());
  EXPECT_EQ(rows(), 1);
  EXPECT_TRUE(shows(" 你要找的商户不在列表里?"));
  EXPECT_TRUE(shows("section: 搜索－没有这种店\n")) << "no count text for 0 shops";
}

TEST_F(SearchPaging, ANegativeCountOfTheServiceReadsAsNoCount) {
  for (const char* total : {"-5", "\"-5\"", "-2147483648"}) {
    service.onSearch([total](const auto&) {
      std::string answer = ScriptedSearchService::searchAnswer(0, 0, 3);
      const std::string field = R"("total": 0)";
      answer.replace(answer.find(field), field.size(), std::string(R"("total": )") + total);
      return Answer{200, answer};
    });
    forgetAnswers();
    open("火锅");
    settle();
    EXPECT_EQ(screen->resultCount(), 0) << total;
    EXPECT_TRUE(shows("section: 搜索－火锅\n")) << dump();
    EXPECT_FALSE(shows("家商户")) << total;
    EXPECT_EQ(rows(), 3) << "the three shops, and no add-shop row for a count of 0";
  }
}

TEST_F(SearchPaging, AFailedFirstPageIsNotAnEmptyResult) {
  service.onSearch([](const Request&) { return Answer{500, "oops"}; });
  open("火锅");
  settle();
  EXPECT_FALSE(screen->isSearchFinished());
  EXPECT_EQ(rows(), 0) << "the service failed: no claim that the shop is missing";
  EXPECT_FALSE(shows("你要找的商户"));
  EXPECT_FALSE(shows("正在载入数据")) << "the overlay goes";
  EXPECT_TRUE(service.targetsWith("citymore").empty()) << "no trees without a first page";
  EXPECT_EQ(screen->currentPage(), 0);

  // The next answer of the same search is taken as usual.
  service.onSearch(catalogue(3));
  forgetAnswers();
  screen->searchRequest();
  settle();
  EXPECT_EQ(rows(), 4);
}

TEST_F(SearchPaging, AnUnreachableServiceIsNotAnEmptyResultEither) {
  service.transport().respond("/client/search/0/q", [](const Request&) {
    FakeTransport::Answer nobody;
    nobody.failure = UrlError::kCannotConnectToHost;
    return nobody;
  });
  open("火锅");
  settle();
  EXPECT_FALSE(screen->isSearchFinished());
  EXPECT_EQ(rows(), 0);
  EXPECT_FALSE(shows("正在载入数据"));
}

TEST_F(SearchPaging, AFailedLaterPageKeepsTheListAndAsksForTheSamePageAgain) {
  bool fail = false;
  service.onSearch([&fail, all = catalogue(40)](const Request& req) {
    return fail ? Answer{503, ""} : all(req);
  });
  open("火锅");
  settle();
  fail = true;
  pullUp();
  settle();
  EXPECT_EQ(screen->resultList().size(), 15u);
  EXPECT_EQ(rows(), 15) << "no add-shop row for a failure";
  EXPECT_NE(screen->refreshFooterView(), nullptr) << "the user can pull again";
  fail = false;
  forgetAnswers();
  pullUp();
  settle();
  const auto sent = searches();
  ASSERT_EQ(sent.size(), 3u);
  EXPECT_NE(sent[1].find("&p=1&"), std::string::npos);
  EXPECT_NE(sent[2].find("&p=1&"), std::string::npos);
  EXPECT_EQ(screen->resultList().size(), 30u);
}

TEST_F(SearchPaging, InvalidJsonEndsPagingAndIsLogged) {
  service.onSearch([](const Request&) { return Answer{200, "{not json"}; });
  LogCapture log;
  open("火锅");
  settle();
  EXPECT_EQ(screen->refreshFooterView(), nullptr);
  EXPECT_FALSE(screen->isPullLoadMore);
  EXPECT_TRUE(log.contains("Request shop info, error:"));
  EXPECT_FALSE(shows("正在载入数据"));
}

TEST_F(SearchPaging, TreeRequestsGoOutOncePerResetAfterTheFirstPage) {
  service.onSearch(catalogue(40));
  open("火锅");
  EXPECT_TRUE(service.targetsWith("index/").empty()) << "not before the first page";
  settle();
  EXPECT_EQ(service.targetsWith("/client/index/131/citymore?tn=gz").size(), 1u);
  EXPECT_EQ(service.targetsWith("/client/index/131/catmore?tn=gz").size(), 1u);
  const auto all = service.targets();
  ASSERT_EQ(all.size(), 3u);
  EXPECT_NE(all[0].find("/search/0/q"), std::string::npos) << "the search answers first";

  forgetAnswers();
  pullUp();
  settle();
  EXPECT_EQ(service.targetsWith("citymore").size(), 1u) << "not after a later page";
  EXPECT_EQ(service.targetsWith("catmore").size(), 1u);

  forgetAnswers();
  screen->header()->chooseSortItem(1);  // a reset
  settle();
  EXPECT_EQ(service.targetsWith("citymore").size(), 2u);
  EXPECT_EQ(service.targetsWith("catmore").size(), 2u);
}

TEST_F(SearchPaging, ScrollToTopButtonFollowsTheOffsetAndScrollsBack) {
  service.onSearch(catalogue(40));
  open("火锅");
  settle();
  ASSERT_TRUE(screen->scrollButton()->isHidden());
  screen->tableView()->drag(-70);
  loop->runFor(seconds(1));
  EXPECT_TRUE(screen->scrollButton()->isHidden()) << "70 points is not beyond 70";
  screen->tableView()->drag(-5);
  loop->runFor(seconds(1));
  EXPECT_FALSE(screen->scrollButton()->isHidden());
  EXPECT_TRUE(input.tap(SearchResultsViewController::kScrollTopImage));
  loop->runFor(seconds(1));
  // The first row at the top, under the section title.
  EXPECT_EQ(screen->tableView()->contentOffset().y,
            screen->tableView()->rectForRowAtIndexPath({0, 0})->y());
  EXPECT_TRUE(screen->scrollButton()->isHidden());
}

TEST_F(SearchPaging, AnUnloadedViewStartsOverWhenShownAgain) {
  service.onSearch(catalogue(40));
  open("火锅");
  settle();
  pullUp();
  settle();
  ASSERT_EQ(screen->resultList().size(), 30u);
  nav->pushViewController(std::make_shared<ui::ViewController>(), false);
  ASSERT_TRUE(screen->unloadView()) << "not on screen: a memory warning drops the view";
  EXPECT_TRUE(screen->resultList().empty());
  EXPECT_EQ(screen->currentPage(), 0);
  EXPECT_EQ(screen->header(), nullptr);
  EXPECT_EQ(screen->scrollButton(), nullptr);
  EXPECT_TRUE(screen->leftData().empty());
  forgetAnswers();
  nav->popViewController(false);
  settle();
  EXPECT_EQ(screen->resultList().size(), 15u);
  EXPECT_NE(searches().back().find("&p=0&"), std::string::npos);
  EXPECT_TRUE(shows("button: [默认] (selected)"));
}

TEST_F(SearchPaging, DestroyingTheScreenCancelsItsRequests) {
  // The answer takes a while, so that the screen goes while its request is on the way.
  service.transport().respond(R"(/client/search/0/q)", [](const FakeTransport::Request&) {
    FakeTransport::Answer answer;
    answer.body = ScriptedSearchService::searchAnswer(40, 0, 15);
    answer.encoding = FakeTransport::Body::kGzip;
    answer.delay = seconds(5);
    return answer;
  });
  open("火锅");
  ASSERT_NE(screen->request(), nullptr);
  loop->runFor(seconds(1));
  ASSERT_EQ(service.transport().inFlight(), 1u);
  nav->popViewController(false);
  screen.reset();
  loop->runFor(seconds(1));  // the screen goes on a later turn; its answer is 3 s away still
  EXPECT_EQ(service.transport().inFlight(), 0u) << "the screen's request outlived it";
  EXPECT_EQ(HttpRequest::networkActivityCount(), 0);
}

}  // namespace
}  // namespace lk::test

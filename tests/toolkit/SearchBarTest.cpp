#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "Classes/Toolkit/LKSearchBar.h"
#include "Platform/UI/Keyboard.h"
#include "Platform/UI/Label.h"

namespace lk {
namespace {

// Records each callback with whether the history button was shown at that moment.
class BarLog : public LKSearchBarDelegate {
 public:
  void note(LKSearchBar& bar, const std::string& what) {
    events.push_back(what + (bar.isHistoryButtonShown() ? "+" : "-"));
  }
  void searchBarDidBeginEditing(LKSearchBar& b) override { note(b, "begin"); }
  void searchBarDidChange(LKSearchBar& b) override { note(b, "change"); }
  void searchBarCleared(LKSearchBar& b) override { note(b, "cleared"); }
  void searchBarDidEndEditing(LKSearchBar& b) override { note(b, "end"); }
  void searchBarSearch(LKSearchBar& b) override {
    note(b, "search:" + b.searchText().value_or("(none)"));
  }
  void showHistory(LKSearchBar& b) override { note(b, "history"); }
  std::vector<std::string> events;
};

class SearchBar : public ::testing::Test {
 protected:
  void SetUp() override {
    bar = std::make_shared<LKSearchBar>(ui::Rect{0, 0, 320, 44}, &log,
                                        std::make_shared<ui::Label>(ui::Rect{}, "找:"));
  }
  void TearDown() override { Keyboard().dismiss(); }
  static ui::Keyboard& Keyboard() { return ui::Keyboard::shared(); }
  BarLog log;
  std::shared_ptr<LKSearchBar> bar;
};

TEST_F(SearchBar, HistoryButtonFollowsTheTextWhileTyping) {
  EXPECT_FALSE(bar->isHistoryButtonShown()) << "built but not shown";
  ASSERT_TRUE(bar->becomeFirstResponder());
  Keyboard().type("火");
  Keyboard().deleteBackward();
  EXPECT_EQ(log.events, (std::vector<std::string>{"begin+", "change-", "change+"}));
  EXPECT_TRUE(bar->isFirstResponder());
}

TEST_F(SearchBar, BeginningWithTextHidesTheButton) {
  bar->showHistoryButton();
  bar->textField()->setText("川菜");
  bar->becomeFirstResponder();
  EXPECT_EQ(log.events, std::vector<std::string>{"begin-"});
}

TEST_F(SearchBar, EndingEditingStoresTheTextAndHidesTheButton) {
  bar->becomeFirstResponder();
  Keyboard().type("面");
  bar->showHistoryButton();
  bar->resignFirstResponder();
  EXPECT_EQ(bar->searchText(), "面");
  EXPECT_EQ(log.events.back(), "end-");
}

TEST_F(SearchBar, ClearButtonStoresNoTextShowsTheButtonAndReportsOnce) {
  bar->becomeFirstResponder();
  Keyboard().type("ab");
  log.events.clear();
  ASSERT_TRUE(Keyboard().tapClearButton());
  EXPECT_EQ(log.events, std::vector<std::string>{"cleared+"}) << "no change event for a clear";
  EXPECT_FALSE(bar->searchText());
  EXPECT_EQ(bar->textField()->text(), "");
}

TEST_F(SearchBar, SearchKeyStoresTheTextFirst) {
  bar->becomeFirstResponder();
  Keyboard().type("火锅");
  ASSERT_TRUE(Keyboard().pressReturn());
  EXPECT_EQ(log.events.back(), "search:火锅-");
  EXPECT_EQ(bar->textField()->returnKeyType, ui::TextInput::ReturnKey::kSearch);
}

TEST_F(SearchBar, SearchKeyWithAnEmptyFieldStillSearches) {
  EXPECT_TRUE(bar->textField()->enablesReturnKeyAutomatically);
  bar->textField()->enablesReturnKeyAutomatically = false;
  bar->becomeFirstResponder();
  ASSERT_TRUE(Keyboard().pressReturn());
  EXPECT_EQ(bar->searchText(), "");
  EXPECT_EQ(log.events.back(), "search:-");
}

TEST_F(SearchBar, SameSearchTextChangesNothing) {
  bar->setSearchText("a");
  bar->showHistoryButton();
  bar->setSearchText("a");
  EXPECT_TRUE(bar->isHistoryButtonShown());
  bar->setSearchText("b");
  EXPECT_FALSE(bar->isHistoryButtonShown());
  EXPECT_EQ(bar->textField()->text(), "b");
  EXPECT_TRUE(log.events.empty());
}

TEST_F(SearchBar, AlwaysHideNeverShowsTheButton) {
  bar->isAlwaysHideHistoryButton = true;
  bar->becomeFirstResponder();
  Keyboard().type("a");
  Keyboard().deleteBackward();
  Keyboard().type("b");
  Keyboard().tapClearButton();
  bar->showHistoryButton();
  for (const auto& e : log.events)
    EXPECT_EQ(e.back(), '-') << e;
  EXPECT_FALSE(bar->isHistoryButtonShown());
}

TEST_F(SearchBar, AlwaysShowNeverHidesTheButton) {
  bar->isAlwaysShowHistoryButton = true;
  bar->becomeFirstResponder();
  Keyboard().type("abc");
  bar->setSearchText("x");
  bar->resignFirstResponder();
  EXPECT_TRUE(bar->isHistoryButtonShown());
}

TEST_F(SearchBar, HistoryButtonTapReachesTheDelegate) {
  bar->becomeFirstResponder();
  ASSERT_TRUE(bar->historyButton()->tap());
  EXPECT_EQ(log.events.back(), "history+");
}

TEST_F(SearchBar, DisabledFieldShowsItsTextButTakesNoFocus) {
  bar->setSearchText("旧");
  bar->disable();
  EXPECT_FALSE(bar->becomeFirstResponder());
  EXPECT_NE(bar->dumpText().find("field: 旧"), std::string::npos);
  EXPECT_NE(bar->dumpText().find("label: 找:"), std::string::npos);
}

}  // namespace
}  // namespace lk

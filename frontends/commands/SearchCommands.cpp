#include "frontends/commands/SearchCommands.h"

#include <algorithm>
#include <memory>
#include <string>

#include "Classes/Search/HotChannelViewController.h"
#include "Classes/Search/SearchViewController.h"
#include "Classes/Shell/lokavoAppDelegate.h"
#include "Platform/RunLoop/RunLoop.h"
#include "Platform/UI/Application.h"
#include "Platform/UI/NavigationController.h"
#include "Platform/UI/ScreenInput.h"
#include "Platform/UI/TabBarController.h"
#include "frontends/commands/CliSession.h"
#include "frontends/commands/CommandDispatcher.h"

namespace lk::cli {

namespace {

// The search tab chosen as a finger would and its stack back at its root screen. Screens taken
// off the stack are let go on a later turn of the loop, not inside this call.
ui::NavigationController* showSearchHome(CliSession& session, std::string* reason) {
  auto& delegate = session.appDelegate();
  auto& tabs = *delegate.tabBarController();
  const auto& stack = delegate.stack(lokavoAppDelegate::Tab::kSearch);
  const auto& shown = tabs.viewControllers();
  const auto it = std::find(shown.begin(), shown.end(), stack);
  if (!stack || it == shown.end()) {
    *reason = "the search tab is not shown";
    return nullptr;
  }
  if (stack->modalViewController() != nullptr) {
    *reason = "a modal screen is showing on the search tab";
    return nullptr;
  }
  const int index = static_cast<int>(it - shown.begin());
  if (tabs.selectedIndex() != index && !tabs.selectTabAsUser(index)) {
    *reason = "the tab bar is not shown on this screen";
    return nullptr;
  }
  auto popped = stack->popToRootViewController(false);
  if (!popped.empty()) RunLoop::main().post([popped = std::move(popped)] {});
  return stack.get();
}

// Takes the path a person takes: the search tab's home, its search field (which opens the entry
// screen), the keyword, with a place the "周边" segment and the place field, the search key.
CommandResult search(CliSession& session, const std::vector<std::string>& args) {
  if (args.empty() || args.size() > 2)
    return CommandResult::rejected("usage: search KEYWORD [PLACE]");
  if (ui::Application::shared().state() == ui::Application::State::kBackground) {
    return CommandResult::rejected("the application is in the background (try \"foreground\")");
  }
  std::string reason;
  ui::NavigationController* stack = showSearchHome(session, &reason);
  if (stack == nullptr) return CommandResult::rejected(reason);
  auto* home = dynamic_cast<HotChannelViewController*>(stack->topViewController());
  if (home == nullptr || !home->searchBar())
    return CommandResult::rejected("the search tab shows no search field");
  home->searchBar()->becomeFirstResponder();
  auto* entry = dynamic_cast<SearchViewController*>(stack->topViewController());
  if (entry == nullptr) return CommandResult::rejected("the search entry did not open");
  ui::ScreenInput input;
  const bool withPlace = args.size() == 2;
  if (withPlace && entry->segmentedControl())
    entry->segmentedControl()->tapSegment(SearchViewController::kAroundSegment);
  entry->searchBar()->becomeFirstResponder();
  input.type(args[0]);
  if (withPlace) {
    entry->nearbyBar()->becomeFirstResponder();
    input.type(args[1]);
  }
  input.pressReturn();
  return CommandResult::done();
}

}  // namespace

void registerSearchCommands(CommandDispatcher& dispatcher, CliSession& session) {
  dispatcher.add(
      {"search", "search KEYWORD [PLACE]",
       "searches through the search tab's entry screen (around PLACE when given)",
       [&session](const std::vector<std::string>& args) { return search(session, args); },
       "Chooses the \"搜索\" tab, goes back to its home and searches as a person does: the\n"
       "search field opens the entry screen, KEYWORD goes into \"找:\", with a PLACE the\n"
       "\"周边\" segment is chosen and PLACE goes into \"在:\", then the search key. PLACE is a\n"
       "district or business circle of the current city.\n"});
}

}  // namespace lk::cli

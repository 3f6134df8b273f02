#include "frontends/cli/SearchCommands.h"

#include <memory>
#include <string>

#include "Classes/Search/HotChannelViewController.h"
#include "Classes/Search/SearchViewController.h"
#include "Classes/Shell/lokavoAppDelegate.h"
#include "Platform/UI/Application.h"
#include "Platform/UI/NavigationController.h"
#include "Platform/UI/ScreenInput.h"
#include "Platform/UI/TabBarController.h"
#include "frontends/cli/CliSession.h"
#include "frontends/cli/CommandDispatcher.h"

namespace lk::cli {

namespace {

// Takes the path a person takes: the search tab's home, its search field (which opens the entry
// screen), the keyword, with a place the "周边" segment and the place field, the search key.
CommandResult search(CliSession& session, const std::vector<std::string>& args) {
  if (args.empty() || args.size() > 2)
    return CommandResult::rejected("usage: search KEYWORD [PLACE]");
  if (ui::Application::shared().state() == ui::Application::State::kBackground) {
    return CommandResult::rejected("the application is in the background (try \"foreground\")");
  }
  auto& delegate = session.appDelegate();
  auto& tabs = *delegate.tabBarController();
  auto* shown = dynamic_cast<ui::NavigationController*>(tabs.selectedViewController());
  const auto& stack = delegate.scNavCtl();
  if (shown == nullptr || stack == nullptr)
    return CommandResult::rejected("the selected tab has no navigation stack");
  if (shown->modalViewController() != nullptr || stack->modalViewController() != nullptr ||
      (shown->topViewController() != nullptr &&
       shown->topViewController()->modalViewController() != nullptr)) {
    return CommandResult::rejected("a modal screen is showing");
  }
  tabs.setSelectedViewController(stack.get());
  stack->popToRootViewController(false);
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
       [&session](const std::vector<std::string>& args) { return search(session, args); }});
}

}  // namespace lk::cli

#include "frontends/cli/SearchCommands.h"

#include <algorithm>
#include <memory>
#include <string>

#include "Classes/Search/SearchResultsViewController.h"
#include "Classes/Shell/lokavoAppDelegate.h"
#include "Platform/RunLoop/RunLoop.h"
#include "Platform/UI/Application.h"
#include "Platform/UI/NavigationController.h"
#include "Platform/UI/TabBarController.h"
#include "frontends/cli/CliSession.h"
#include "frontends/cli/CommandDispatcher.h"

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

CommandResult search(CliSession& session, const std::vector<std::string>& args) {
  if (args.empty() || args.size() > 2)
    return CommandResult::rejected("usage: search KEYWORD [PLACE]");
  if (ui::Application::shared().state() == ui::Application::State::kBackground) {
    return CommandResult::rejected("the application is in the background (try \"foreground\")");
  }
  std::string reason;
  ui::NavigationController* stack = showSearchHome(session, &reason);
  if (stack == nullptr) return CommandResult::rejected(reason);
  auto results = std::make_shared<SearchResultsViewController>();
  results->what = args[0];
  results->where = args.size() == 2 ? args[1] : std::string();
  stack->pushViewController(results, true);
  return CommandResult::done();
}

}  // namespace

void registerSearchCommands(CommandDispatcher& dispatcher, CliSession& session) {
  dispatcher.add(
      {"search", "search KEYWORD [PLACE]",
       "opens the results of a keyword search (in a place) from the search tab's home",
       [&session](const std::vector<std::string>& args) { return search(session, args); },
       "Chooses the \"搜索\" tab, goes back to its first screen and opens the results there, so\n"
       "searches do not pile up. PLACE is a district or business circle of the current city.\n"});
}

}  // namespace lk::cli

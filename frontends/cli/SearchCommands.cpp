#include "frontends/cli/SearchCommands.h"

#include <memory>
#include <string>

#include "Classes/Search/SearchResultsViewController.h"
#include "Classes/Shell/lokavoAppDelegate.h"
#include "Platform/UI/Application.h"
#include "Platform/UI/NavigationController.h"
#include "Platform/UI/TabBarController.h"
#include "frontends/cli/CliSession.h"
#include "frontends/cli/CommandDispatcher.h"

namespace lk::cli {

namespace {

CommandResult search(CliSession& session, const std::vector<std::string>& args) {
  if (args.empty() || args.size() > 2)
    return CommandResult::rejected("usage: search KEYWORD [PLACE]");
  if (ui::Application::shared().state() == ui::Application::State::kBackground) {
    return CommandResult::rejected("the application is in the background (try \"foreground\")");
  }
  auto& tabs = *session.appDelegate().tabBarController();
  auto* stack = dynamic_cast<ui::NavigationController*>(tabs.selectedViewController());
  if (stack == nullptr) return CommandResult::rejected("the selected tab has no navigation stack");
  if (stack->modalViewController() != nullptr)
    return CommandResult::rejected("a modal screen is showing");
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
       "opens the results of a keyword search (in a place) on the current tab",
       [&session](const std::vector<std::string>& args) { return search(session, args); }});
}

}  // namespace lk::cli

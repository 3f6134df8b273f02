#include "frontends/cli/ShellCommands.h"

#include <charconv>
#include <chrono>
#include <optional>
#include <string>

#include "Classes/LocalState/CacheCenter.h"
#include "Classes/Shell/lokavoAppDelegate.h"
#include "Platform/RunLoop/DrivableRunLoop.h"
#include "Platform/UI/Application.h"
#include "Platform/UI/TabBarController.h"
#include "frontends/cli/CliSession.h"
#include "frontends/cli/CommandDispatcher.h"

namespace lk::cli {

namespace {

constexpr long long kMaxWaitMs = 10 * 60 * 1000;

// The whole text as a decimal integer, or nothing.
std::optional<long long> integer(const std::string& text) {
  long long n = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), n);
  if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return n;
}

std::string cityText(const Area& city) {
  return city.nameText() + " (" + std::to_string(city.id()) + ")";
}

CommandResult inBackground() {
  return CommandResult::rejected("the application is in the background (try \"foreground\")");
}

bool isInBackground() {
  return ui::Application::shared().state() == ui::Application::State::kBackground;
}

CommandResult selectTab(CliSession& session, const std::vector<std::string>& args) {
  if (args.size() != 1) return CommandResult::rejected("usage: tab N|TITLE");
  if (isInBackground()) return inBackground();
  auto& tbc = *session.appDelegate().tabBarController();
  const auto& shown = tbc.viewControllers();
  const int count = static_cast<int>(shown.size());
  int index = -1;
  if (auto n = integer(args[0])) {
    if (*n < 0 || *n >= count) {
      return CommandResult::rejected("no tab " + args[0] + ": the tab bar shows " +
                                     std::to_string(count) + " tabs (0 to " +
                                     std::to_string(count - 1) + ")");
    }
    index = static_cast<int>(*n);
  } else {
    std::string titles;
    for (int i = 0; i < count; ++i) {
      if (shown[i]->tabBarItem().title == args[0]) index = i;
      titles += (i == 0 ? "" : " | ") + shown[i]->tabBarItem().title;
    }
    if (index < 0) {
      return CommandResult::rejected("no tab \"" + args[0] + "\": the tabs are " + titles);
    }
  }
  if (!tbc.selectTabAsUser(index)) {
    return CommandResult::rejected("the tab bar is not shown on this screen");
  }
  return CommandResult::done();
}

CommandResult city(const std::vector<std::string>& args) {
  auto& cc = CacheCenter::sharedInstance();
  if (args.empty()) return CommandResult::done("city: " + cityText(*cc.currentCity()));
  if (args.size() > 2) return CommandResult::rejected("usage: city [ID [NAME] | NAME]");
  std::optional<std::string> name = args.size() == 2 ? std::optional(args[1]) : std::nullopt;
  std::optional<int> id;
  if (auto n = integer(args[0])) {
    if (*n < INT32_MIN || *n > INT32_MAX) {
      return CommandResult::rejected("city id " + args[0] + " is out of range");
    }
    id = static_cast<int>(*n);
  } else if (args.size() == 1) {
    name = args[0];
  } else {
    return CommandResult::rejected("city id \"" + args[0] + "\" is not a number");
  }
  // A missing id or name is looked up among the hot cities.
  if (!id || !name) {
    for (const auto& hot : cc.hotCityList()) {
      if ((id && hot->id() == *id) || (!id && hot->name() == name)) {
        id = hot->id();
        name = hot->name();
        break;
      }
    }
  }
  if (!id || !name) {
    return CommandResult::rejected("\"" + args[0] +
                                   "\" is not a hot city: give both, as in \"city 75 成都\"");
  }
  cc.setCurrentCity(Area(*id, name));
  return CommandResult::done("city: " + cityText(*cc.currentCity()));
}

}  // namespace

void registerShellCommands(CommandDispatcher& dispatcher, CliSession& session) {
  dispatcher.add(
      {"help", "help", "lists the commands", [&dispatcher](const std::vector<std::string>&) {
         return CommandResult::info(dispatcher.helpText());
       }});
  dispatcher.add({"dump", "dump", "prints the screen", [](const std::vector<std::string>& args) {
                    if (!args.empty()) return CommandResult::rejected("usage: dump");
                    return CommandResult::done();
                  }});
  dispatcher.add(
      {"tab", "tab N|TITLE", "chooses a tab (0 is the leftmost) as a finger would",
       [&session](const std::vector<std::string>& args) { return selectTab(session, args); }});
  dispatcher.add({"background", "background", "sends the application to the background",
                  [](const std::vector<std::string>& args) {
                    if (!args.empty()) return CommandResult::rejected("usage: background");
                    if (isInBackground()) {
                      return CommandResult::rejected(
                          "the application is already in the "
                          "background");
                    }
                    ui::Application::shared().enterBackground();
                    return CommandResult::done("application: in the background");
                  }});
  dispatcher.add({"foreground", "foreground", "brings the application back from the background",
                  [](const std::vector<std::string>& args) {
                    if (!args.empty()) return CommandResult::rejected("usage: foreground");
                    if (!isInBackground()) {
                      return CommandResult::rejected(
                          "the application is already in the "
                          "foreground");
                    }
                    ui::Application::shared().enterForeground();
                    return CommandResult::done("application: active");
                  }});
  dispatcher.add({"wait", "wait MS", "runs the client for MS milliseconds",
                  [](const std::vector<std::string>& args) {
                    auto ms = args.size() == 1 ? integer(args[0]) : std::nullopt;
                    if (!ms || *ms < 0 || *ms > kMaxWaitMs) {
                      return CommandResult::rejected("usage: wait MS (0 to " +
                                                     std::to_string(kMaxWaitMs) + ")");
                    }
                    DrivableRunLoop::main().runFor(std::chrono::milliseconds(*ms));
                    return CommandResult::done();
                  }});
  dispatcher.add({"city", "city [ID [NAME] | NAME]",
                  "shows or sets the current city (a hot city by id or name)", city});
  const auto quit = [](const std::vector<std::string>&) { return CommandResult::quit(); };
  dispatcher.add({"quit", "quit", "ends the session", quit});
  dispatcher.add({"exit", "exit", "ends the session", quit});
}

}  // namespace lk::cli

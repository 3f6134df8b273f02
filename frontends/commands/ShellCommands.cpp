#include "frontends/commands/ShellCommands.h"

#include <charconv>
#include <chrono>
#include <optional>
#include <string>

#include "Classes/LocalState/CacheCenter.h"
#include "Classes/Shell/lokavoAppDelegate.h"
#include "Platform/RunLoop/DrivableRunLoop.h"
#include "Platform/UI/Application.h"
#include "Platform/UI/DumpWriter.h"
#include "Platform/UI/TabBarController.h"
#include "frontends/commands/CityIndexLookup.h"
#include "frontends/commands/CliSession.h"
#include "frontends/commands/CommandDispatcher.h"
#include "frontends/commands/DumpNotation.h"

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
  return ui::DumpWriter::visible(city.nameText()) + " (" + std::to_string(city.id()) + ")";
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

// Looking a city up in the service's index takes one request per province at most.
constexpr Duration kCityLookupBound = seconds(30);

CommandResult setCity(const Area& city) {
  auto& cc = CacheCenter::sharedInstance();
  cc.setCurrentCity(Area(city.id(), city.name()));
  return CommandResult::done("city: " + cityText(*cc.currentCity()));
}

std::string hotCities() {
  std::string text;
  for (const auto& hot : CacheCenter::sharedInstance().hotCityList())
    text += (text.empty() ? "" : " | ") + cityText(*hot);
  return text;
}

CommandResult city(CliSession& session, const std::vector<std::string>& args) {
  auto& cc = CacheCenter::sharedInstance();
  if (args.empty()) {
    return CommandResult::info("city: " + cityText(*cc.currentCity()) +
                               "\nhot cities: " + hotCities() + "\n");
  }
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
  if (name && name->empty()) return CommandResult::rejected("a city name cannot be empty");
  const auto mismatch = [&](const Area& known) {
    const std::string knownName = "\"" + ui::DumpWriter::visible(known.nameText()) + "\"";
    if (known.id() == *id) {
      return CommandResult::rejected("city " + args[0] + " is " + knownName + ", not \"" + *name +
                                     "\"");
    }
    return CommandResult::rejected(knownName + " is city " + std::to_string(known.id()) + ", not " +
                                   args[0]);
  };
  // The hot cities first: they need no request.
  for (const auto& hot : cc.hotCityList()) {
    const bool idMatches = id && hot->id() == *id;
    const bool nameMatches = name && hot->name() == name;
    if ((!id || idMatches) && (!name || nameMatches)) return setCity(*hot);
    if (id && name && (idMatches || nameMatches)) return mismatch(*hot);
  }
  CityIndexLookup lookup(id, name);
  lookup.start();
  const auto end = session.runLoopUntil([&lookup] { return lookup.finished(); }, kCityLookupBound);
  switch (lookup.state()) {
    case CityIndexLookup::State::kFound:
      return setCity(*lookup.city());
    case CityIndexLookup::State::kNotFound:
      if (lookup.sameId()) return mismatch(*lookup.sameId());
      return CommandResult::rejected("no city " + (id ? std::to_string(*id) : "\"" + *name + "\"") +
                                     " among the hot cities or in the service's city index");
    case CityIndexLookup::State::kFailed:
      return CommandResult::rejected("cannot check the city: " + lookup.failure());
    case CityIndexLookup::State::kIdle:
    case CityIndexLookup::State::kRunning:
      break;
  }
  if (end == CliSession::WaitEnd::kInterrupted) {
    return CommandResult::rejected("stopped looking the city up; the city is unchanged");
  }
  return CommandResult::rejected("cannot check the city: the service did not answer in time");
}

}  // namespace

void registerShellCommands(CommandDispatcher& dispatcher, CliSession& session) {
  dispatcher.add({"help", "help [COMMAND]",
                  "lists the commands and explains the printed screen, or explains one command",
                  [&dispatcher](const std::vector<std::string>& args) {
                    if (args.size() > 1) return CommandResult::rejected("usage: help [COMMAND]");
                    if (args.empty()) {
                      return CommandResult::info(dispatcher.helpText() + "\n" + dumpNotationHelp());
                    }
                    if (auto text = dispatcher.helpFor(args[0])) return CommandResult::info(*text);
                    std::string reason = "no command \"" + args[0] + "\"";
                    if (auto near = dispatcher.nearest(args[0]))
                      reason += " (did you mean \"" + *near + "\"?)";
                    return CommandResult::rejected(reason);
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
                  [&session](const std::vector<std::string>& args) {
                    auto ms = args.size() == 1 ? integer(args[0]) : std::nullopt;
                    if (!ms || *ms < 0 || *ms > kMaxWaitMs) {
                      return CommandResult::rejected("usage: wait MS (0 to " +
                                                     std::to_string(kMaxWaitMs) + ")");
                    }
                    (void)session.runLoopUntil([] { return false; },
                                               std::chrono::milliseconds(*ms));
                    return CommandResult::done();
                  },
                  "Answers, timers and animations due in that time run; Ctrl-C stops "
                  "waiting.\n"});
  dispatcher.add(
      {"city", "city [ID [NAME] | NAME]", "shows or sets the current city",
       [&session](const std::vector<std::string>& args) { return city(session, args); },
       "Without arguments: the current city and the hot cities. A city is given by its id, its\n"
       "name, or both (\"city 75 成都\"); it must be a hot city or a city of the service's city\n"
       "index (looked up province by province), and an id with another city's name is\n"
       "refused. Setting it stores it, as the city pickers do.\n"});
  const auto quit = [](const std::vector<std::string>&) { return CommandResult::quit(); };
  dispatcher.add({"quit", "quit", "ends the session", quit});
  dispatcher.add({"exit", "exit", "ends the session", quit});
}

}  // namespace lk::cli

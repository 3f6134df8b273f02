#include "frontends/commands/ScreenCommands.h"

#include <algorithm>
#include <charconv>
#include <optional>
#include <string>

#include "Classes/Toolkit/VSPickerView.h"
#include "Platform/UI/ActionSheet.h"
#include "Platform/UI/AlertView.h"
#include "Platform/UI/Application.h"
#include "Platform/UI/DumpWriter.h"
#include "Platform/UI/Keyboard.h"
#include "Platform/UI/ScreenInput.h"
#include "Platform/UI/TableView.h"
#include "Platform/UI/Toolbar.h"
#include "Platform/UI/Window.h"
#include "frontends/commands/CliSession.h"
#include "frontends/commands/CommandDispatcher.h"
#include "frontends/commands/ScreenTargets.h"

namespace lk::cli {

namespace {

// Past the 65 points at which the pull footer and header trigger.
constexpr double kPullBeyond = 70;
constexpr int kMaxScroll = 100000;
// What a default scroll leaves of the previous screenful: about one row.
constexpr double kRowContext = 44;

std::optional<int> number(const std::string& text) {
  int n = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), n);
  if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return n;
}

bool inBackground() {
  return ui::Application::shared().state() == ui::Application::State::kBackground;
}

// Visible views from the top-most down.
template <typename T>
T* topMost(ui::View* view) {
  if (view == nullptr || view->isHidden() || view->alpha() <= 0) return nullptr;
  const auto children = view->subviews();
  for (auto it = children.rbegin(); it != children.rend(); ++it) {
    if (T* found = topMost<T>(it->get())) return found;
  }
  return dynamic_cast<T*>(view);
}

ui::View* screen() {
  return ui::Application::shared().keyWindow();
}

bool alertShowing() {
  return topMost<ui::AlertView>(screen()) != nullptr ||
         topMost<ui::ActionSheet>(screen()) != nullptr;
}

VSPickerView* shownPicker() {
  return topMost<VSPickerView>(screen());
}

// Rejects commands while the application cannot take input.
std::optional<CommandResult> unavailable() {
  if (inBackground()) {
    return CommandResult::rejected("the application is in the background (try \"foreground\")");
  }
  if (screen() == nullptr) return CommandResult::rejected("no window is shown");
  return std::nullopt;
}

CommandResult tap(const std::vector<std::string>& args) {
  if (args.size() != 1 || args[0].empty()) return CommandResult::rejected("usage: tap TEXT");
  if (auto no = unavailable()) return *no;
  const auto targets = ScreenTargets::collect();
  const auto* target = ScreenTargets::find(targets, args[0]);
  if (target == nullptr)
    return CommandResult::rejected("nothing on the screen shows \"" + args[0] + "\"");
  if (!target->tap())
    return CommandResult::rejected("the " + target->kind + " \"" + args[0] + "\" does not respond");
  return CommandResult::done();
}

CommandResult pull(bool up) {
  if (auto no = unavailable()) return *no;
  if (alertShowing()) return CommandResult::rejected("an alert is showing (use \"alert TEXT\")");
  if (shownPicker() != nullptr)
    return CommandResult::rejected("a picker is showing (use \"done\" or \"cancel\")");
  ui::TableView* table = ui::ScreenInput().topTableView();
  if (table == nullptr || !table->scrollEnabled) return CommandResult::rejected("no list is shown");
  auto keep = table->weak_from_this().lock();
  // First to the end (or the top) of the list, then past it and let go.
  if (up) {
    const double toEnd = table->maxOffsetY() - table->contentOffset().y;
    if (toEnd > 0) table->drag(-toEnd);
    table->drag(-kPullBeyond);
  } else {
    const double toTop = table->contentOffset().y - table->minOffsetY();
    if (toTop > 0) table->drag(toTop);
    table->drag(kPullBeyond);
  }
  return CommandResult::done();
}

// The list a finger would move: the top-most one, when it scrolls.
ui::TableView* shownList() {
  ui::TableView* table = ui::ScreenInput().topTableView();
  return table != nullptr && table->scrollEnabled ? table : nullptr;
}

// A drag that stays within the list, so neither the load-more footer nor the refresh header is
// pulled far enough to trigger.
CommandResult scroll(const std::vector<std::string>& args) {
  const bool down = !args.empty() && args[0] == "down";
  std::optional<int> points;
  if (args.size() == 2) points = number(args[1]);
  if (args.empty() || args.size() > 2 || (!down && args[0] != "up") ||
      (args.size() == 2 && (!points || *points <= 0 || *points > kMaxScroll))) {
    return CommandResult::rejected("usage: scroll up|down [POINTS] (1 to " +
                                   std::to_string(kMaxScroll) + ")");
  }
  if (auto no = unavailable()) return *no;
  if (alertShowing()) return CommandResult::rejected("an alert is showing (use \"alert TEXT\")");
  if (shownPicker() != nullptr)
    return CommandResult::rejected("a picker is showing (use \"done\" or \"cancel\")");
  ui::TableView* table = shownList();
  if (table == nullptr) return CommandResult::rejected("no list is shown");
  auto keep = table->weak_from_this().lock();
  const double offset = table->contentOffset().y;
  const double room = down ? table->maxOffsetY() - offset : offset - table->minOffsetY();
  if (room < 1) {
    return CommandResult::rejected(down ? "the list is at its end (\"pull-up\" asks for more)"
                                        : "the list is at its top");
  }
  // A screenful less one row of context, unless told otherwise.
  const double wanted =
      points ? *points : std::max(kRowContext, table->frame().height() - kRowContext);
  const double distance = std::min(wanted, room);
  table->drag(down ? -distance : distance);
  return CommandResult::done("scrolled " + std::to_string(static_cast<int>(distance + 0.5)) +
                             " points " + (down ? "down" : "up"));
}

CommandResult rows(const std::vector<std::string>& args) {
  if (!args.empty()) return CommandResult::rejected("usage: rows");
  if (auto no = unavailable()) return *no;
  ui::TableView* table = ui::ScreenInput().topTableView();
  if (table == nullptr) return CommandResult::rejected("no list is shown");
  auto keep = table->weak_from_this().lock();
  int total = 0;
  int onScreen = 0;
  for (int s = 0; s < table->numberOfSections(); ++s) {
    for (int r = 0; r < table->numberOfRowsInSection(s); ++r) {
      ++total;
      if (table->isRowOnScreen({s, r})) ++onScreen;
    }
  }
  ui::DumpWriter out;
  out.line("rows: " + std::to_string(total) + " in the list, " + std::to_string(onScreen) +
           " on screen");
  table->dumpAllRows(out);
  return CommandResult::info(out.text());
}

CommandResult toolbarButton(const std::string& title) {
  if (auto no = unavailable()) return *no;
  VSPickerView* picker = shownPicker();
  if (picker == nullptr) return CommandResult::rejected("no picker is showing");
  auto keep = picker->weak_from_this().lock();
  if (!picker->toolbar()->tapItem(title))
    return CommandResult::rejected("the picker has no \"" + title + "\" button");
  return CommandResult::done();
}

}  // namespace

void registerScreenCommands(CommandDispatcher& dispatcher, CliSession& /*session*/) {
  dispatcher.add({"tap", "tap TEXT",
                  "taps what shows TEXT (alert, bar, content, tab bar; an exact match first)",
                  tap});
  dispatcher.add({"type", "type TEXT", "types TEXT into the focused field, key by key",
                  [](const std::vector<std::string>& args) {
                    if (args.size() != 1) return CommandResult::rejected("usage: type TEXT");
                    if (auto no = unavailable()) return *no;
                    if (!ui::Keyboard::shared().isShown()) {
                      return CommandResult::rejected("no field has the focus (tap one first)");
                    }
                    (void)ui::Keyboard::shared().type(args[0]);
                    return CommandResult::done();
                  }});
  dispatcher.add({"return", "return", "presses the keyboard's return (search) key",
                  [](const std::vector<std::string>& args) {
                    if (!args.empty()) return CommandResult::rejected("usage: return");
                    if (auto no = unavailable()) return *no;
                    if (!ui::Keyboard::shared().pressReturn()) {
                      return CommandResult::rejected("no field has the focus");
                    }
                    return CommandResult::done();
                  }});
  dispatcher.add({"pull-up", "pull-up", "drags the list up past its end and lets go (more)",
                  [](const std::vector<std::string>& args) {
                    if (!args.empty()) return CommandResult::rejected("usage: pull-up");
                    return pull(true);
                  }});
  dispatcher.add({"pull-down", "pull-down", "drags the list down past its top and lets go",
                  [](const std::vector<std::string>& args) {
                    if (!args.empty()) return CommandResult::rejected("usage: pull-down");
                    return pull(false);
                  }});
  dispatcher.add({"scroll", "scroll up|down [POINTS]",
                  "drags the list by POINTS (a screenful by default) without pulling past its ends",
                  scroll,
                  "\"scroll down\" shows what comes further down the list. The drag stops at the\n"
                  "list's ends, so it never loads more or refreshes (that is \"pull-up\" and\n"
                  "\"pull-down\").\n"});
  dispatcher.add({"rows", "rows", "prints every row of the list, marking those on screen", rows,
                  "Rows are printed as on the screen (\"row S.R\" and what the cell shows), each\n"
                  "row shown on screen marked \"(on screen)\". Only what is loaded is listed.\n"});
  dispatcher.add({"alert", "alert TEXT", "chooses the alert's or action sheet's button TEXT",
                  [](const std::vector<std::string>& args) {
                    if (args.size() != 1) return CommandResult::rejected("usage: alert TEXT");
                    if (auto no = unavailable()) return *no;
                    if (!alertShowing()) return CommandResult::rejected("no alert is showing");
                    if (!ui::ScreenInput().chooseAlertButton(args[0])) {
                      return CommandResult::rejected("the alert has no button \"" + args[0] + "\"");
                    }
                    return CommandResult::done();
                  }});
  dispatcher.add({"pick", "pick C R", "turns picker wheel C to row R (both from 0)",
                  [](const std::vector<std::string>& args) {
                    auto c = args.size() == 2 ? number(args[0]) : std::nullopt;
                    auto r = args.size() == 2 ? number(args[1]) : std::nullopt;
                    if (!c || !r) return CommandResult::rejected("usage: pick C R");
                    if (auto no = unavailable()) return *no;
                    VSPickerView* picker = shownPicker();
                    if (picker == nullptr) return CommandResult::rejected("no picker is showing");
                    if (*c < 0 || *c >= picker->numberOfComponents()) {
                      return CommandResult::rejected(
                          "the picker has " + std::to_string(picker->numberOfComponents()) +
                          " wheels (0 to " + std::to_string(picker->numberOfComponents() - 1) +
                          ")");
                    }
                    const int rows = picker->numberOfRowsInComponent(*c);
                    if (*r < 0 || *r >= rows) {
                      return CommandResult::rejected("wheel " + args[0] + " has " +
                                                     std::to_string(rows) + " rows");
                    }
                    auto keep = picker->weak_from_this().lock();
                    picker->turnWheel(*c, *r);
                    return CommandResult::done();
                  },
                  "The screen shows each wheel as \"wheel C: N rows\" with its rows numbered from\n"
                  "0 and the selected one marked. Turning a wheel may change the rows of the next\n"
                  "one; \"done\" takes the choice, \"cancel\" turns the wheels back.\n"});
  dispatcher.add(
      {"done", "done", "presses the picker's \"完成\"", [](const std::vector<std::string>& args) {
         if (!args.empty()) return CommandResult::rejected("usage: done");
         return toolbarButton("完成");
       }});
  dispatcher.add({"cancel", "cancel", "presses the picker's \"取消\"",
                  [](const std::vector<std::string>& args) {
                    if (!args.empty()) return CommandResult::rejected("usage: cancel");
                    return toolbarButton("取消");
                  }});
  dispatcher.add({"back", "back", "taps the back button of the navigation bar",
                  [](const std::vector<std::string>& args) {
                    if (!args.empty()) return CommandResult::rejected("usage: back");
                    if (auto no = unavailable()) return *no;
                    if (alertShowing())
                      return CommandResult::rejected("an alert is showing (use \"alert TEXT\")");
                    if (!ui::ScreenInput().tapBack())
                      return CommandResult::rejected("there is no back button on this screen");
                    return CommandResult::done();
                  }});
}

}  // namespace lk::cli

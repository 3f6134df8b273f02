#include "frontends/commands/MapCommands.h"

#include <charconv>
#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "Platform/UI/ActionSheet.h"
#include "Platform/UI/AlertView.h"
#include "Platform/UI/Application.h"
#include "Platform/UI/WebView.h"
#include "Platform/UI/Window.h"
#include "frontends/commands/CliSession.h"
#include "frontends/commands/CommandDispatcher.h"

namespace lk::cli {

namespace {

std::optional<double> coordinate(const std::string& text) {
  double value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || ec != std::errc() || end != text.data() + text.size() ||
      !std::isfinite(value))
    return std::nullopt;
  return value;
}

// The top-most shown view of type T, searching from the front.
template <typename T>
T* topMost(ui::View* view) {
  if (view == nullptr || view->isHidden() || view->alpha() <= 0) return nullptr;
  const auto children = view->subviews();
  for (auto it = children.rbegin(); it != children.rend(); ++it) {
    if (T* found = topMost<T>(it->get())) return found;
  }
  return dynamic_cast<T*>(view);
}

CommandResult mark(const std::vector<std::string>& args) {
  const auto x = args.size() == 2 ? coordinate(args[0]) : std::nullopt;
  const auto y = args.size() == 2 ? coordinate(args[1]) : std::nullopt;
  if (!x || !y)
    return CommandResult::rejected("usage: mark X Y (two numbers, e.g. mark 116.41 39.92)");
  ui::View* screen = ui::Application::shared().keyWindow();
  if (ui::Application::shared().state() == ui::Application::State::kBackground)
    return CommandResult::rejected("the application is in the background (try \"foreground\")");
  if (screen == nullptr) return CommandResult::rejected("no window is shown");
  if (topMost<ui::AlertView>(screen) != nullptr || topMost<ui::ActionSheet>(screen) != nullptr)
    return CommandResult::rejected("an alert is showing (use \"alert TEXT\")");
  ui::WebView* page = topMost<ui::WebView>(screen);
  if (page == nullptr || page->markerQueryFunction().empty())
    return CommandResult::rejected("no page with a movable marker is shown");
  if (!page->moveMarker(*x, *y))
    return CommandResult::rejected("the page has not placed its marker yet");
  return CommandResult::done();
}

}  // namespace

void registerMapCommands(CommandDispatcher& dispatcher, CliSession& /*session*/) {
  dispatcher.add(
      {"mark", "mark X Y", "drags the map page's marker to the position X, Y", mark,
       "X and Y are the service's map coordinates (longitude first), as the page shows\n"
       "them under \"marker:\". Only a page whose marker can be moved takes it (the\n"
       "add-shop form's \"在地图上标注位置\"); its \"返回\" then reads the marker back.\n"});
}

}  // namespace lk::cli

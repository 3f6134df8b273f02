#include "frontends/commands/CommandDispatcher.h"

#include <algorithm>

namespace lk::cli {

namespace {

// Only ASCII letters fold: command names are ASCII, and other bytes stay as typed.
std::string folded(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return text;
}

// Edits (insert, delete, replace, swap of neighbours) from `a` to `b`.
std::size_t distance(const std::string& a, const std::string& b) {
  const std::size_t n = a.size();
  const std::size_t m = b.size();
  std::vector<std::vector<std::size_t>> d(n + 1, std::vector<std::size_t>(m + 1));
  for (std::size_t i = 0; i <= n; ++i)
    d[i][0] = i;
  for (std::size_t j = 0; j <= m; ++j)
    d[0][j] = j;
  for (std::size_t i = 1; i <= n; ++i) {
    for (std::size_t j = 1; j <= m; ++j) {
      const std::size_t cost = a[i - 1] == b[j - 1] ? 0 : 1;
      d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + cost});
      if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1]) {
        d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
      }
    }
  }
  return d[n][m];
}

}  // namespace

void CommandDispatcher::add(Command command) {
  std::string key = folded(command.name);
  commands_[key] = std::move(command);
}

const CommandDispatcher::Command* CommandDispatcher::find(const std::string& name) const {
  auto it = commands_.find(folded(name));
  return it == commands_.end() ? nullptr : &it->second;
}

std::optional<std::string> CommandDispatcher::nearest(const std::string& name) const {
  // Long typed words (a pasted line) are no slip of a command name.
  if (name.empty() || name.size() > 32) return std::nullopt;
  const std::string typed = folded(name);
  std::optional<std::string> best;
  std::size_t bestDistance = 0;
  for (const auto& [key, command] : commands_) {
    const std::size_t d = distance(typed, key);
    // A slip: at most a third of the name wrong, and at least one letter right.
    if (d > std::max<std::size_t>(1, key.size() / 3) || d >= key.size()) continue;
    if (!best || d < bestDistance) {
      best = command.name;
      bestDistance = d;
    }
  }
  return best;
}

CommandResult CommandDispatcher::dispatch(const std::vector<std::string>& words) const {
  if (words.empty()) return CommandResult::done();
  const Command* command = find(words.front());
  if (command == nullptr) {
    std::string reason = "unknown command \"" + words.front() + "\"";
    if (auto near = nearest(words.front())) {
      reason += " (did you mean \"" + *near + "\"? \"help\" lists the commands)";
    } else {
      reason += " (try \"help\")";
    }
    return CommandResult::rejected(reason);
  }
  return command->run(std::vector<std::string>(words.begin() + 1, words.end()));
}

std::string CommandDispatcher::helpText() const {
  std::size_t width = 0;
  for (const auto& [name, command] : commands_)
    width = std::max(width, command.usage.size());
  std::string text;
  for (const auto& [name, command] : commands_) {
    text += command.usage;
    text.append(width + 2 - command.usage.size(), ' ');
    text += command.help;
    text += '\n';
  }
  return text;
}

std::optional<std::string> CommandDispatcher::helpFor(const std::string& name) const {
  const Command* command = find(name);
  if (command == nullptr) return std::nullopt;
  std::string text = command->usage + "\n  " + command->help + "\n";
  if (!command->details.empty()) {
    text += command->details;
    if (text.back() != '\n') text += '\n';
  }
  return text;
}

}  // namespace lk::cli

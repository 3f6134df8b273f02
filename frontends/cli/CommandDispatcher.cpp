#include "frontends/cli/CommandDispatcher.h"

#include <algorithm>

namespace lk::cli {

void CommandDispatcher::add(Command command) {
  std::string name = command.name;
  commands_[name] = std::move(command);
}

CommandResult CommandDispatcher::dispatch(const std::vector<std::string>& words) const {
  if (words.empty()) return CommandResult::done();
  auto it = commands_.find(words.front());
  if (it == commands_.end()) {
    return CommandResult::rejected("unknown command \"" + words.front() + "\" (try \"help\")");
  }
  return it->second.run(std::vector<std::string>(words.begin() + 1, words.end()));
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

}  // namespace lk::cli

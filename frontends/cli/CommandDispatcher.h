#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace lk::cli {

// What a command did.
struct CommandResult {
  enum class Outcome {
    kDone,      // it ran; the screen is printed after it
    kRejected,  // unknown, malformed or not applicable now: nothing changed
    kQuit,      // the session ends
  };
  Outcome outcome = Outcome::kDone;
  // Printed before the screen (kDone) or as the one-line reason (kRejected). May be empty.
  std::string message;
  // Whether the screen is printed after a command that ran.
  bool showScreen = true;

  static CommandResult done(std::string message = {}) {
    return {Outcome::kDone, std::move(message), true};
  }
  // Output of its own only (help): no screen after it.
  static CommandResult info(std::string text) { return {Outcome::kDone, std::move(text), false}; }
  static CommandResult rejected(std::string reason) {
    return {Outcome::kRejected, std::move(reason), false};
  }
  static CommandResult quit() { return {Outcome::kQuit, {}, false}; }
};

// Commands by name. Each group of commands registers itself (see ShellCommands.h); a new group
// is a new file with one register function.
class CommandDispatcher {
 public:
  using Handler = std::function<CommandResult(const std::vector<std::string>& args)>;

  struct Command {
    std::string name;
    std::string usage;  // e.g. "tab N|TITLE"
    std::string help;   // one line
    Handler run;
  };

  // A command of the same name replaces the earlier one.
  void add(Command command);
  // Runs words[0] with the remaining words as its arguments. An empty line does nothing.
  CommandResult dispatch(const std::vector<std::string>& words) const;
  [[nodiscard]] bool has(const std::string& name) const { return commands_.count(name) != 0; }
  // The command of that name, or null.
  [[nodiscard]] const Command* find(const std::string& name) const {
    auto it = commands_.find(name);
    return it == commands_.end() ? nullptr : &it->second;
  }
  // One line per command: usage and help, in name order.
  [[nodiscard]] std::string helpText() const;

 private:
  std::map<std::string, Command> commands_;
};

}  // namespace lk::cli

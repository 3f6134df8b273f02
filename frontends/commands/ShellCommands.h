#pragma once

namespace lk::cli {

class CommandDispatcher;
class CliSession;

// The application-wide commands: help, dump, tab, background, foreground, wait, city, quit.
void registerShellCommands(CommandDispatcher& dispatcher, CliSession& session);

}  // namespace lk::cli

#pragma once

namespace lk::cli {

class CommandDispatcher;
class CliSession;

// "search KEYWORD [PLACE]": pushes a search results screen on the stack of the selected tab.
void registerSearchCommands(CommandDispatcher& dispatcher, CliSession& session);

}  // namespace lk::cli

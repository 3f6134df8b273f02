#pragma once

namespace lk::cli {

class CommandDispatcher;
class CliSession;

// "search KEYWORD [PLACE]": opens a search results screen from the search tab's home.
void registerSearchCommands(CommandDispatcher& dispatcher, CliSession& session);

}  // namespace lk::cli

#pragma once

namespace lk::cli {

class CliSession;
class CommandDispatcher;

// "mark X Y": drags the marker of the shown position-marking page.
void registerMapCommands(CommandDispatcher& dispatcher, CliSession& session);

}  // namespace lk::cli

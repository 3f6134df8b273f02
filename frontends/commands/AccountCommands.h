#pragma once

namespace lk::cli {

class CommandDispatcher;
class CliSession;

// "account": whether someone is logged in, and the name (never the password or the session).
void registerAccountCommands(CommandDispatcher& dispatcher, CliSession& session);

}  // namespace lk::cli

#pragma once

namespace lk::cli {

class CommandDispatcher;
class CliSession;

// The finger and keyboard commands on whatever screen shows: tap, type, return, pull-up,
// pull-down, alert, pick, done, cancel, back.
void registerScreenCommands(CommandDispatcher& dispatcher, CliSession& session);

}  // namespace lk::cli

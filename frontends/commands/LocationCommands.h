#pragma once

namespace lk::cli {

class CliSession;
class CommandDispatcher;

// "location LAT,LON|denied|unknown|silent": what positioning delivers from now on.
void registerLocationCommands(CommandDispatcher& dispatcher, CliSession& session);

// Positioning as the options say: the position given, or refused when none is.
void applyPositionOption(const CliSession& session);

}  // namespace lk::cli

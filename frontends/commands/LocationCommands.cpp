#include "frontends/commands/LocationCommands.h"

#include <string>
#include <vector>

#include "Platform/Location/LocationSource.h"
#include "frontends/commands/CliOptions.h"
#include "frontends/commands/CliSession.h"
#include "frontends/commands/CommandDispatcher.h"

namespace lk::cli {

namespace {

constexpr const char* kUsage = "usage: location LAT,LON|denied|unknown|silent";

CommandResult location(const std::vector<std::string>& args) {
  if (args.size() != 1) return CommandResult::rejected(kUsage);
  const std::string& what = args[0];
  if (what == "denied") {
    LocationScript::deliverFailure(LocationError::kDenied);
  } else if (what == "unknown") {
    LocationScript::deliverFailure(LocationError::kLocationUnknown);
  } else if (what == "silent") {
    LocationScript::staySilent();
  } else if (auto position = CliOptions::parsePosition(what)) {
    LocationScript::deliverPosition({position->latitude, position->longitude});
  } else {
    return CommandResult::rejected(
        "location wants LAT,LON in degrees (e.g. 39.915,116.404), "
        "denied, unknown or silent (got \"" +
        what + "\")");
  }
  // A source that is updating reports the change at once; others on their next start.
  return CommandResult::done("location: " + LocationScript::describe());
}

}  // namespace

void applyPositionOption(const CliSession& session) {
  if (const auto& position = session.options().position) {
    LocationScript::deliverPosition({position->latitude, position->longitude});
  } else {
    LocationScript::deliverFailure(LocationError::kDenied);
  }
}

void registerLocationCommands(CommandDispatcher& dispatcher, CliSession& /*session*/) {
  dispatcher.add({"location", "location LAT,LON|denied|unknown|silent",
                  "what positioning delivers from now on (a position, refusal, no fix, nothing)",
                  location});
}

}  // namespace lk::cli

#include "frontends/commands/AccountCommands.h"

#include <string>
#include <vector>

#include "Classes/Account/LoginViewController.h"
#include "Classes/LocalState/CacheCenter.h"
#include "frontends/commands/CliSession.h"
#include "frontends/commands/CommandDispatcher.h"

namespace lk::cli {

namespace {

CommandResult account(const std::vector<std::string>& args) {
  if (!args.empty()) return CommandResult::rejected("usage: account");
  const auto& login = LoginViewController::sharedInstance();
  const auto& stored = CacheCenter::sharedInstance().username();
  if (login.isLogin()) {
    const auto& name = login.username() ? login.username() : stored;
    return CommandResult::info("logged in as " + name.value_or("?") + "\n");
  }
  if (stored && !stored->empty()) {
    return CommandResult::info("not logged in (remembered name: " + *stored + ")\n");
  }
  return CommandResult::info("not logged in\n");
}

}  // namespace

void registerAccountCommands(CommandDispatcher& dispatcher, CliSession& /*session*/) {
  dispatcher.add({"account", "account",
                  "tells whether someone is logged in, and the name (read only)", account});
}

}  // namespace lk::cli

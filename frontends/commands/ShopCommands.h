#pragma once

namespace lk::cli {

class CommandDispatcher;
class CliSession;

// "shop ID" opens a shop's screen on the current tab; "send" and "cancel" end a message or mail
// sheet that shows ("cancel" still presses a picker's "取消" when no sheet shows); "device
// [MODEL]" shows or sets the device model.
void registerShopCommands(CommandDispatcher& dispatcher, CliSession& session);

}  // namespace lk::cli

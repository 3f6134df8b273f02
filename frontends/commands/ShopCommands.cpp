#include "frontends/commands/ShopCommands.h"

#include <memory>
#include <string>

#include "Classes/Records/ShopInfo.h"
#include "Classes/Shell/lokavoAppDelegate.h"
#include "Classes/Shop/ShopInfoViewController.h"
#include "Platform/Device/DeviceInfo.h"
#include "Platform/UI/Application.h"
#include "Platform/UI/MailComposeViewController.h"
#include "Platform/UI/MessageComposeViewController.h"
#include "Platform/UI/NavigationController.h"
#include "Platform/UI/TabBarController.h"
#include "Platform/UI/Window.h"
#include "frontends/commands/CliSession.h"
#include "frontends/commands/CommandDispatcher.h"

namespace lk::cli {

namespace {

bool inBackground() {
  return ui::Application::shared().state() == ui::Application::State::kBackground;
}

// The screen presented on top of everything, or null when nothing is presented.
ui::ViewController* topModal() {
  ui::Window* window = ui::Application::shared().keyWindow();
  if (window == nullptr || window->rootViewController() == nullptr) return nullptr;
  ui::ViewController* top = window->rootViewController()->modalViewController();
  while (top != nullptr && top->modalViewController() != nullptr)
    top = top->modalViewController();
  return top;
}

bool allDigits(const std::string& text) {
  if (text.empty() || text.size() > 18) return false;
  for (const char c : text) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

CommandResult shop(CliSession& session, const std::vector<std::string>& args) {
  if (args.size() != 1 || !allDigits(args[0])) return CommandResult::rejected("usage: shop ID");
  if (inBackground()) {
    return CommandResult::rejected("the application is in the background (try \"foreground\")");
  }
  auto& tabs = *session.appDelegate().tabBarController();
  auto* stack = dynamic_cast<ui::NavigationController*>(tabs.selectedViewController());
  if (stack == nullptr) return CommandResult::rejected("the selected tab has no navigation stack");
  if (topModal() != nullptr) return CommandResult::rejected("a modal screen is showing");
  auto record = std::make_shared<ShopInfo>();
  record->setShopId(args[0]);
  auto screen = std::make_shared<ShopInfoViewController>();
  screen->hidesBottomBarWhenPushed = true;
  screen->setShopInfo(std::move(record));
  stack->pushViewController(screen, true);
  return CommandResult::done();
}

// Ends the message or mail sheet on top; nullopt when none shows.
std::optional<CommandResult> endComposeSheet(bool send) {
  ui::ViewController* top = topModal();
  if (auto* sms = dynamic_cast<ui::MessageComposeViewController*>(top)) {
    auto keep = sms->shared_from_this();
    send ? sms->send() : sms->cancel();
    return CommandResult::done();
  }
  if (auto* mail = dynamic_cast<ui::MailComposeViewController*>(top)) {
    auto keep = mail->shared_from_this();
    send ? mail->send() : mail->cancel();
    return CommandResult::done();
  }
  return std::nullopt;
}

}  // namespace

void registerShopCommands(CommandDispatcher& dispatcher, CliSession& session) {
  dispatcher.add(
      {"shop", "shop ID", "opens the shop with id ID on the current tab",
       [&session](const std::vector<std::string>& args) { return shop(session, args); }});
  dispatcher.add({"send", "send", "sends the message or mail sheet that shows",
                  [](const std::vector<std::string>& args) {
                    if (!args.empty()) return CommandResult::rejected("usage: send");
                    if (auto result = endComposeSheet(true)) return *result;
                    return CommandResult::rejected("no message or mail sheet is showing");
                  }});
  // "cancel" ends a compose sheet first, and presses the picker's "取消" otherwise.
  const CommandDispatcher::Command* pickerCancel = dispatcher.find("cancel");
  CommandDispatcher::Handler previous = pickerCancel != nullptr ? pickerCancel->run : nullptr;
  dispatcher.add(
      {"cancel", "cancel",
       "cancels the message or mail sheet that shows, else presses the picker's \"取消\"",
       [previous](const std::vector<std::string>& args) {
         if (!args.empty()) return CommandResult::rejected("usage: cancel");
         if (auto result = endComposeSheet(false)) return *result;
         if (previous) return previous(args);
         return CommandResult::rejected("no sheet or picker is showing");
       }});
  dispatcher.add({"device", "device [MODEL]",
                  "shows or sets the device model (\"iPhone\" calls and sends SMS; others mail)",
                  [](const std::vector<std::string>& args) {
                    if (args.size() > 1) return CommandResult::rejected("usage: device [MODEL]");
                    if (args.size() == 1) DeviceInfo::setModel(args[0]);
                    return CommandResult::info("device model: " + DeviceInfo::model());
                  }});
}

}  // namespace lk::cli

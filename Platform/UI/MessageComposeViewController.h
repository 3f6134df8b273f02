#pragma once

#include <functional>
#include <string>
#include <vector>

#include "Platform/UI/ComposeResult.h"
#include "Platform/UI/ViewController.h"

namespace lk::ui {

class MessageComposeViewController;

// Told how the SMS sheet ended. Optional callback.
class MessageComposeDelegate {
 public:
  MessageComposeDelegate() = default;
  MessageComposeDelegate(const MessageComposeDelegate&) = delete;
  MessageComposeDelegate& operator=(const MessageComposeDelegate&) = delete;
  virtual ~MessageComposeDelegate() = default;
  virtual void messageComposeDidFinish(MessageComposeViewController& /*sheet*/,
                                       ComposeResult /*result*/) {}
};

// The system's SMS sheet, presented modally. The user (a test or front end) sends or cancels.
class MessageComposeViewController : public ViewController {
 public:
  // Whether the device can send text messages (a device fact; tests change it).
  static bool canSendText();
  static void setCanSendTextForTesting(bool can);

  // The delegate must outlive the sheet or be cleared.
  MessageComposeDelegate* messageComposeDelegate = nullptr;
  std::vector<std::string> recipients;
  std::string body;

  // The user's choice; the delegate hears it (it dismisses the sheet).
  void send();
  void cancel();

  void loadView() override;
};

}  // namespace lk::ui

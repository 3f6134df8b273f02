#pragma once

#include <string>
#include <vector>

#include "Platform/UI/ComposeResult.h"
#include "Platform/UI/ViewController.h"

namespace lk::ui {

class MailComposeViewController;

// Told how the mail sheet ended. Optional callback.
class MailComposeDelegate {
 public:
  MailComposeDelegate() = default;
  MailComposeDelegate(const MailComposeDelegate&) = delete;
  MailComposeDelegate& operator=(const MailComposeDelegate&) = delete;
  virtual ~MailComposeDelegate() = default;
  virtual void mailComposeDidFinish(MailComposeViewController& /*sheet*/,
                                    ComposeResult /*result*/) {}
};

// The system's mail sheet, presented modally.
class MailComposeViewController : public ViewController {
 public:
  static bool canSendMail();
  static void setCanSendMailForTesting(bool can);

  // The delegate must outlive the sheet or be cleared.
  MailComposeDelegate* mailComposeDelegate = nullptr;
  std::vector<std::string> toRecipients;
  std::string subject;
  std::string body;
  bool bodyIsHTML = false;

  void send();
  void cancel();

  void loadView() override;
};

}  // namespace lk::ui

#include "Platform/UI/MailComposeViewController.h"

#include "Platform/UI/Label.h"

namespace lk::ui {

namespace {
bool& canSend() {
  static bool value = true;
  return value;
}
}  // namespace

bool MailComposeViewController::canSendMail() {
  return canSend();
}

void MailComposeViewController::setCanSendMailForTesting(bool can) {
  canSend() = can;
}

void MailComposeViewController::send() {
  auto keep = weak_from_this().lock();
  if (mailComposeDelegate != nullptr)
    mailComposeDelegate->mailComposeDidFinish(*this, ComposeResult::kSent);
}

void MailComposeViewController::cancel() {
  auto keep = weak_from_this().lock();
  if (mailComposeDelegate != nullptr)
    mailComposeDelegate->mailComposeDidFinish(*this, ComposeResult::kCancelled);
}

void MailComposeViewController::loadView() {
  ViewController::loadView();
  view()->addSubview(std::make_shared<Label>(Rect{0, 0, 320, 20}, "mail subject: " + subject));
  view()->addSubview(std::make_shared<Label>(Rect{0, 20, 320, 200}, "mail: " + body));
}

}  // namespace lk::ui

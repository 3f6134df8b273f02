#include "Platform/UI/MessageComposeViewController.h"

#include "Platform/UI/Label.h"

namespace lk::ui {

namespace {
bool& canSend() {
  static bool value = true;
  return value;
}
}  // namespace

bool MessageComposeViewController::canSendText() {
  return canSend();
}

void MessageComposeViewController::setCanSendTextForTesting(bool can) {
  canSend() = can;
}

void MessageComposeViewController::send() {
  auto keep = weak_from_this().lock();
  if (messageComposeDelegate != nullptr)
    messageComposeDelegate->messageComposeDidFinish(*this, ComposeResult::kSent);
}

void MessageComposeViewController::cancel() {
  auto keep = weak_from_this().lock();
  if (messageComposeDelegate != nullptr)
    messageComposeDelegate->messageComposeDidFinish(*this, ComposeResult::kCancelled);
}

void MessageComposeViewController::loadView() {
  ViewController::loadView();
  std::string to;
  for (const auto& r : recipients)
    to += (to.empty() ? "" : ", ") + r;
  view()->addSubview(std::make_shared<Label>(Rect{0, 0, 320, 20}, "sms to: " + to));
  view()->addSubview(std::make_shared<Label>(Rect{0, 20, 320, 200}, "sms: " + body));
}

}  // namespace lk::ui

#include "frontends/cli/CliSession.h"

#include <algorithm>
#include <istream>
#include <ostream>

#include "Classes/LocalState/CacheCenter.h"
#include "Classes/Pictures/LKImageCache.h"
#include "Classes/Shell/lokavoAppDelegate.h"
#include "Platform/Net/NetworkActivityIndicator.h"
#include "Platform/RunLoop/DrivableRunLoop.h"
#include "Platform/UI/Application.h"
#include "Platform/UI/TabBarController.h"
#include "frontends/cli/AccountCommands.h"
#include "frontends/cli/CommandLine.h"
#include "frontends/cli/LocationCommands.h"
#include "frontends/cli/ScreenCommands.h"
#include "frontends/cli/SearchCommands.h"
#include "frontends/cli/ShellCommands.h"

namespace lk::cli {

namespace {
// A delayed call due within this is still part of the command that scheduled it.
constexpr Duration kSoon = std::chrono::seconds(1);
constexpr Duration kStep = std::chrono::milliseconds(20);
}  // namespace

CliSession::CliSession(std::ostream& out, CliOptions options)
    : out_(out), options_(std::move(options)), delegate_(std::make_unique<lokavoAppDelegate>()) {
  registerShellCommands(dispatcher_, *this);
  registerScreenCommands(dispatcher_, *this);
  registerSearchCommands(dispatcher_, *this);
  registerAccountCommands(dispatcher_, *this);
  registerLocationCommands(dispatcher_, *this);
}

CliSession::~CliSession() {
  if (application().delegate() == delegate_.get()) application().setDelegate(nullptr);
}

ui::Application& CliSession::application() {
  return ui::Application::shared();
}

void CliSession::start() {
  if (started_) return;
  started_ = true;
  applyPositionOption(*this);
  application().setDelegate(delegate_.get());
  (void)application().launch();
  settle();
}

void CliSession::finish() {
  if (!started_) return;
  application().terminate();
  settle();
}

bool CliSession::execute(std::string_view line) {
  std::string error;
  auto words = CommandLine::split(line, &error);
  if (!words) {
    out_ << "cannot read the command: " << error << "\n";
    return true;
  }
  if (words->empty()) return true;
  CommandResult result = dispatcher_.dispatch(*words);
  switch (result.outcome) {
    case CommandResult::Outcome::kQuit:
      return false;
    case CommandResult::Outcome::kRejected:
      out_ << result.message << "\n";
      return true;
    case CommandResult::Outcome::kDone:
      settle();
      if (!result.message.empty()) {
        out_ << result.message;
        if (result.message.back() != '\n') out_ << "\n";
      }
      if (result.showScreen) printScreen();
      return true;
  }
  return true;
}

void CliSession::run(std::istream& in, bool echo, const char* prompt) {
  std::string line;
  for (;;) {
    if (prompt != nullptr) out_ << prompt << std::flush;
    if (!std::getline(in, line)) break;
    if (echo) {
      auto words = CommandLine::split(line);
      if (words && words->empty()) continue;  // blank or comment
      out_ << "\n> " << line << "\n";
    }
    if (!execute(line)) break;
    out_ << std::flush;
  }
  if (prompt != nullptr) out_ << "\n";
}

std::string CliSession::startupState() const {
  std::string text;
  auto city = CacheCenter::sharedInstance().currentCity();
  text +=
      "city: " +
      (city ? city->nameText() + " (" + std::to_string(city->id()) + ")" : std::string("none")) +
      "\n";
  const auto& tbc = delegate_->tabBarController();
  std::string tabs;
  for (const auto& vc : tbc->viewControllers()) {
    if (!tabs.empty()) tabs += " | ";
    tabs += vc->tabBarItem().title;
  }
  text += "tabs: " + tabs + "\n";
  auto* selected = tbc->selectedViewController();
  text += "selected: " + (selected != nullptr ? selected->tabBarItem().title : "none") + "\n";
  return text;
}

void CliSession::printScreen() {
  out_ << application().dumpScreen();
}

void CliSession::settle() {
  DrivableRunLoop& loop = DrivableRunLoop::main();
  const TimePoint deadline = loop.now() + settleBound_;
  for (;;) {
    loop.runUntilIdle();
    const TimePoint now = loop.now();
    const auto next = loop.nextTimer();
    const bool busy = NetworkActivityIndicator::isVisible() || LKImageCache::hasPendingDiskJobs() ||
                      (next.has_value() && *next <= now + kSoon);
    if (!busy || now >= deadline) return;
    loop.runFor(std::min<Duration>(kStep, deadline - now));
  }
}

}  // namespace lk::cli

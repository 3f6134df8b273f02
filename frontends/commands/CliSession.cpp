#include "frontends/commands/CliSession.h"

#include <algorithm>
#include <istream>
#include <ostream>

#include "Classes/LocalState/CacheCenter.h"
#include "Classes/Pictures/LKImageCache.h"
#include "Classes/Shell/lokavoAppDelegate.h"
#include "Platform/Device/DeviceInfo.h"
#include "Platform/Net/NetworkActivityIndicator.h"
#include "Platform/RunLoop/DrivableRunLoop.h"
#include "Platform/UI/Application.h"
#include "Platform/UI/DumpWriter.h"
#include "Platform/UI/TabBarController.h"
#include "frontends/commands/AccountCommands.h"
#include "frontends/commands/CommandLine.h"
#include "frontends/commands/LocationCommands.h"
#include "frontends/commands/MapCommands.h"
#include "frontends/commands/ScreenCommands.h"
#include "frontends/commands/SearchCommands.h"
#include "frontends/commands/ShellCommands.h"
#include "frontends/commands/ShopCommands.h"

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
  registerShopCommands(dispatcher_, *this);
  registerAccountCommands(dispatcher_, *this);
  registerLocationCommands(dispatcher_, *this);
  registerMapCommands(dispatcher_, *this);
}

CliSession::~CliSession() {
  if (application().delegate() == delegate_.get()) application().setDelegate(nullptr);
  if (started_) {
    application().setURLOpener(nullptr);
    application().setAnnouncer(nullptr);
  }
}

ui::Application& CliSession::application() {
  return ui::Application::shared();
}

void CliSession::start() {
  if (started_) return;
  started_ = true;
  if (!options_.deviceModel.empty()) DeviceInfo::setModel(options_.deviceModel);
  applyPositionOption(*this);
  application().setDelegate(delegate_.get());
  // What the client hands to the system (a call, a web page) is printed, and counts as opened.
  application().setURLOpener([this](const std::string& url) {
    out_ << "opened: " << url << "\n";
    return true;
  });
  // A status the screen shows only for a moment is gone before the screen is printed.
  application().setAnnouncer([this](const std::string& text) {
    out_ << "briefly shown: " << ui::DumpWriter::visible(text) << "\n";
  });
  (void)application().launch();
  settle();
}

void CliSession::finish() {
  if (!started_) return;
  application().terminate();
  settle();
}

namespace {

// Each line of a message passed through the dump's escaping: a message may quote service text,
// and only the front end's own line breaks separate lines.
void printMessage(std::ostream& out, const std::string& message) {
  std::size_t start = 0;
  while (start < message.size()) {
    std::size_t end = message.find('\n', start);
    if (end == std::string::npos) end = message.size();
    out << ui::DumpWriter::visible(std::string_view(message).substr(start, end - start)) << "\n";
    start = end + 1;
  }
}

}  // namespace

bool CliSession::execute(std::string_view line) {
  interrupted_ = false;
  std::string error;
  auto words = CommandLine::split(line, &error);
  if (!words) {
    ++failedCommands_;
    printMessage(out_, "cannot read the command: " + error);
    return true;
  }
  if (words->empty()) return true;
  CommandResult result = dispatcher_.dispatch(*words);
  switch (result.outcome) {
    case CommandResult::Outcome::kQuit:
      return false;
    case CommandResult::Outcome::kRejected:
      ++failedCommands_;
      printMessage(out_, result.message);
      return true;
    case CommandResult::Outcome::kDone:
      if (!interrupted_) settle();
      if (interrupted_) {
        // The client goes on with what it was doing, as when a person looks away.
        out_ << "stopped waiting (the client goes on; \"dump\" shows the screen)\n";
        return true;
      }
      printMessage(out_, result.message);
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
      out_ << "\n> " << ui::DumpWriter::visible(line) << "\n";
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
      (city ? ui::DumpWriter::visible(city->nameText()) + " (" + std::to_string(city->id()) + ")"
            : std::string("none")) +
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

CliSession::WaitEnd CliSession::settle() {
  return runLoopUntil(
      [this] {
        DrivableRunLoop& loop = DrivableRunLoop::main();
        const auto next = loop.nextTimer();
        // A request the person stopped waiting for does not hold later commands either; once
        // the network has gone quiet, every request counts again.
        const bool network = NetworkActivityIndicator::isVisible();
        if (!network) ignoreNetwork_ = false;
        return (!network || ignoreNetwork_) && !LKImageCache::hasPendingDiskJobs() &&
               !(next.has_value() && *next <= loop.now() + kSoon);
      },
      settleBound_);
}

CliSession::WaitEnd CliSession::runLoopUntil(const std::function<bool()>& done, Duration bound) {
  DrivableRunLoop& loop = DrivableRunLoop::main();
  const TimePoint deadline = loop.now() + bound;
  // When the network became busy; the epoch while it is not (plain value: gcc misreads an
  // optional time point here as maybe uninitialised).
  TimePoint busySince{};
  bool busy = false;
  WaitEnd end = WaitEnd::kBound;
  for (;;) {
    loop.runUntilIdle();
    const TimePoint now = loop.now();
    if (done()) {
      end = WaitEnd::kDone;
      break;
    }
    if (now >= deadline) break;
    if (waitObserver_ != nullptr) {
      if (waitObserver_->takeInterrupt()) {
        interrupted_ = true;
        ignoreNetwork_ = NetworkActivityIndicator::isVisible();
        end = WaitEnd::kInterrupted;
        break;
      }
      if (NetworkActivityIndicator::isVisible() && !ignoreNetwork_) {
        if (!busy) {
          busy = true;
          busySince = now;
        }
        waitObserver_->networkBusy(now - busySince);
      } else {
        busy = false;
      }
    }
    loop.runFor(std::min<Duration>(kStep, deadline - now));
  }
  if (waitObserver_ != nullptr) waitObserver_->waitEnded();
  return end;
}

}  // namespace lk::cli

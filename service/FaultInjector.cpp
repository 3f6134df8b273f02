#include "service/FaultInjector.h"

#include <fstream>
#include <sstream>

#include "service/FormFields.h"

namespace lk::service {

std::optional<FaultInjector::Rule> FaultInjector::parseRule(const std::string& line,
                                                            std::string* error) {
  auto fail = [&](const std::string& why) -> std::optional<Rule> {
    if (error) *error = why + ": " + line;
    return std::nullopt;
  };
  std::istringstream in(line);
  Rule rule;
  std::string kind;
  if (!(in >> rule.prefix >> kind) || rule.prefix.empty() || rule.prefix[0] != '/') {
    return fail("expected PATH-PREFIX KIND");
  }
  const auto eq = kind.find('=');
  const std::string name = kind.substr(0, eq);
  const std::string value = eq == std::string::npos ? "" : kind.substr(eq + 1);
  auto number = [&](const std::string& text) { return FormFields::parseInteger(text); };
  if (name == "delay") {
    const auto ms = number(value);
    if (!ms || *ms < 0 || *ms > 600000) return fail("delay needs milliseconds");
    rule.kind = Kind::Delay;
    rule.value = static_cast<int>(*ms);
  } else if (name == "status") {
    const auto code = number(value);
    if (!code || *code < 100 || *code > 599) return fail("status needs a code from 100 to 599");
    rule.kind = Kind::Status;
    rule.value = static_cast<int>(*code);
  } else if (name == "drop") {
    rule.kind = Kind::Drop;
  } else if (name == "truncate") {
    rule.kind = Kind::Truncate;
  } else if (name == "corrupt") {
    rule.kind = Kind::Corrupt;
  } else if (name == "notjson") {
    rule.kind = Kind::NotJson;
  } else {
    return fail("unknown fault kind");
  }
  std::string extra;
  while (in >> extra) {
    if (extra.rfind("times=", 0) == 0) {
      const auto n = number(extra.substr(6));
      if (!n || *n < 1) return fail("times needs a positive count");
      rule.remaining = static_cast<int>(*n);
    } else {
      return fail("unexpected word '" + extra + "'");
    }
  }
  return rule;
}

void FaultInjector::addRule(Rule rule) {
  std::lock_guard guard(mutex_);
  fixed_.push_back(std::move(rule));
}

void FaultInjector::setRulesFile(std::filesystem::path file) {
  std::lock_guard guard(mutex_);
  file_ = std::move(file);
  fileTime_.reset();
}

void FaultInjector::reloadIfChanged() {
  if (file_.empty()) return;
  std::error_code ec;
  const auto time = std::filesystem::last_write_time(file_, ec);
  const auto size = ec ? 0 : std::filesystem::file_size(file_, ec);
  if (ec) {
    fromFile_.clear();
    fileTime_.reset();
    return;
  }
  if (fileTime_ && *fileTime_ == time && fileSize_ == size) return;
  fileTime_ = time;
  fileSize_ = size;
  fromFile_.clear();
  std::ifstream in(file_);
  std::string line;
  while (std::getline(in, line)) {
    const auto first = line.find_first_not_of(" \t\r");
    if (first == std::string::npos || line[first] == '#') continue;
    if (auto rule = parseRule(line.substr(first))) fromFile_.push_back(std::move(*rule));
  }
}

FaultInjector::Faults FaultInjector::match(const std::string& path) {
  std::lock_guard guard(mutex_);
  reloadIfChanged();
  Faults faults;
  for (auto* rules : {&fixed_, &fromFile_}) {
    for (auto& rule : *rules) {
      if (rule.remaining == 0 || path.rfind(rule.prefix, 0) != 0) continue;
      if (rule.remaining > 0) --rule.remaining;
      switch (rule.kind) {
        case Kind::Delay:
          faults.delayMs += rule.value;
          break;
        case Kind::Drop:
          faults.drop = true;
          break;
        case Kind::Status:
          faults.status = rule.value;
          break;
        case Kind::Truncate:
          faults.truncate = true;
          break;
        case Kind::Corrupt:
          faults.corrupt = true;
          break;
        case Kind::NotJson:
          faults.notJson = true;
          break;
      }
    }
  }
  return faults;
}

}  // namespace lk::service

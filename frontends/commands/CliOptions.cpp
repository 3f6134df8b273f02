#include "frontends/commands/CliOptions.h"

#include <cctype>
#include <charconv>
#include <cmath>

namespace lk::cli {

namespace {

std::optional<double> number(std::string_view text) {
  while (!text.empty() && text.front() == ' ')
    text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ')
    text.remove_suffix(1);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  double d = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), d);
  if (ec != std::errc() || end != text.data() + text.size() || !std::isfinite(d)) {
    return std::nullopt;
  }
  return d;
}

bool isHostCharacter(char c) {
  return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '-' || c == '.' || c == '_';
}

// "host", "host:port", "[v6]" or "[v6]:port".
bool isAuthority(std::string_view text) {
  std::string_view host = text;
  std::string_view port;
  if (text.starts_with('[')) {
    const auto close = text.find(']');
    if (close == std::string_view::npos || close == 1) return false;
    for (char c : text.substr(1, close - 1)) {
      if (std::isxdigit(static_cast<unsigned char>(c)) == 0 && c != ':' && c != '.') return false;
    }
    host = text.substr(0, close + 1);
    const auto rest = text.substr(close + 1);
    if (!rest.empty() && !rest.starts_with(':')) return false;
    if (!rest.empty()) port = rest.substr(1);
    if (!rest.empty() && port.empty()) return false;
  } else {
    const auto colon = text.find(':');
    if (colon != std::string_view::npos) {
      host = text.substr(0, colon);
      port = text.substr(colon + 1);
      if (port.empty()) return false;
    }
    if (host.empty()) return false;
    for (char c : host) {
      if (!isHostCharacter(c)) return false;
    }
  }
  if (port.empty()) return true;
  if (port.size() > 5) return false;
  int number = 0;
  auto [end, ec] = std::from_chars(port.data(), port.data() + port.size(), number);
  return ec == std::errc() && end == port.data() + port.size() && number >= 1 && number <= 65535;
}

}  // namespace

std::optional<std::string> CliOptions::serviceURLProblem(const std::string& url) {
  const auto scheme = url.find("://");
  std::string name = scheme == std::string::npos ? std::string() : url.substr(0, scheme);
  for (char& c : name)
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (name != "http" && name != "https") return "is not an http or https URL";
  for (unsigned char c : url) {
    if (c <= ' ' || c == 0x7f) return "contains spaces or control characters";
    if (c == '?' || c == '#') return "has a query or fragment (requests append their own)";
  }
  const std::string rest = url.substr(scheme + 3);
  const std::string authority = rest.substr(0, rest.find('/'));
  if (authority.empty()) return "has no host";
  if (!isAuthority(authority)) return "has no valid host[:port]";
  return std::nullopt;
}

const char* CliOptions::usage() {
  return "usage: lokavo [--service-url URL] [--data-dir DIR] [--cache-dir DIR]\n"
         "              [--script FILE|-] [--keep-going] [--position LAT,LON] [--log FILE|-]\n"
         "              [--device-model MODEL]\n"
         "Reads commands one per line (\"help\" lists them) from the script, from standard\n"
         "input when it is not a terminal, or else at a prompt with line editing. A script\n"
         "ends with status 1 when a command did not apply (after running the rest), unless\n"
         "--keep-going. Debug lines go to lokavo.log in the data directory, or to --log FILE\n"
         "(\"-\" for standard error).\n";
}

std::optional<CliOptions::Position> CliOptions::parsePosition(const std::string& text) {
  const auto comma = text.find(',');
  if (comma == std::string::npos) return std::nullopt;
  auto lat = number(std::string_view(text).substr(0, comma));
  auto lon = number(std::string_view(text).substr(comma + 1));
  if (!lat || !lon || *lat < -90 || *lat > 90 || *lon < -180 || *lon > 180) return std::nullopt;
  return Position{*lat, *lon};
}

std::optional<CliOptions> CliOptions::parse(const std::vector<std::string>& args,
                                            std::string* error) {
  CliOptions options;
  const auto fail = [&](std::string message) -> std::optional<CliOptions> {
    if (error != nullptr) *error = std::move(message);
    return std::nullopt;
  };
  for (std::size_t i = 0; i < args.size(); ++i) {
    std::string name = args[i];
    std::optional<std::string> inlineValue;
    if (auto eq = name.find('='); name.rfind("--", 0) == 0 && eq != std::string::npos) {
      inlineValue = name.substr(eq + 1);
      name.resize(eq);
    }
    if (name == "--help" || name == "-h") {
      options.help = true;
      continue;
    }
    if (name == "--keep-going") {
      if (inlineValue) return fail("--keep-going takes no value");
      options.keepGoing = true;
      continue;
    }
    std::string* target = nullptr;
    if (name == "--service-url") target = &options.serviceURL;
    if (name == "--data-dir") target = &options.dataDir;
    if (name == "--cache-dir") target = &options.cacheDir;
    if (name == "--script") target = &options.script;
    if (name == "--log") target = &options.logFile;
    if (name == "--device-model") target = &options.deviceModel;
    std::string positionText;
    if (name == "--position") target = &positionText;
    if (target == nullptr) return fail("unknown option \"" + args[i] + "\"");

    if (inlineValue) {
      *target = *inlineValue;
    } else if (i + 1 < args.size()) {
      *target = args[++i];
    } else {
      return fail(name + " needs a value");
    }
    if (target->empty()) return fail(name + " needs a value");
    if (target == &positionText) {
      options.position = parsePosition(positionText);
      if (!options.position) {
        return fail("--position wants LAT,LON in degrees, e.g. 39.9,116.4 (got \"" + positionText +
                    "\")");
      }
    }
  }
  return options;
}

}  // namespace lk::cli

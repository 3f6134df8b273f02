#include "frontends/cli/CliOptions.h"

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

}  // namespace

const char* CliOptions::usage() {
  return "usage: lokavo [--service-url URL] [--data-dir DIR] [--cache-dir DIR]\n"
         "              [--script FILE|-] [--position LAT,LON] [--log FILE]\n"
         "              [--device-model MODEL]\n"
         "Reads commands one per line (\"help\" lists them) from the script, or from the\n"
         "terminal; without either it prints the start-up state.\n";
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

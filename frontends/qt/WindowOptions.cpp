#include "frontends/qt/WindowOptions.h"

#include <charconv>

namespace lk::qt {

std::optional<WindowOptions> WindowOptions::parse(const std::vector<std::string>& args,
                                                  std::string* error) {
  WindowOptions options;
  std::vector<std::string> rest;
  auto fail = [&](std::string message) -> std::optional<WindowOptions> {
    if (error != nullptr) *error = std::move(message);
    return std::nullopt;
  };
  for (std::size_t i = 0; i < args.size(); ++i) {
    std::string name = args[i];
    std::optional<std::string> value;
    if (auto eq = name.find('='); name.rfind("--", 0) == 0 && eq != std::string::npos) {
      value = name.substr(eq + 1);
      name.resize(eq);
    }
    auto take = [&]() -> std::optional<std::string> {
      if (value) return value;
      if (i + 1 < args.size()) return args[++i];
      return std::nullopt;
    };
    if (name == "--scale") {
      auto text = take();
      if (!text) return fail("--scale wants a factor, e.g. 2");
      double scale = 0;
      auto [end, ec] = std::from_chars(text->data(), text->data() + text->size(), scale);
      if (ec != std::errc() || end != text->data() + text->size() || scale < 0.5 || scale > 6)
        return fail("--scale wants a factor from 0.5 to 6 (got \"" + *text + "\")");
      options.scale = scale;
    } else if (name == "--screenshots") {
      auto dir = take();
      if (!dir || dir->empty()) return fail("--screenshots wants a directory");
      options.screenshots = *dir;
    } else if (name == "--strict-pictures") {
      if (value) return fail("--strict-pictures takes no value");
      options.strictPictures = true;
    } else if (name == "--quit-after-first-frame") {
      if (value) return fail("--quit-after-first-frame takes no value");
      options.quitAfterFirstFrame = true;
    } else {
      rest.push_back(args[i]);
    }
  }
  auto client = cli::CliOptions::parse(rest, error);
  if (!client) return std::nullopt;
  options.client = std::move(*client);
  if (!options.screenshots.empty() && options.client.script.empty())
    return fail("--screenshots needs --script FILE");
  return options;
}

std::string WindowOptions::usage() {
  std::string text = cli::CliOptions::usage();
  if (text.rfind("usage: lokavo ", 0) == 0) text.replace(0, 14, "usage: lokavo-qt ");
  return text +
         "\nWindow options:\n"
         "  --scale FACTOR       pixels a point of the 320 x 480 screen (default 2)\n"
         "  --screenshots DIR    with --script: play the script and write DIR/NNN-command.png\n"
         "                       after each command (no display needed: "
         "QT_QPA_PLATFORM=offscreen)\n"
         "  --strict-pictures    with --screenshots: a missing picture or a blank screen fails\n"
         "  --quit-after-first-frame  print \"first frame\" once the window painted, and quit\n";
}

}  // namespace lk::qt

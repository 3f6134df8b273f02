#pragma once

#include <optional>
#include <string>
#include <vector>

#include "frontends/commands/CliOptions.h"

namespace lk::qt {

// The command line of "lokavo-qt": the options of "lokavo", plus the window's own.
struct WindowOptions {
  cli::CliOptions client;
  double scale = 2;         // --scale FACTOR: pixels a point (0.5 to 6)
  std::string screenshots;  // --screenshots DIR: with --script, a PNG after each command
  // --strict-pictures: a missing picture or a blank screen fails the screenshot run
  bool strictPictures = false;
  // --quit-after-first-frame: print "first frame" once the window painted and quit (start-up
  // timing)
  bool quitAfterFirstFrame = false;

  [[nodiscard]] static std::optional<WindowOptions> parse(const std::vector<std::string>& args,
                                                          std::string* error);
  [[nodiscard]] static std::string usage();
};

}  // namespace lk::qt

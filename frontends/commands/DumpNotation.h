#pragma once

namespace lk::cli {

// What "help" says about the printed screen, below the list of commands.
[[nodiscard]] const char* dumpNotationHelp();

}  // namespace lk::cli

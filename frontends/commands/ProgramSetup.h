#pragma once

#include <optional>

#include "frontends/commands/CliOptions.h"

namespace lk::cli {

// What every front end does with its options before the client starts: the service URL (from
// the options or LOKAVO_SERVICE_URL), the data and cache directories, where the debug lines go.
// Problems are said on standard error with `program` as prefix; returns the exit status to stop
// with, or nothing to go on.
[[nodiscard]] std::optional<int> applyProgramOptions(const CliOptions& options,
                                                     const char* program);

}  // namespace lk::cli

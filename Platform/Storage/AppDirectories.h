#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace lk {

// Where the client keeps its files. Each directory comes from, in order: the front end's option
// (setDataDirectory / setCacheDirectory), the environment ("LOKAVO_DATA_DIR", "LOKAVO_CACHE_DIR"),
// else "$XDG_DATA_HOME/lokavo" and "$XDG_CACHE_HOME/lokavo", falling back to
// "$HOME/.local/share/lokavo" and "$HOME/.cache/lokavo" when those are unset or not absolute.
class AppDirectories {
 public:
  // The directories as chosen now. They are not created here.
  [[nodiscard]] static std::filesystem::path dataDirectory();
  [[nodiscard]] static std::filesystem::path cacheDirectory();

  // Creates the directory (and its parents, owner-only) when missing. Returns false, with the
  // reason in `error`, when it cannot be created.
  [[nodiscard]] static bool ensureDirectory(const std::filesystem::path& dir,
                                            std::string* error = nullptr);

  // Creates the directory when missing and checks that a file can be written in it (one is
  // created and removed). Returns false, with the reason in `error`, when the client could not
  // keep its files there.
  [[nodiscard]] static bool checkWritable(const std::filesystem::path& dir,
                                          std::string* error = nullptr);

  // Overrides from a front end's options (or a test). An empty path restores the default.
  static void setDataDirectory(const std::filesystem::path& dir);
  static void setCacheDirectory(const std::filesystem::path& dir);
};

}  // namespace lk

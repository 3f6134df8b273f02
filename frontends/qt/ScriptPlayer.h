#pragma once

#include <filesystem>
#include <iosfwd>
#include <set>
#include <string>
#include <vector>

#include "frontends/qt/PictureStore.h"

namespace lk::cli {
class CliSession;
}

namespace lk::qt {

// Plays a script of the command language in a session and writes the screen as a PNG after
// each command (and one of the screen before the first), named "NNN-words.png".
class ScriptPlayer {
 public:
  ScriptPlayer(cli::CliSession& session, std::filesystem::path directory, double scale);

  // Plays until "quit" or the end. Returns false when a picture could not be written.
  bool play(std::istream& script);

  [[nodiscard]] const std::vector<std::filesystem::path>& written() const { return written_; }
  // Screens with nothing painted below the status bar, by file.
  [[nodiscard]] const std::vector<std::filesystem::path>& blankScreens() const { return blank_; }
  [[nodiscard]] const std::vector<std::string>& missingPictures() const {
    return pictures_.missingNames();
  }

  // "NNN-words.png" for a command line: its Latin letters and digits, the rest dropped.
  [[nodiscard]] static std::string fileName(int index, const std::string& line);

 private:
  bool shoot(const std::string& line);

  cli::CliSession& session_;
  std::filesystem::path directory_;
  double scale_;
  PictureStore pictures_;
  int index_ = 0;
  std::vector<std::filesystem::path> written_;
  std::vector<std::filesystem::path> blank_;
};

}  // namespace lk::qt

#include "frontends/qt/ScriptPlayer.h"

#include <cstdio>
#include <istream>
#include <ostream>

#include "Platform/UI/DumpWriter.h"
#include "frontends/commands/CliSession.h"
#include "frontends/commands/CommandLine.h"
#include "frontends/qt/ScreenRenderer.h"

namespace lk::qt {

namespace {
// The status bar, which is always painted, in points.
constexpr int kStatusBar = 20;
}  // namespace

ScriptPlayer::ScriptPlayer(cli::CliSession& session, std::filesystem::path directory, double scale)
    : session_(session), directory_(std::move(directory)), scale_(scale) {}

std::string ScriptPlayer::fileName(int index, const std::string& line) {
  char number[16];
  std::snprintf(number, sizeof number, "%03d", index);
  std::string words;
  bool gap = false;
  for (char c : line) {
    const bool keep = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
    if (!keep) {
      gap = !words.empty();
      continue;
    }
    if (gap) words += '-';
    gap = false;
    if (words.size() < 40) words += c;
  }
  return std::string(number) + (words.empty() ? "" : "-" + words) + ".png";
}

bool ScriptPlayer::shoot(const std::string& line) {
  const QImage image = renderScreen(pictures_, scale_);
  const auto path = directory_ / fileName(index_++, line);
  if (isBlank(image, static_cast<int>(kStatusBar * scale_))) blank_.push_back(path);
  if (!image.save(QString::fromStdString(path.string()), "PNG")) return false;
  written_.push_back(path);
  return true;
}

bool ScriptPlayer::play(std::istream& script) {
  std::error_code ec;
  std::filesystem::create_directories(directory_, ec);
  if (!shoot("start")) return false;
  std::string line;
  auto& out = session_.out();
  while (std::getline(script, line)) {
    auto words = cli::CommandLine::split(line);
    if (words && words->empty()) continue;  // blank or comment
    out << "\n> " << ui::DumpWriter::visible(line) << "\n";
    const bool goOn = session_.execute(line);
    out << std::flush;
    if (!goOn) break;
    if (!shoot(line)) return false;
  }
  return true;
}

}  // namespace lk::qt

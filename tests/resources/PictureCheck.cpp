#include "tests/resources/PictureCheck.h"

#include <fstream>
#include <sstream>

#include "Platform/Image/ImageCodec.h"
#include "Platform/Resources/AppResources.h"

namespace lk::test {

namespace {

constexpr int kScreenWidth = 320;
constexpr int kScreenHeight = 480;
constexpr std::string_view kGenerator = "scripts/make-pictures.py";

std::string withoutExtension(std::string name) {
  if (name.ends_with(".png")) name.resize(name.size() - 4);
  return name;
}

std::string replaceNumber(std::string pattern, int number) {
  for (auto at = pattern.find("%d"); at != std::string::npos; at = pattern.find("%d", at)) {
    pattern.replace(at, 2, std::to_string(number));
  }
  return pattern;
}

std::optional<Image> decodeFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  if (!in) return std::nullopt;
  return ImageCodec::decode(bytes.str());
}

std::string where(const std::vector<ImageNameScanner::Site>& sites) {
  return sites.empty() ? std::string()
                       : sites.front().file + ":" + std::to_string(sites.front().line);
}

void checkOne(const std::string& name, const std::string& usedAt, PictureProblems& problems) {
  const auto plain = AppResources::pathForImage(name, 1);
  const auto sharp = AppResources::pathForImage(name, 2);
  if (!plain || !sharp || sharp == plain) {
    problems.missing.push_back(withoutExtension(name) + " (" + usedAt + ")");
    return;
  }
  const auto one = decodeFile(*plain);
  const auto two = decodeFile(*sharp);
  if (!one || !two) {
    problems.unreadable.push_back(name + ": does not decode");
  } else if (one->width() < 1 || one->height() < 1 || one->width() > kScreenWidth ||
             one->height() > kScreenHeight) {
    problems.unreadable.push_back(name + ": " + std::to_string(one->width()) + "x" +
                                  std::to_string(one->height()) + " points");
  } else if (two->width() != 2 * one->width() || two->height() != 2 * one->height()) {
    problems.unreadable.push_back(name + ": the 2x picture is not twice the 1x one");
  }
}

}  // namespace

PictureProblems checkPictures(
    const std::map<std::string, std::vector<ImageNameScanner::Site>>& names,
    const NumberedNames& numbers) {
  PictureProblems problems;
  for (const auto& [name, sites] : names) {
    if (name.find('%') == std::string::npos) {
      checkOne(name, where(sites), problems);
      continue;
    }
    const auto known = numbers.find(name);
    if (known == numbers.end() || known->second.empty()) {
      problems.unknownPatterns.push_back(name + " (" + where(sites) + ")");
      continue;
    }
    for (const int number : known->second)
      checkOne(replaceNumber(name, number), where(sites), problems);
  }
  return problems;
}

std::string describe(const PictureProblems& problems) {
  std::ostringstream out;
  if (!problems.missing.empty()) {
    out << "Pictures the code names but Resources/ lacks (1x or @2x):\n";
    std::string names;
    for (const auto& line : problems.missing) {
      out << "  " << line << "\n";
      names += " " + line.substr(0, line.find(' '));
    }
    out << "Add a drawing for each to " << kGenerator << " and run:\n  " << kGenerator << names
        << "\n";
  }
  if (!problems.unreadable.empty()) {
    out << "Pictures that are not sound PNGs of a sensible size:\n";
    for (const auto& line : problems.unreadable)
      out << "  " << line << "\n";
    out << "Run " << kGenerator << " to draw them again.\n";
  }
  if (!problems.unknownPatterns.empty()) {
    out << "Numbered picture names whose numbers the test does not know:\n";
    for (const auto& line : problems.unknownPatterns)
      out << "  " << line << "\n";
    out << "List their numbers in tests/resources/ShippedPicturesTest.cpp.\n";
  }
  return out.str();
}

}  // namespace lk::test

#pragma once

#include <map>
#include <string>
#include <vector>

#include "tests/resources/ImageNameScanner.h"

namespace lk::test {

// The numbers a "%d" pattern of picture names takes ("userlevel_%d" -> 0...10).
using NumberedNames = std::map<std::string, std::vector<int>>;

// What is wrong with the pictures of the application's resource directory for the names given.
struct PictureProblems {
  std::vector<std::string> missing;          // no "<name>.png" or no "<name>@2x.png"
  std::vector<std::string> unreadable;       // a file that does not decode, or of a wrong size
  std::vector<std::string> unknownPatterns;  // a "%d" pattern without its numbers
  [[nodiscard]] bool empty() const {
    return missing.empty() && unreadable.empty() && unknownPatterns.empty();
  }
};

// Every name (patterns expanded) must have a 1x and a 2x PNG that decode, the 2x one exactly
// twice as large, the 1x one no larger than the screen.
[[nodiscard]] PictureProblems checkPictures(
    const std::map<std::string, std::vector<ImageNameScanner::Site>>& names,
    const NumberedNames& numbers);

// A failure message naming what is missing and how to make it.
[[nodiscard]] std::string describe(const PictureProblems& problems);

}  // namespace lk::test

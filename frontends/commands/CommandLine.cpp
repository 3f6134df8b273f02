#include "frontends/commands/CommandLine.h"

namespace lk::cli {

std::optional<std::vector<std::string>> CommandLine::split(std::string_view line,
                                                           std::string* error) {
  std::vector<std::string> words;
  std::string word;
  bool inWord = false;
  char quote = 0;
  for (std::size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (quote != 0) {
      if (c == quote) {
        quote = 0;
      } else if (c == '\\' && quote == '"' && i + 1 < line.size()) {
        word += line[++i];
      } else {
        word += c;
      }
      continue;
    }
    if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
      if (inWord) words.push_back(std::move(word));
      word.clear();
      inWord = false;
    } else if (c == '#' && !inWord) {
      break;
    } else if (c == '"' || c == '\'') {
      quote = c;
      inWord = true;
    } else if (c == '\\') {
      if (i + 1 == line.size()) {
        if (error != nullptr) *error = "the line ends in a backslash";
        return std::nullopt;
      }
      word += line[++i];
      inWord = true;
    } else {
      word += c;
      inWord = true;
    }
  }
  if (quote != 0) {
    if (error != nullptr) *error = std::string("a ") + quote + " quote is not closed";
    return std::nullopt;
  }
  if (inWord) words.push_back(std::move(word));
  return words;
}

}  // namespace lk::cli

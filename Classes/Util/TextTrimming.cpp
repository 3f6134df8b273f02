#include "Classes/Util/TextTrimming.h"

#include <cctype>

namespace lk {

namespace {

constexpr std::string_view kIdeographicSpace = "\u3000";

bool isAsciiSpace(char c) {
  return std::isspace(static_cast<unsigned char>(c)) != 0;
}

}  // namespace

std::string trimmedText(std::string_view text) {
  for (;;) {
    if (!text.empty() && isAsciiSpace(text.front())) {
      text.remove_prefix(1);
    } else if (text.starts_with(kIdeographicSpace)) {
      text.remove_prefix(kIdeographicSpace.size());
    } else {
      break;
    }
  }
  for (;;) {
    if (!text.empty() && isAsciiSpace(text.back())) {
      text.remove_suffix(1);
    } else if (text.ends_with(kIdeographicSpace)) {
      text.remove_suffix(kIdeographicSpace.size());
    } else {
      break;
    }
  }
  return std::string(text);
}

}  // namespace lk

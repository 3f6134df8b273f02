#pragma once

#include <string>

#include "Platform/UI/Image.h"

namespace lk::ui {

// A screen's entry in the tab bar.
struct TabBarItem {
  std::string title;
  Image image;
  int tag = 0;
  std::string badgeValue;
};

}  // namespace lk::ui

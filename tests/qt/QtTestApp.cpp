#include "tests/qt/QtTestApp.h"

#include <cstdlib>
#include <memory>

namespace lk::test {

QApplication& qtApplication() {
  static int argc = 1;
  static char name[] = "test_qt";
  static char* argv[] = {name, nullptr};
  static std::unique_ptr<QApplication> app = [] {
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) qputenv("QT_QPA_PLATFORM", "offscreen");
    return std::make_unique<QApplication>(argc, argv);
  }();
  return *app;
}

}  // namespace lk::test

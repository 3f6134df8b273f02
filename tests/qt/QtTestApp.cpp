#include "tests/qt/QtTestApp.h"

#include <QInputDevice>
#include <cstdlib>
#include <memory>

namespace lk::test {

QApplication& qtApplication() {
  static int argc = 1;
  static char name[] = "test_qt";
  static char* argv[] = {name, nullptr};
  static std::unique_ptr<QApplication> app = [] {
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) qputenv("QT_QPA_PLATFORM", "offscreen");
    // Qt's device registry must outlive the application: a test's synthetic key event makes a
    // default keyboard, a child of the application, that leaves the registry when destroyed.
    (void)QInputDevice::devices();
    return std::make_unique<QApplication>(argc, argv);
  }();
  return *app;
}

}  // namespace lk::test

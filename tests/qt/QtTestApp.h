#pragma once

// The Qt application object the window tests paint and post events with, on the offscreen
// platform unless the environment names another. Made once for the whole test binary.
#include <QApplication>

namespace lk::test {

QApplication& qtApplication();

}  // namespace lk::test

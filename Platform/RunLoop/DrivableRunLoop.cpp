#include "Platform/RunLoop/DrivableRunLoop.h"

#include <cstdio>
#include <cstdlib>

namespace lk {

namespace {
DrivableRunLoop* gDrivable = nullptr;
}  // namespace

DrivableRunLoop& DrivableRunLoop::main() {
  if (gDrivable == nullptr || &RunLoop::main() != gDrivable) {
    std::fprintf(stderr, "the main run loop is not a drivable loop installed by its driver\n");
    std::abort();
  }
  return *gDrivable;
}

DrivableRunLoop* DrivableRunLoop::setMain(DrivableRunLoop* loop) {
  DrivableRunLoop* previous = gDrivable;
  gDrivable = loop;
  RunLoop::setMain(loop);
  return previous;
}

}  // namespace lk

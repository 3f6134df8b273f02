// The Qt backend against the run-loop contract the poll backend also passes.
#include "tests/qt/QtTestApp.h"
#include "tests/support/contract/RunLoopContract.h"

namespace lk::test {

INSTANTIATE_TEST_SUITE_P(Qt, RunLoopContract,
                         ::testing::Values(RunLoopBackend{"Qt",
                                                          [] {
                                                            qtApplication();
                                                            return makeQtRunLoop();
                                                          }}),
                         backendName);

}  // namespace lk::test

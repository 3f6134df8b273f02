// The poll backend against the run-loop contract (its virtual clock is tested in RunLoopTest).
#include "tests/support/contract/RunLoopContract.h"

namespace lk::test {

INSTANTIATE_TEST_SUITE_P(Poll, RunLoopContract,
                         ::testing::Values(RunLoopBackend{"Poll",
                                                          [] { return makePollRunLoop(); }}),
                         backendName);

}  // namespace lk::test

#pragma once

namespace lk {

// The states of the pull-to-load views; the numbers are the stored values.
enum LKPullState : int {
  kLKPullPulling = 0,  // released now, it would load
  kLKPullNormal = 1,   // initial
  kLKPullLoading = 2,
};

}  // namespace lk

#pragma once

// The behaviour every run-loop backend owes the client, as one suite of tests. A test binary
// runs it against a backend with INSTANTIATE_TEST_SUITE_P(Name, RunLoopContract,
// ::testing::Values(RunLoopBackend{...})) and adds RunLoopContract.cpp to its sources.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <ostream>
#include <string>

#include "Platform/RunLoop/DrivableRunLoop.h"

namespace lk::test {

struct RunLoopBackend {
  std::string name;
  std::function<std::unique_ptr<DrivableRunLoop>()> make;  // a real-clock loop
};

// Test listings name the backend rather than dumping the parameter's bytes.
inline void PrintTo(const RunLoopBackend& backend, std::ostream* os) {
  *os << backend.name;
}

class RunLoopContract : public ::testing::TestWithParam<RunLoopBackend> {
 protected:
  void SetUp() override;
  void TearDown() override;
  DrivableRunLoop& loop() { return *loop_; }

 private:
  std::unique_ptr<DrivableRunLoop> loop_;
  DrivableRunLoop* previous_ = nullptr;
};

// For the names of instantiated tests.
std::string backendName(const ::testing::TestParamInfo<RunLoopBackend>& info);

}  // namespace lk::test

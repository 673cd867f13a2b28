// The fault sweep: an operation of several steps (writes, a raised time-out, an acquire, an
// execute-and-wait) is run once to learn its steps, then once per step on a fresh simulated camera
// with that step failing. Each run must return the step's code, leave the time-out at 10000 ms and
// the tree released, and send nothing after the failure but the steps that put things back.
// Outputs are the caller's to check: `run` is called with a flag that says whether the run is a
// faulted one.
//
// Header-only: the programs that include it link the client libraries.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "common/sim_fixtures.h"

namespace testutil {

struct SweepOptions {
  // The simulated camera's address.
  const char* address = "sim";
  // Set-up on each fresh camera before the run (its traffic is not part of the sweep).
  std::function<void(void* handle)> prepare;
  // The operation may go on after a failed step (readings that report what failed and carry
  // on); then only the result and the restored state are checked.
  bool stopsAtFailure = true;
  // Steps on these paths or features are optional to the operation: failing one must not fail
  // it (the run returns 0), and it may go on after them.
  std::function<bool(const std::string& where)> tolerated;
};

// Property tree. Steps that only put things back (the time-out set back to 10000 ms, a release)
// are not failed: nothing can be done about their failure. A failed raise of the time-out is
// not the operation's failure either, so that step only checks the restored state.
inline void SweepPTree(const std::function<u32(void* handle, bool faulted)>& run,
                       const SweepOptions& options = {}, u32 code = 165) {
  std::vector<sim::ptree::Access> steps;
  {
    PTreeCamera camera(options.address);
    if (options.prepare) options.prepare(camera.handle());
    camera.camera().ClearTraffic();
    ASSERT_EQ(run(camera.handle(), false), 0u) << "the operation fails without a fault";
    steps = camera.camera().Traffic();
  }
  ASSERT_FALSE(steps.empty());
  for (std::size_t i = 0; i < steps.size(); ++i) {
    const sim::ptree::Access& step = steps[i];
    const bool restoring =
        step.kind == "release" || (step.kind == "timeout" && step.value == "10000");
    if (restoring) continue;
    SCOPED_TRACE("step " + std::to_string(i) + ": " + step.kind + " " + step.path);
    PTreeCamera camera(options.address);
    if (options.prepare) options.prepare(camera.handle());
    camera.camera().ClearTraffic();
    camera.camera().FailCall(i, code);
    const u32 result = run(camera.handle(), true);
    const bool optional = options.tolerated && options.tolerated(step.path);
    if (step.kind != "timeout") {
      EXPECT_EQ(result, optional ? 0u : code);
    }
    EXPECT_EQ(camera.camera().Timeout(), 10000u);
    EXPECT_EQ(camera.camera().AcquireDepth(), 0u);
    if (options.stopsAtFailure && !optional && step.kind != "timeout") {
      const std::vector<sim::ptree::Access> traffic = camera.camera().Traffic();
      for (std::size_t k = i + 1; k < traffic.size(); ++k) {
        EXPECT_TRUE(traffic[k].kind == "timeout" || traffic[k].kind == "release")
            << "sent after the failure: " << traffic[k].kind << " " << traffic[k].path;
      }
    }
  }
}

// GenICam. Each access in turn throws `fault` (a run-time error by default, which is not
// retried: 165). Lookups and availability queries are not failed: a feature that cannot be
// looked up counts as absent where an operation asks whether it is there, and the access that
// follows is failed in its own step. Completion queries are not failed either: the wait
// tolerates 40 of their errors.
inline void SweepGenICam(const std::function<u32(void* handle, bool faulted)>& run,
                         const SweepOptions& options = {},
                         sim::genicam::Fault fault = sim::genicam::Fault::RuntimeError,
                         u32 code = 165) {
  std::vector<sim::genicam::Access> steps;
  {
    GicCamera camera(options.address);
    if (options.prepare) options.prepare(camera.handle());
    camera.device().ClearLog();
    ASSERT_EQ(run(camera.handle(), false), 0u) << "the operation fails without a fault";
    steps = camera.device().Log();
  }
  ASSERT_FALSE(steps.empty());
  for (std::size_t i = 0; i < steps.size(); ++i) {
    const sim::genicam::Access& step = steps[i];
    if (step.access == "lookup" || step.access == "available" || step.access == "isDone") continue;
    SCOPED_TRACE("step " + std::to_string(i) + ": " + step.access + " " + step.feature);
    GicCamera camera(options.address);
    if (options.prepare) options.prepare(camera.handle());
    camera.device().ClearLog();
    camera.device().InjectFault(sim::genicam::FaultAtStep(steps, i, fault));
    const bool optional = options.tolerated && options.tolerated(step.feature);
    EXPECT_EQ(run(camera.handle(), true), optional ? 0u : code);
    if (options.stopsAtFailure && !optional) {
      const std::vector<sim::genicam::Access> log = camera.device().Log();
      for (std::size_t k = i + 1; k < log.size(); ++k)
        ADD_FAILURE() << "accessed after the failure: " << log[k].access << " " << log[k].feature;
    }
  }
}

}  // namespace testutil

// Read hooks of the simulated GenICam device: a value that follows the device's time is brought
// up to date before a host reads it.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "gic_fixture.h"

using gictest::Camera;
using sim::genicam::Device;
using namespace zel::cam::gic;

TEST(GicReadHooks, RunBeforeAHostReadsTheValueAndNotForOtherAccesses) {
  Camera camera;
  int runs = 0;
  // The hook gives the counter a new value each time: the host reads that value.
  const int id = camera.sim->OnRead("Counter", [&](Device& device, const std::string& feature) {
    ++runs;
    device.SetInt(feature, 2 * runs);
  });
  auto counter = camera.Get<IInteger>("Counter");
  EXPECT_EQ(counter->GetValue(), 2);
  EXPECT_EQ(counter->GetValue(), 4);
  EXPECT_EQ(runs, 2);
  // Writes, limits, availability and the test's own reads do not run it.
  counter->SetValue(8);
  counter->GetMax();
  counter->IsAvailable();
  camera.sim->GetInt("Counter");
  EXPECT_EQ(runs, 2);
  camera.sim->RemoveHook(id);
  counter->GetValue();
  EXPECT_EQ(runs, 2);
}

TEST(GicReadHooks, WhatAHookThrowsReachesTheReader) {
  Camera camera;
  camera.sim->OnRead("Label",
                     [](Device&, const std::string&) { throw std::runtime_error("not ready"); });
  EXPECT_THROW(camera.Get<IString>("Label")->GetValue(), std::runtime_error);
  EXPECT_EQ(camera.sim->Log().back().error, "not ready");
}
